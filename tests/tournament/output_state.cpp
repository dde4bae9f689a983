// The states of the output files and of the process's descriptors, in words.
#include "tests/tournament/output_state.h"

#include <iterator>

#include "tests/support/work_dir.h"

namespace pelmora::testing {

namespace fs = std::filesystem;

std::string FileState(const fs::path& file, std::string_view earlier, std::string_view complete) {
  fs::file_status status = fs::symlink_status(file);
  if (fs::is_symlink(status)) return "a link to " + fs::read_symlink(file).string();
  if (fs::is_directory(status)) return "a directory";
  if (fs::is_fifo(status)) return "a named pipe";
  if (!fs::exists(status)) return "missing";
  std::string bytes = ReadFileBytes(file);
  if (bytes == earlier) return "untouched";
  if (bytes.empty()) return "empty";
  if (bytes == complete) return "complete";
  return "changed, " + std::to_string(bytes.size()) + " bytes";
}

std::string LineEndFault(std::string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    bool bareLf = text[at] == '\n' && (at == 0 || text[at - 1] != '\r');
    bool bareCr = text[at] == '\r' && (at + 1 == text.size() || text[at + 1] != '\n');
    if (bareLf || bareCr) return "lone line-end byte at " + std::to_string(at);
  }
  if (!text.empty() && !text.ends_with("\r\n")) return "the last line has no line end";
  return "";
}

std::ptrdiff_t OpenDescriptorCount() {
  return std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator());
}

}  // namespace pelmora::testing
