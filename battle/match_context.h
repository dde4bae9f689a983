// What every step of one match shares: the battle log it narrates into and the flag that stops
// all action once a character is down.
#pragma once

#include "common/line_writer.h"

namespace pelmora {

struct TMatchContext {
  TLineWriter& Log;
  bool MatchOver = false;  // set by a hit that brings a character to 0 HP or below
};

}  // namespace pelmora
