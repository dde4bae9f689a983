// The buffered line writer's slow paths: numbers, long pieces and flushing.
#include "common/line_writer.h"

#include <charconv>
#include <string>

namespace pelmora {

TLineWriter::TLineWriter() : buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

TLineWriter::~TLineWriter() = default;

TLineWriter& TLineWriter::operator<<(std::int32_t number) {
  char digits[12];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, number);
  return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
}

TLineWriter& TLineWriter::PadLeft2(std::int32_t n, char fill) {
  char digits[12];
  auto [end, error] = std::to_chars(digits, digits + sizeof digits, n);
  if (end - digits < 2) *this << fill;
  return *this << std::string_view(digits, static_cast<std::size_t>(end - digits));
}

TLineWriter& TLineWriter::Spaces(std::size_t n) {
  static constexpr std::string_view kSpaces = "                                ";
  for (; n > kSpaces.size(); n -= kSpaces.size()) *this << kSpaces;
  return *this << kSpaces.substr(0, n);
}

void TLineWriter::Flush() {
  std::size_t size = used_;
  used_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size > 0) WriteOut(buffer_.get(), size);
}

// A piece longer than the room left. Lines are short (a name holds at most 999 characters), so
// this is met only by a line far longer than any roster makes; the buffer goes out as it stands,
// and a piece larger than the whole buffer goes out directly after it.
TLineWriter& TLineWriter::AppendPastBuffer(std::string_view text) {
  Flush();
  if (text.size() > kBufferSize) {
    WriteOut(text.data(), text.size());
    return *this;
  }
  return *this << text;
}

}  // namespace pelmora
