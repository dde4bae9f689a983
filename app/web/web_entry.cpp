// The page's one door into the core: a roster's bytes in; the boxes' texts and the two files'
// bytes out. The core runs as the run button runs it, in a working directory of its own in the
// module's memory, so its files are read and written through the same calls as on a desktop.
#include "app/web/web_entry.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/cp932_to_utf8.h"
#include "common/message_box.h"
#include "roster/roster_loader.h"
#include "tournament/output_files.h"
#include "tournament/run.h"

namespace pelmora {

namespace {

constexpr const char* kWorkDir = "/pelmora";

struct TWebBox {
  std::string Text;  // UTF-8, for the page to show
  bool IsError;
};

struct TWebRun {
  std::vector<TWebBox> Boxes;
  bool FilesWritten = false;
  std::string Files[kWebFileCount];
};

TWebRun LastRun;

// Every run starts in the same empty folder: the roster given (or none), and no file of a run
// before, so that only what this run wrote comes back out.
void PrepareWorkDir(const char* roster, int size) {
  std::filesystem::create_directories(kWorkDir);
  if (::chdir(kWorkDir) != 0) throw std::system_error(errno, std::generic_category(), kWorkDir);
  for (const char* name : {kResultFileName, kBattleLogFileName}) std::filesystem::remove(name);
  const std::filesystem::path rosterName(kRosterFileName);
  std::filesystem::remove(rosterName);
  if (size >= 0) std::ofstream(rosterName, std::ios::binary).write(roster, size);
}

std::string TakeFile(const char* name) {
  std::string bytes;
  {
    std::ifstream in(name, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::filesystem::remove(name);
  return bytes;
}

// The error box of the desktop windows, for an error that stops the run.
void RecordError(std::string_view message) {
  LastRun.Boxes.push_back({Cp932ToUtf8(ErrorBoxText(message)), true});
}

}  // namespace

}  // namespace pelmora

using namespace pelmora;

extern "C" {

int PelmoraRun(const char* roster, int size) {
  LastRun = TWebRun{};
  TMessageBoxPresenter before = SetMessageBoxPresenter(
      [](std::string_view text) { LastRun.Boxes.push_back({Cp932ToUtf8(text), false}); });
  try {
    PrepareWorkDir(roster, size);
    RunFromRosterFile();
    // Both files are complete exactly when the run has said so in its last box.
    LastRun.FilesWritten = !LastRun.Boxes.empty() && LastRun.Boxes.back().Text == Cp932ToUtf8(kClosingMessage);
  } catch (const std::exception& error) {
    RecordError(error.what());
  } catch (...) {
    RecordError("Unknown error");
  }
  SetMessageBoxPresenter(std::move(before));
  if (LastRun.FilesWritten) {
    LastRun.Files[kWebResultFile] = TakeFile(kResultFileName);
    LastRun.Files[kWebBattleLogFile] = TakeFile(kBattleLogFileName);
  }
  return static_cast<int>(LastRun.Boxes.size());
}

const char* PelmoraBoxText(int index) { return LastRun.Boxes.at(index).Text.c_str(); }

int PelmoraBoxIsError(int index) { return LastRun.Boxes.at(index).IsError ? 1 : 0; }

int PelmoraFilesWritten() { return LastRun.FilesWritten ? 1 : 0; }

const char* PelmoraFileBytes(int file) { return LastRun.Files[file].data(); }

int PelmoraFileSize(int file) { return static_cast<int>(LastRun.Files[file].size()); }

void PelmoraReleaseFiles() {
  for (std::string& file : LastRun.Files) std::string().swap(file);
}

const char* PelmoraFileName(int file) { return file == kWebResultFile ? kResultFileName : kBattleLogFileName; }

const char* PelmoraRosterFileName() { return reinterpret_cast<const char*>(kRosterFileName.data()); }

const char* PelmoraErrorBoxText(const char* message) {
  static std::string text;
  text = ErrorBoxText(message);
  return text.c_str();
}

}  // extern "C"
