// The roster file on Windows, found by its Japanese name where the ANSI code page has no Japanese:
// the name reaches the system as UTF-16, never through the code page.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "roster/chara.h"
#include "roster/roster_loader.h"
#include "tests/support/message_recorder.h"
#include "tests/support/sjis_compare.h"
#include "tests/support/three_characters.h"
#include "tests/support/work_dir.h"

namespace pelmora {
namespace {

constexpr UINT kJapaneseCodePage = 932;

// The names in the working directory, as the system spells them.
std::vector<std::wstring> NamesHere() {
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW(L"*", &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do {
    std::wstring name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(name);
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  return names;
}

TEST(RosterFile, FoundByItsJapaneseNameOnAnEnglishSystem) {
  ASSERT_NE(::GetACP(), kJapaneseCodePage) << "run it with an English locale (LC_ALL=C.UTF-8)";
  testing::TScopedWorkDir dir;
  testing::WriteFileBytes(kRosterFileName, testing::WithCrLf(testing::kThreeCharacterRoster));
  ASSERT_EQ(NamesHere(), std::vector<std::wstring>{L"キャラクター.txt"});
  testing::TMessageRecorder messages;
  EXPECT_TRUE(LoadRoster());
  EXPECT_TRUE(messages.Texts().empty());
  ASSERT_EQ(RosterCount, 3);
  EXPECT_SJIS_EQ("魔法使い"_sj, RosterAt(2).Name);
}

}  // namespace
}  // namespace pelmora
