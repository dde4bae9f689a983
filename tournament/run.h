// A whole run: what one click of the run button does.
#pragma once

#include <string_view>

#include "common/sjis_literal.h"

namespace pelmora {

// The message that ends a run, once both files are complete.
inline constexpr std::string_view kClosingMessage =
    "「pelm_result.txt」および「pelm_battle.txt」を出力しました。"_sj;

// After a successful load: opens both files, writes the three report sections with the round
// robin between the first and the second, closes both files and says so in a message box.
// An error stops the run where it happens; the files it opened are closed, not completed.
void RunSimulation();

// The run button's command: seeds the generator, loads the roster and, when that succeeded,
// runs the simulation.
void RunFromRosterFile();

}  // namespace pelmora
