// A buffered writer of CR LF lines. Lines are built by appending pieces straight into one
// buffer, which goes out to the destination when it is nearly full and when the writer is
// flushed; nothing is formatted into temporary strings on the way. Lines are always built in
// Shift_JIS. The destination may go on taking the last few blocks while the next is built.
#pragma once

#include <array>
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
  // How many of the blocks handed on last the destination may still be taking while the next
  // lines are built.
  static constexpr std::size_t kBlocksInFlight = 3;

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
  TLineWriter& operator<<(const TNumberText& number) {
    if (number.Size > capacity_ - used_) Grow(number.Size);
    CopyShortPiece(buffer_.get() + used_, number.Bytes.data(), number.Size);
    used_ += number.Size;
    return *this;
  }

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
    if (used_ >= kFlushThreshold) HandOn(true);
  }

  // Hands everything buffered to the destination, which has taken it when this returns; called
  // between lines, it hands on whole lines.
  void Flush() { HandOn(false); }

  // Forgets what is buffered without writing it.
  void DiscardBuffer() { used_ = lineStart_ = 0; }

 protected:
  // Writes the bytes in full or throws. The writer hands on only between lines, so the bytes
  // always start at the start of a line. Where lines follow (the buffer filled up), the
  // destination may return before it has taken the bytes, and may throw a failure to take them
  // from a later call: the writer leaves them as they are until kBlocksInFlight more WriteOut
  // calls have returned.
  virtual void WriteOut(const char* bytes, std::size_t size, bool linesFollow) = 0;

 private:
  // Most pieces are a few bytes long: they are copied here as two overlapping words, which is
  // much cheaper than calling the C library's copy for each; a longer piece goes through it.
  struct TWord16 {
    std::uint64_t Low;
    std::uint64_t High;
  };
  static void CopyPiece(char* to, const char* from, std::size_t size) {
    if (size > 2 * sizeof(TWord16)) {
      std::memcpy(to, from, size);
    } else if (size >= sizeof(TWord16)) {
      CopyOverlapping<TWord16>(to, from, size);
    } else {
      CopyShortPiece(to, from, size);
    }
  }
  // The same for a piece shorter than 16 bytes.
  static void CopyShortPiece(char* to, const char* from, std::size_t size) {
    if (size >= sizeof(std::uint64_t)) {
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

  // A block of a mebibyte keeps the hand-overs of a hundred characters' 12 MB to a dozen per
  // file: each one may wake a thread on another processor, which costs more than the write.
  static constexpr std::size_t kInitialCapacity = 1024 * 1024;
  static constexpr std::size_t kFlushThreshold = kInitialCapacity - 32 * 1024;

  // Padding is mostly a few spaces: those are appended as a piece of a row of spaces.
  TLineWriter& AppendSpaces(std::int32_t count) {
    static constexpr std::string_view kSpaces = "                                ";
    auto size = static_cast<std::size_t>(count);
    return size <= kSpaces.size() ? *this << std::string_view(kSpaces.data(), size) : AppendManySpaces(size);
  }
  TLineWriter& AppendManySpaces(std::size_t count);

  // Hands the buffered lines to the destination.
  void HandOn(bool linesFollow);

  // Makes room for more bytes than are left. A line never leaves the buffer unfinished, so a
  // line longer than the room left (far longer than any roster makes) makes the buffer grow.
  void Grow(std::size_t more);

  std::unique_ptr<char[]> buffer_;
  std::size_t capacity_ = kInitialCapacity;
  std::size_t used_ = 0;
  std::size_t lineStart_ = 0;  // where the line being written starts in the buffer
  // The blocks handed on last, which the destination may still be taking, taken in turn: the
  // oldest is free once the next block is handed on, and the next lines are built in it.
  struct TBlock {
    std::unique_ptr<char[]> Bytes;
    std::size_t Capacity = 0;
  };
  std::array<TBlock, kBlocksInFlight> handed_;
  std::size_t oldestHanded_ = 0;
};

}  // namespace pelmora
