// The page's one door into the core: a roster's bytes in; the boxes' texts and the two files'
// bytes out. The core runs as the run button runs it, in a working directory of its own in the
// module's memory, so its files are read and written through the same calls as on a desktop.
#include "app/web/web_entry.h"

#include <unistd.h>

#include <exception>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
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

// A file's bytes, read into room that nothing fills first: the battle log of a hundred
// characters is twelve megabytes.
struct TWebFileBytes {
  std::unique_ptr<char[]> Bytes;
  std::size_t Size = 0;
};

struct TWebRun {
  std::vector<TWebBox> Boxes;
  bool FilesWritten = false;
  TWebFileBytes Files[kWebFileCount];
};

TWebRun LastRun;

// Every run starts in the same folder with the roster given (or none). The files of the run before
// stay, with the room they took, which this run's files use again: they come out only when this
// run has said that it wrote them whole.
void PrepareWorkDir(const char* roster, int size) {
  std::filesystem::create_directories(kWorkDir);
  if (::chdir(kWorkDir) != 0) throw std::system_error(errno, std::generic_category(), kWorkDir);
  const std::filesystem::path rosterName(kRosterFileName);
  std::filesystem::remove(rosterName);
  if (size >= 0) std::ofstream(rosterName, std::ios::binary).write(roster, size);
}

TWebFileBytes TakeFile(const char* name) {
  TWebFileBytes file;
  std::ifstream in(name, std::ios::binary);
  in.seekg(0, std::ios::end);
  file.Size = static_cast<std::size_t>(in.tellg());
  file.Bytes.reset(new char[file.Size]);
  in.seekg(0);
  in.read(file.Bytes.get(), static_cast<std::streamsize>(file.Size));
  if (in.gcount() != static_cast<std::streamsize>(file.Size))
    throw std::runtime_error(std::string(name) + " was cut short");
  return file;
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
  TMessageBoxPresenter before = SetMessageBoxPresenter([](std::string_view text) {
    LastRun.Boxes.push_back({Cp932ToUtf8(text), false});
  });
  try {
    PrepareWorkDir(roster, size);
    RunFromRosterFile();
    // Both files are complete exactly when the run has said so in its last box.
    LastRun.FilesWritten =
        !LastRun.Boxes.empty() && LastRun.Boxes.back().Text == Cp932ToUtf8(kClosingMessage);
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

const char* PelmoraFileBytes(int file) { return LastRun.Files[file].Bytes.get(); }

int PelmoraFileSize(int file) { return static_cast<int>(LastRun.Files[file].Size); }

void PelmoraReleaseFiles() {
  for (TWebFileBytes& file : LastRun.Files) file = TWebFileBytes{};
}

const char* PelmoraFileName(int file) {
  return file == kWebResultFile ? kResultFileName : kBattleLogFileName;
}

const char* PelmoraRosterFileName() { return reinterpret_cast<const char*>(kRosterFileName.data()); }

const char* PelmoraErrorBoxText(const char* message) {
  static std::string text;
  text = ErrorBoxText(message);
  return text.c_str();
}

}  // extern "C"
