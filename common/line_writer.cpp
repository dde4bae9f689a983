// The buffered line writer's slow paths: padding, growing and flushing.
#include "common/line_writer.h"

#include <algorithm>
#include <cstring>

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

// The lines go out in the buffer they were built in, and the next lines are built in the block
// handed on before, which the destination has let go of by then.
void TLineWriter::HandOn(bool linesFollow) {
  std::size_t size = used_;
  used_ = lineStart_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size == 0) return;
  WriteOut(buffer_.get(), size, linesFollow);
  std::swap(buffer_, handed_);
  std::swap(capacity_, handedCapacity_);
  if (!buffer_) {
    buffer_ = std::make_unique_for_overwrite<char[]>(kInitialCapacity);
    capacity_ = kInitialCapacity;
  }
}

void TLineWriter::Grow(std::size_t more) {
  std::size_t capacity = std::max(capacity_ * 2, used_ + more);
  auto buffer = std::make_unique_for_overwrite<char[]>(capacity);
  std::memcpy(buffer.get(), buffer_.get(), used_);
  buffer_ = std::move(buffer);
  capacity_ = capacity;
}

}  // namespace pelmora
