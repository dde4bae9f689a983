// The buffered line writer's slow paths: padding, growing and flushing.
#include "common/line_writer.h"

#include <algorithm>
#include <cstring>

namespace pelmora {

TLineWriter::TLineWriter() : buffer_(std::make_unique_for_overwrite<char[]>(kInitialCapacity)) {}

TLineWriter::~TLineWriter() = default;

TLineWriter& TLineWriter::PadRight(std::int32_t width) {
  static constexpr std::string_view kSpaces = "                                ";
  for (std::int32_t missing = width - LineLength(); missing > 0; missing -= ByteLength(kSpaces)) {
    *this << kSpaces.substr(0, static_cast<std::size_t>(std::min(missing, ByteLength(kSpaces))));
  }
  return *this;
}

std::int32_t TLineWriter::LineLength() const {
  return ByteLength(std::string_view(buffer_.get() + lineStart_, used_ - lineStart_));
}

void TLineWriter::Flush() {
  std::size_t size = used_;
  used_ = lineStart_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size > 0) WriteOut(buffer_.get(), size);
}

void TLineWriter::Grow(std::size_t more) {
  std::size_t capacity = std::max(capacity_ * 2, used_ + more);
  auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(buffer.get(), buffer_.get(), used_);
  buffer_ = std::move(buffer);
  capacity_ = capacity;
}

}  // namespace pelmora
