// The buffered line writer's slow paths: padding, growing and flushing.
#include "common/line_writer.h"

#include <algorithm>
#include <cstring>

namespace pelmora {

// The buffers are left uninitialised: every byte is written before it is read.
TLineWriter::TLineWriter() : buffer_(new char[kInitialCapacity]) {}

TLineWriter::~TLineWriter() = default;

TLineWriter& TLineWriter::AppendManySpaces(std::size_t count) {
  if (count > capacity_ - used_) Grow(count);
  std::memset(buffer_.get() + used_, ' ', count);
  used_ += count;
  return *this;
}

// The lines go out in the buffer they were built in, and the next lines are built in the oldest
// block handed on, which the destination has let go of by then.
void TLineWriter::HandOn(bool linesFollow) {
  std::size_t size = used_;
  used_ = lineStart_ = 0;  // a failed write loses the buffer: what went out before stays, nothing is repeated
  if (size == 0) return;
  WriteOut(buffer_.get(), size, linesFollow);
  TBlock& oldest = handed_[oldestHanded_];
  std::swap(buffer_, oldest.Bytes);
  std::swap(capacity_, oldest.Capacity);
  oldestHanded_ = (oldestHanded_ + 1) % kBlocksInFlight;
  if (!buffer_) {
    buffer_.reset(new char[kInitialCapacity]);
    capacity_ = kInitialCapacity;
  }
}

void TLineWriter::Grow(std::size_t more) {
  std::size_t capacity = std::max(capacity_ * 2, used_ + more);
  std::unique_ptr<char[]> buffer(new char[capacity]);
  std::memcpy(buffer.get(), buffer_.get(), used_);
  buffer_ = std::move(buffer);
  capacity_ = capacity;
}

}  // namespace pelmora
