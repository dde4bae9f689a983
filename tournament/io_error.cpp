// Messages of input/output errors.
#include "tournament/io_error.h"

#include "common/os_file.h"

namespace pelmora {

TIoError::TIoError(int code) : std::runtime_error(IoErrorMessage(code)), code_(code) {}

std::string IoErrorMessage(int code) {
  switch (FileErrorKindOf(code)) {
    case TFileErrorKind::NotFound:
      return "File not found";
    case TFileErrorKind::InvalidName:
      return "Invalid filename";
    case TFileErrorKind::TooManyOpenFiles:
      return "Too many open files";
    case TFileErrorKind::AccessDenied:
      return "File access denied";
    case TFileErrorKind::Other:
      break;
  }
  return "I/O error " + std::to_string(code);
}

}  // namespace pelmora
