// The character record, its skill slots, the skill table and the roster table.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/line_writer.h"
#include "common/sjis_literal.h"

namespace pelmora {

inline constexpr std::size_t kSkillSlotCount = 10;
inline constexpr std::size_t kRosterCapacity = 100;

// One skill slot. It is ready to act or react when neither flag is set.
struct TSkill {
  std::string Name;           // a full name from the skill table; empty when never filled
  bool UsedThisTurn = false;  // acted or reacted this turn, or blocked by the opponent's 空圧
  bool Spent = false;         // cannot act again this match (only 楽園 sets it)

  bool Ready() const { return !UsedThisTurn && !Spent; }
};

// One character. Indexes into Skills and Results are checked (std::array::at).
struct TChara {
  std::string Name;
  std::int32_t Stamina = 0;
  std::int32_t HP = 0;
  std::int32_t MaxHP = 0;
  std::array<TSkill, kSkillSlotCount> Skills;
  std::int32_t SkillCount = 0;
  std::int32_t Wins = 0;
  std::int32_t Losses = 0;
  std::array<std::string, kRosterCapacity> Results;  // "○", "×" or "－" against each position

  TSkill& Skill(std::int32_t slot) { return Skills.at(static_cast<std::size_t>(slot)); }
  const TSkill& Skill(std::int32_t slot) const { return Skills.at(static_cast<std::size_t>(slot)); }
  std::string& Result(std::int32_t position) { return Results.at(static_cast<std::size_t>(position)); }
  const std::string& Result(std::int32_t position) const {
    return Results.at(static_cast<std::size_t>(position));
  }
};

// The seven skills' full names; the battle engine tells skills apart by these.
inline constexpr std::string_view kBlastSkill = "炸撃"_sj;
inline constexpr std::string_view kSlashSkill = "斬撃"_sj;
inline constexpr std::string_view kSwordSkill = "イ剣"_sj;
inline constexpr std::string_view kRetaliationSkill = "報復"_sj;
inline constexpr std::string_view kMistWallSkill = "霧壁"_sj;
inline constexpr std::string_view kParadiseSkill = "楽園"_sj;
inline constexpr std::string_view kAirPressureSkill = "空圧"_sj;

// Every full name is two double-byte characters long.
inline constexpr std::size_t kSkillNameLength = 4;
static_assert(kBlastSkill.size() == kSkillNameLength && kSlashSkill.size() == kSkillNameLength &&
              kSwordSkill.size() == kSkillNameLength && kRetaliationSkill.size() == kSkillNameLength &&
              kMistWallSkill.size() == kSkillNameLength && kParadiseSkill.size() == kSkillNameLength &&
              kAirPressureSkill.size() == kSkillNameLength);

struct TSkillTableEntry {
  std::string_view Letter;  // the roster file's one-character code, the first character of Name
  std::string_view Name;
};

inline constexpr std::array<TSkillTableEntry, 7> kSkillTable = {{
    {"炸"_sj, kBlastSkill},
    {"斬"_sj, kSlashSkill},
    {"イ"_sj, kSwordSkill},
    {"報"_sj, kRetaliationSkill},
    {"霧"_sj, kMistWallSkill},
    {"楽"_sj, kParadiseSkill},
    {"空"_sj, kAirPressureSkill},
}};

// The roster: the first RosterCount records are in use; the rest keep what an earlier load left.
extern std::array<TChara, kRosterCapacity> Roster;
extern std::int32_t RosterCount;

// The record at a roster position, checked against the table's bounds.
TChara& RosterAt(std::int32_t position);

// Empties a record before the parser fills it; the skill slots are left as they are.
void ClearChara(TChara& chara);

// Full health and every slot ready again, after a match.
void ResetForMatch(TChara& chara);

// Every slot that is not spent ready again, after a turn.
void ResetForTurn(TChara& chara);

// Appends the one-line summary to the line being written: the name padded to width bytes,
// "：HP", HP, "／", MaxHP, then "、" and the name of every slot that is not spent.
void CharaSummary(TLineWriter& out, const TChara& chara, std::int32_t width);

// Appends "、" and the name of every slot that is not spent, as the summary ends.
void AppendReadySkills(TLineWriter& out, const TChara& chara);

}  // namespace pelmora
