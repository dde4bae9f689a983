// Test characters from roster lines.
#include "tests/support/roster_builder.h"

#include <gtest/gtest.h>

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

}  // namespace pelmora::testing
