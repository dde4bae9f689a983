// The signature run: the hundred-character roster through the run button's command in the
// working directory. check_signature.cmake starts it and compares the digests of the two files
// it leaves with the committed ones, so that any change to what a run writes is deliberate.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/message_box.h"
#include "roster/roster_loader.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/run.h"

int main() {
  using namespace pelmora;
  std::ofstream(std::filesystem::path(kRosterFileName), std::ios::binary)
      << testing::HundredCharacterRosterFile();
  std::vector<std::string> shown;
  SetMessageBoxPresenter([&shown](std::string_view text) { shown.emplace_back(text); });
  RunFromRosterFile();
  return shown == std::vector<std::string>{std::string(kClosingMessage)} ? EXIT_SUCCESS : EXIT_FAILURE;
}
