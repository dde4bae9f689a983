// The ranking section and its exchange sort.
#include "tournament/ranking.h"

#include <array>
#include <utility>

#include "common/checked.h"
#include "common/sjis_literal.h"
#include "common/text.h"
#include "roster/chara.h"
#include "tournament/roster_list.h"

namespace pelmora {

namespace {

constexpr std::int32_t kNumberAndSpaceWidth = 3;  // "01 " in front of the name

// The exchange sort puts the most wins first. It is not stable: among equal wins the order is
// whatever the exchanges leave, and the report shows exactly that order.
std::array<std::int32_t, kRosterCapacity> RankOrder() {
  std::array<std::int32_t, kRosterCapacity> order{};
  for (std::int32_t p = 0; p < RosterCount; ++p) order.at(static_cast<std::size_t>(p)) = p;
  for (std::int32_t a = 0; a + 1 < RosterCount; ++a) {
    for (std::int32_t b = a + 1; b < RosterCount; ++b) {
      std::int32_t& first = order.at(static_cast<std::size_t>(a));
      std::int32_t& second = order.at(static_cast<std::size_t>(b));
      if (RosterAt(first).Wins < RosterAt(second).Wins) std::swap(first, second);
    }
  }
  return order;
}

}  // namespace

void WriteRanking(TLineWriter& out) {
  out << "勝数順："_sj;
  out.EndLine();
  std::array<std::int32_t, kRosterCapacity> order = RankOrder();
  for (std::int32_t p = 0; p < RosterCount; ++p) {
    std::int32_t k = order.at(static_cast<std::size_t>(p));
    const TChara& chara = RosterAt(k);
    out << PadLeft2Zero(CheckedAdd(k, 1)) << " " << chara.Name;
    out.PadRight(CheckedAdd(NameColumnWidth, kNumberAndSpaceWidth));
    out << "："_sj;
    for (std::int32_t mark = 0; mark < chara.Stamina; ++mark) out << "■"_sj;
    for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) out << FirstSjisChar(chara.Skill(slot).Name);
    out << "："_sj << PadLeft2Space(chara.Wins) << "勝"_sj;
    out.EndLine();
  }
  out.EndLine();
}

}  // namespace pelmora
