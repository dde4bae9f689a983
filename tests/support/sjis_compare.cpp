// Readable comparison of Shift_JIS texts.
#include "tests/support/sjis_compare.h"

#include <algorithm>
#include <string>

#include "common/message_box.h"

namespace pelmora::testing {

namespace {

std::string_view LineAt(std::string_view text, std::size_t start) {
  std::size_t end = text.find('\n', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end + 1 - start);
}

}  // namespace

std::string Readable(std::string_view sjis) {
  std::string text = Cp932ToUtf8ForTerminal(sjis);
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

std::string WithCrLf(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

::testing::AssertionResult SjisEqual(const char* expectedExpr, const char* actualExpr,
                                     std::string_view expected, std::string_view actual) {
  if (expected == actual) return ::testing::AssertionSuccess();
  std::size_t first = static_cast<std::size_t>(
      std::mismatch(expected.begin(), expected.end(), actual.begin(), actual.end()).first - expected.begin());
  std::size_t lineStart = expected.substr(0, first).rfind('\n');
  lineStart = lineStart == std::string_view::npos ? 0 : lineStart + 1;
  std::size_t lineNumber = static_cast<std::size_t>(std::count(expected.begin(), expected.begin() + lineStart, '\n')) + 1;
  return ::testing::AssertionFailure()
         << actualExpr << " differs from " << expectedExpr << " at byte " << first << ", line " << lineNumber
         << " (sizes " << expected.size() << " and " << actual.size() << ")\n"
         << "  expected: " << Readable(LineAt(expected, lineStart)) << "\n"
         << "  actual:   " << Readable(LineAt(actual, lineStart)) << "\n";
}

}  // namespace pelmora::testing
