// The signature run: a hundred characters through the run button's command, both output files
// compared with committed SHA-256 digests, so that any change to what a run writes is deliberate.
#include <gtest/gtest.h>

#include <string>

#include "tests/support/message_recorder.h"
#include "tests/support/sha256.h"
#include "tests/support/work_dir.h"
#include "tests/tournament/hundred_roster.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {
namespace {

using testing::ReadFileBytes;
using testing::Sha256Hex;

// Both files as of the last deliberate change to the output (or to the roster in
// hundred_roster.cpp); a run that differs prints the digests of what it wrote.
constexpr const char* kResultDigest = "ab45aac4adfaca768b93d907601faf62b03aa11aee1978ce2b64325f45efcddc";
constexpr const char* kBattleLogDigest = "5c0a2c76598d343cfe187a49e7b6791a4b16e3337e7e334ae4b4e263b1211819";

TEST(Sha256, StandardTestVectors) {
  struct TVector {
    std::string Message;
    const char* Digest;
  };
  const TVector vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'), "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const TVector& vector : vectors) {
    EXPECT_EQ(Sha256Hex(vector.Message), vector.Digest) << "message of " << vector.Message.size() << " bytes";
  }
}

TEST(Signature, HundredCharacterRun) {
  testing::TScopedWorkDir dir;
  testing::TMessageRecorder messages;
  testing::WriteFileBytes(testing::RosterFileName(), testing::HundredCharacterRosterFile());
  RunFromRosterFile();
  ASSERT_EQ(messages.Texts().size(), 1u) << "the run did not finish";
  std::string resultDigest = Sha256Hex(ReadFileBytes(kResultFileName));
  std::string battleLogDigest = Sha256Hex(ReadFileBytes(kBattleLogFileName));
  EXPECT_TRUE(resultDigest == kResultDigest && battleLogDigest == kBattleLogDigest)
      << "The output of the hundred-character run has changed. If the change is deliberate, check the new\n"
      << "files by eye and put their digests into tests/tournament/signature_test.cpp:\n"
      << "  constexpr const char* kResultDigest = \"" << resultDigest << "\";\n"
      << "  constexpr const char* kBattleLogDigest = \"" << battleLogDigest << "\";\n";
}

}  // namespace
}  // namespace pelmora
