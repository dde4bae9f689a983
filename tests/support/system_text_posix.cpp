// Text converted by glibc's iconv.
#include "tests/support/system_text.h"

#include <optional>
#include <stdexcept>

#include "tests/support/iconv.h"

namespace pelmora::testing {

std::string ConvertBySystem(const char* to, const char* from, std::string_view text) {
  TIconv converter(to, from);
  std::optional<std::string> converted = converter.Opened() ? converter.Convert(text) : std::nullopt;
  if (!converted)
    throw std::runtime_error(std::string("iconv cannot convert the text from ") + from + " to " + to);
  return *converted;
}

}  // namespace pelmora::testing
