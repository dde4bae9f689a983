// The roster table and the operations that clear, reset and summarise a character.
#include "roster/chara.h"

#include "common/text.h"

namespace pelmora {

std::array<TChara, kRosterCapacity> Roster;
std::int32_t RosterCount = 0;

TChara& RosterAt(std::int32_t position) { return Roster.at(static_cast<std::size_t>(position)); }

void ClearChara(TChara& chara) {
  chara.Name.clear();
  chara.Stamina = 0;
  chara.HP = 0;
  chara.MaxHP = 0;
  chara.SkillCount = 0;
  chara.Wins = 0;
  chara.Losses = 0;
  for (std::string& result : chara.Results) result.clear();
}

void ResetForMatch(TChara& chara) {
  chara.HP = chara.MaxHP;
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    chara.Skill(slot).UsedThisTurn = false;
    chara.Skill(slot).Spent = false;
  }
}

void ResetForTurn(TChara& chara) {
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) chara.Skill(slot).UsedThisTurn = false;
}

namespace {

// Builds a summary into a std::string with the writer's three ways of appending.
class TStringAppender {
 public:
  explicit TStringAppender(std::string& text) : text_(text) {}
  TStringAppender& operator<<(std::string_view piece) {
    text_ += piece;
    return *this;
  }
  TStringAppender& Spaces(std::size_t n) {
    text_.append(n, ' ');
    return *this;
  }
  TStringAppender& PadLeft2(std::int32_t n, char fill) {
    text_ += fill == '0' ? PadLeft2Zero(n) : PadLeft2Space(n);
    return *this;
  }

 private:
  std::string& text_;
};

// The summary's fixed pieces are constants, not literals in the template below: clang 14 does
// not evaluate a _sj literal inside a function template and leaves a call that cannot be linked.
constexpr std::string_view kHpLabel = "：HP"_sj;
constexpr std::string_view kMaxHpSeparator = "／"_sj;
constexpr std::string_view kSkillSeparator = "、"_sj;

template <class TOut>
void BuildCharaSummary(TOut& out, const TChara& chara, std::int32_t width) {
  out << chara.Name;
  std::int32_t nameLength = ByteLength(chara.Name);
  if (width > nameLength) out.Spaces(static_cast<std::size_t>(width - nameLength));
  out << kHpLabel;
  out.PadLeft2(chara.HP, ' ');
  out << kMaxHpSeparator;
  out.PadLeft2(chara.MaxHP, ' ');
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    const TSkill& skill = chara.Skill(slot);
    if (!skill.Spent) out << kSkillSeparator << skill.Name;
  }
}

}  // namespace

std::string CharaSummary(const TChara& chara, std::int32_t width) {
  std::string summary;
  TStringAppender appender(summary);
  BuildCharaSummary(appender, chara, width);
  return summary;
}

void WriteCharaSummary(TLineWriter& out, const TChara& chara, std::int32_t width) {
  BuildCharaSummary(out, chara, width);
}

}  // namespace pelmora
