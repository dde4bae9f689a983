// A buffered writer of CR LF lines. Lines are built by appending pieces straight into one
// buffer, which goes out to the destination when it is nearly full and when the writer is
// flushed; nothing is formatted into temporary strings on the way. Lines are always built in
// Shift_JIS.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "common/text.h"

namespace pelmora {

class TLineWriter {
 public:
  TLineWriter();
  virtual ~TLineWriter();
  TLineWriter(const TLineWriter&) = delete;
  TLineWriter& operator=(const TLineWriter&) = delete;

  TLineWriter& operator<<(std::string_view text) {
    if (text.size() > capacity_ - used_) Grow(text.size());
    CopyPiece(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  TLineWriter& operator<<(std::int32_t number) { return *this << Decimal(number); }

  // Appends half-width spaces until the line being written is width bytes long; a longer line
  // is never cut.
  TLineWriter& PadRight(std::int32_t width) {
    std::int32_t missing = width - LineLength();
    return missing > 0 ? AppendSpaces(missing) : *this;
  }

  // The byte length of the line being written so far.
  std::int32_t LineLength() const {
    return ByteLength(std::string_view(buffer_.get() + lineStart_, used_ - lineStart_));
  }

  // Ends the line with CR LF. Once the buffer is nearly full its lines are handed on, and a
  // failure to do so throws from here.
  void EndLine() {
    *this << std::string_view("\r\n", 2);
    lineStart_ = used_;
    if (used_ >= kFlushThreshold) Flush();
  }

  // Hands everything buffered to the destination, which has taken it when this returns; called
  // between lines, it hands on whole lines.
  void Flush();

  // Forgets what is buffered without writing it.
  void DiscardBuffer() { used_ = lineStart_ = 0; }

 protected:
  // Writes the bytes in full or throws. The writer hands on only between lines, so the bytes
  // always start at the start of a line and end at the end of one.
  virtual void WriteOut(const char* bytes, std::size_t size) = 0;

 private:
  // Most pieces are a few bytes long: they are copied here as two overlapping words, which is
  // much cheaper than calling the C library's copy for each; a longer piece goes through it.
  static void CopyPiece(char* to, const char* from, std::size_t size) {
    if (size > 2 * sizeof(std::uint64_t)) {
      std::memcpy(to, from, size);
    } else if (size >= sizeof(std::uint64_t)) {
      CopyOverlapping<std::uint64_t>(to, from, size);
    } else if (size >= sizeof(std::uint32_t)) {
      CopyOverlapping<std::uint32_t>(to, from, size);
    } else if (size > 0) {
      to[0] = from[0];
      to[size / 2] = from[size / 2];
      to[size - 1] = from[size - 1];
    }
  }
  // The first and the last word of a piece from one to two words long.
  template <class TWord>
  static void CopyOverlapping(char* to, const char* from, std::size_t size) {
    TWord first;
    TWord last;
    std::memcpy(&first, from, sizeof first);
    std::memcpy(&last, from + size - sizeof last, sizeof last);
    std::memcpy(to, &first, sizeof first);
    std::memcpy(to + size - sizeof last, &last, sizeof last);
  }

  static constexpr std::size_t kInitialCapacity = 256 * 1024;
  static constexpr std::size_t kFlushThreshold = kInitialCapacity - 32 * 1024;

  TLineWriter& AppendSpaces(std::int32_t count);

  // Makes room for more bytes than are left. A line never leaves the buffer unfinished, so a
  // line longer than the room left (far longer than any roster makes) makes the buffer grow.
  void Grow(std::size_t more);

  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = kInitialCapacity;
  std::size_t used_ = 0;
  std::size_t lineStart_ = 0;  // where the line being written starts in the buffer
};

}  // namespace pelmora
