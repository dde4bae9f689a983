// What every step of one match shares: the battle log it narrates into and the flag that stops
// all action once a character is down.
#pragma once

#include <string>

#include "common/line_writer.h"

namespace pelmora {

struct TMatchContext {
  explicit TMatchContext(TLineWriter& log) : Log(log) {}

  TLineWriter& Log;
  bool MatchOver = false;  // set by a hit that brings a character to 0 HP or below

  // The two lines of an initiative roll or a roll-off, built side by side; kept here so that
  // their storage serves every turn of the match.
  std::string LineA;
  std::string LineB;
};

}  // namespace pelmora
