// The seven skills: how a hit is dealt and answered, and what each acting skill does.
#pragma once

#include <cstdint>

#include "battle/match_context.h"
#include "roster/chara.h"

namespace pelmora {

// One hit: the defender's first ready reaction may answer it first; then the damage line, and
// the match is over when the defender is at 0 HP or below. Attacker and defender may be the same.
void DealDamage(TMatchContext& match, TChara& attacker, TChara& defender, std::int32_t amount,
                bool allowRetaliation, std::int32_t depth);

// Lets the defender's first ready 霧壁, or 報復 where allowed, answer a hit of amount.
void TryReactions(TMatchContext& match, TChara& defender, TChara& attacker, std::int32_t& amount,
                  bool allowRetaliation, std::int32_t depth);

// 霧壁: halves the hit.
void ReactMistWall(TMatchContext& match, TChara& owner, TSkill& slot, std::int32_t& amount, std::int32_t depth);

// 報復: lessens the hit by 3 and strikes back for 1 before the hit lands.
void ReactRetaliation(TMatchContext& match, TChara& owner, TChara& attacker, TSkill& slot, std::int32_t& amount,
                      std::int32_t depth);

void ActBlast(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot);
void ActSlash(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot);
void ActSword(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot);

// 空圧: the opponent's first ready slot is used up for the rest of the turn.
void ActAirPressure(TMatchContext& match, TChara& user, TChara& opponent, TSkill& slot);

// 楽園: back to full HP, once a match. The caller checks that HP is below half.
void ActParadise(TMatchContext& match, TChara& user, TSkill& slot);

}  // namespace pelmora
