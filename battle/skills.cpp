// The skills and the way a hit travels through the defender's reactions.
#include "battle/skills.h"

#include <string_view>

#include "battle/indent.h"
#include "common/checked.h"
#include "common/sjis_literal.h"

namespace pelmora {

namespace {

constexpr std::int32_t kBlastDamage = 1;
constexpr std::int32_t kSlashDamage = 3;
constexpr std::int32_t kSwordDamage = 5;
constexpr std::int32_t kSwordSelfDamage = 2;
constexpr std::int32_t kRetaliationReduction = 3;
constexpr std::int32_t kStrikeBackDamage = 1;
constexpr std::int32_t kAttackDepth = 2;

void Attack(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot, std::string_view announcement,
            std::int32_t amount, bool allowRetaliation) {
  slot.UsedThisTurn = true;
  match.Log << "・"_sj << user.Name << announcement;
  match.Log.EndLine();
  DealDamage(match, user, opponent, amount, allowRetaliation, kAttackDepth);
}

TSkill* FirstReadySlot(TChara& chara) {
  for (std::int32_t slot = 0; slot < chara.SkillCount; ++slot) {
    if (chara.Skill(slot).Ready()) return &chara.Skill(slot);
  }
  return nullptr;
}

}  // namespace

void DealDamage(TMatchContext& match, TChara& attacker, TChara& defender, std::int32_t amount,
                bool allowRetaliation, std::int32_t depth) {
  TryReactions(match, defender, attacker, amount, allowRetaliation, depth);
  // A strike-back that ended the match lands before the hit it answered, which is dropped.
  if (match.MatchOver) return;
  std::int32_t hpAfter = CheckedSub(defender.HP, amount);
  match.Log << ArrowIndent(depth) << defender.Name << "に"_sj << amount << "ダメージ（HP："_sj << defender.HP
            << "⇒"_sj << hpAfter << "）"_sj;
  match.Log.EndLine();
  defender.HP = hpAfter;
  if (defender.HP <= 0) match.MatchOver = true;
  match.Log.EndLine();
}

void TryReactions(TMatchContext& match, TChara& defender, TChara& attacker, std::int32_t& amount,
                  bool allowRetaliation, std::int32_t depth) {
  for (std::int32_t index = 0; index < defender.SkillCount; ++index) {
    TSkill& slot = defender.Skill(index);
    if (!slot.Ready()) continue;
    if (slot.Name == kMistWallSkill) {
      ReactMistWall(match, defender, slot, amount, depth);
      return;
    }
    if (slot.Name == kRetaliationSkill && allowRetaliation) {
      ReactRetaliation(match, defender, attacker, slot, amount, depth);
      return;
    }
  }
}

void ReactMistWall(TMatchContext& match, TChara& owner, TSkill& slot, std::int32_t& amount, std::int32_t depth) {
  slot.UsedThisTurn = true;
  match.Log << DotIndent(depth) << owner.Name << "は霧壁を展開。"_sj;
  match.Log.EndLine();
  std::int32_t halved = amount / 2;  // hits are never negative, so this rounds down
  match.Log << ArrowIndent(depth + 1) << "ダメージ軽減（"_sj << amount << "⇒"_sj << halved << "）"_sj;
  match.Log.EndLine();
  amount = halved;
  match.Log.EndLine();
}

void ReactRetaliation(TMatchContext& match, TChara& owner, TChara& attacker, TSkill& slot, std::int32_t& amount,
                      std::int32_t depth) {
  slot.UsedThisTurn = true;
  match.Log << DotIndent(depth) << owner.Name << "は報復で迎撃。"_sj;
  match.Log.EndLine();
  std::int32_t reduced = CheckedSub(amount, kRetaliationReduction);
  if (reduced < 0) reduced = 0;
  match.Log << ArrowIndent(depth + 1) << "ダメージ軽減（"_sj << amount << "⇒"_sj << reduced << "）"_sj;
  match.Log.EndLine();
  amount = reduced;
  // The attacker is now the one hit: its 霧壁 may halve the strike-back, its 報復 may not answer.
  DealDamage(match, owner, attacker, kStrikeBackDamage, false, depth + 1);
}

void ActBlast(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot) {
  Attack(match, user, opponent, slot, "は炸撃を繰り出した。"_sj, kBlastDamage, false);
}

void ActSlash(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot) {
  Attack(match, user, opponent, slot, "は斬撃を繰り出した。"_sj, kSlashDamage, true);
}

void ActSword(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot) {
  Attack(match, user, opponent, slot, "はイ剣を繰り出した。"_sj, kSwordDamage, true);
  // The sword hurts its user too, unless the first hit already decided the match.
  if (!match.MatchOver) DealDamage(match, user, user, kSwordSelfDamage, true, kAttackDepth);
}

void ActAirPressure(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot) {
  slot.UsedThisTurn = true;
  match.Log << "・"_sj << user.Name << "は空圧を放った。"_sj;
  match.Log.EndLine();
  if (TSkill* target = FirstReadySlot(opponent)) {
    match.Log << "  ＞"_sj << opponent.Name << "の"_sj << target->Name << "を使用済にした。"_sj;
    target->UsedThisTurn = true;
  } else {
    match.Log << "  ＞スカ"_sj;
  }
  match.Log.EndLine();
  match.Log.EndLine();
}

void ActParadise(TMatchContext& match, TChara& user, TSkill& slot) {
  slot.UsedThisTurn = true;
  slot.Spent = true;
  match.Log << "・"_sj << user.Name << "は楽園を自らに施した。"_sj;
  match.Log.EndLine();
  match.Log << "  ＞"_sj << user.Name << "のHPが全快した。（"_sj << user.HP << "⇒"_sj << user.MaxHP << "）"_sj;
  match.Log.EndLine();
  user.HP = user.MaxHP;
  match.Log.EndLine();
}

}  // namespace pelmora
