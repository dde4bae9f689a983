// Writes the generated roster of a number of characters into a file, saved as Shift_JIS or, with
// --utf-8, as its UTF-8 twin: the page's end-to-end tests hand it to the browser.
//
//   write_roster COUNT FILE [--utf-8]
#include <cstdlib>
#include <fstream>
#include <string>
#include <string_view>

#include "bench/roster_generator.h"
#include "common/cp932_to_utf8.h"

int main(int argc, char* argv[]) {
  if (argc < 3) return EXIT_FAILURE;
  std::string roster = pelmora::GenerateRosterFile(std::atoi(argv[1]));
  if (argc > 3 && std::string_view(argv[3]) == "--utf-8") roster = pelmora::Cp932ToUtf8(roster);
  std::ofstream out(argv[2], std::ios::binary);
  out << roster;
  return out.good() ? EXIT_SUCCESS : EXIT_FAILURE;
}
