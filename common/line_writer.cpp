// The buffered line writer's slow paths: padding, growing, flushing and converting.
#include "common/line_writer.h"

#include <algorithm>
#include <cstring>

#include "common/cp932_to_utf8.h"

namespace pelmora {

TLineWriter::TLineWriter() : buffer_(std::make_unique_for_overwrite<char[]>(kInitialCapacity)) {}

TLineWriter::~TLineWriter() = default;

TLineWriter& TLineWriter::AppendSpaces(std::int32_t count) {
  static constexpr std::string_view kSpaces = "                                ";
  for (auto left = static_cast<std::size_t>(count); left > 0;) {
    std::size_t piece = std::min(left, kSpaces.size());
    *this << kSpaces.substr(0, piece);
    left -= piece;
  }
  return *this;
}

void TLineWriter::Flush() {
  std::size_t size = used_;
  used_ = lineStart_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size > 0) WriteOutEncoded(buffer_.get(), size);
}

// The conversion takes whole lines and gives whole lines: a line feed is never part of a
// Shift_JIS or a UTF-8 character, so the destination still receives only whole lines.
void TLineWriter::WriteOutEncoded(const char* bytes, std::size_t size) {
  if (encoding_ == TTextEncoding::ShiftJis) {
    WriteOut(bytes, size);
    return;
  }
  std::size_t room = Cp932ToUtf8Room(size);
  if (room > convertedCapacity_) {
    converted_ = std::make_unique_for_overwrite<char[]>(room);
    convertedCapacity_ = room;
  }
  char* end = Cp932ToUtf8(bytes, size, converted_.get());
  WriteOut(converted_.get(), static_cast<std::size_t>(end - converted_.get()));
}

void TLineWriter::Grow(std::size_t more) {
  std::size_t capacity = std::max(capacity_ * 2, used_ + more);
  auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(buffer.get(), buffer_.get(), used_);
  buffer_ = std::move(buffer);
  capacity_ = capacity;
}

}  // namespace pelmora
