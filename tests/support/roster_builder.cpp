// Test characters from roster lines.
#include "tests/support/roster_builder.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"

namespace pelmora::testing {

TChara MakeChara(std::string_view line) {
  TMessageRecorder recorder;
  TChara chara;
  EXPECT_TRUE(ParseCharaLine(chara, line)) << "rejected roster line: " << Readable(line);
  return chara;
}

void SetRoster(std::initializer_list<std::string_view> lines) {
  RosterCount = 0;
  for (std::string_view line : lines) RosterAt(RosterCount++) = MakeChara(line);
}

void SetRoster(std::string_view roster) {
  RosterCount = 0;
  for (std::size_t start = 0, end; start < roster.size(); start = end + 1) {
    end = std::min(roster.find('\n', start), roster.size());
    RosterAt(RosterCount++) = MakeChara(roster.substr(start, end - start));
  }
}

}  // namespace pelmora::testing
