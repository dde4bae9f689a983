// The buffered line writer's slow paths: padding, growing and flushing.
#include "common/line_writer.h"

#include <algorithm>
#include <cstring>

namespace pelmora {

// The buffer is left uninitialised: every byte is written before it is read.
TLineWriter::TLineWriter() : buffer_(new char[kInitialCapacity]) {}

TLineWriter::~TLineWriter() = default;

TLineWriter& TLineWriter::AppendSpaces(std::int32_t count) {
  auto size = static_cast<std::size_t>(count);
  if (size > capacity_ - used_) Grow(size);
  std::memset(buffer_.get() + used_, ' ', size);
  used_ += size;
  return *this;
}

void TLineWriter::Flush() {
  std::size_t size = used_;
  used_ = lineStart_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size > 0) WriteOut(buffer_.get(), size);
}

void TLineWriter::Grow(std::size_t more) {
  std::size_t capacity = std::max(capacity_ * 2, used_ + more);
  std::unique_ptr<char[]> buffer(new char[capacity]);
  std::memcpy(buffer.get(), buffer_.get(), used_);
  buffer_ = std::move(buffer);
  capacity_ = capacity;
}

}  // namespace pelmora
