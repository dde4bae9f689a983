// A buffered writer of CR LF lines. Lines are built by appending pieces straight into one fixed
// buffer, which goes out to the destination when it is nearly full and when the writer is
// flushed; nothing is formatted into temporary strings on the way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace pelmora {

class TLineWriter {
 public:
  TLineWriter();
  virtual ~TLineWriter();
  TLineWriter(const TLineWriter&) = delete;
  TLineWriter& operator=(const TLineWriter&) = delete;

  TLineWriter& operator<<(std::string_view text) {
    if (text.size() > kBufferSize - used_) return AppendPastBuffer(text);
    std::char_traits<char>::copy(buffer_.get() + used_, text.data(), text.size());
    used_ += text.size();
    return *this;
  }
  TLineWriter& operator<<(char byte) { return *this << std::string_view(&byte, 1); }
  TLineWriter& operator<<(std::int32_t number);

  // Appends n half-width spaces.
  TLineWriter& Spaces(std::size_t n);

  // Appends the decimal text of n with fill in front when it is shorter than two bytes, as
  // PadLeft2Space and PadLeft2Zero make it.
  TLineWriter& PadLeft2(std::int32_t n, char fill);

  // Ends the line with CR LF. The line is complete in the buffer afterwards; once the buffer
  // is nearly full its whole lines are handed on, and a failure to do so throws from here.
  void EndLine() {
    *this << std::string_view("\r\n", 2);
    if (used_ >= kFlushThreshold) Flush();
  }

  // Hands everything buffered to the destination.
  void Flush();

  // Forgets what is buffered without writing it.
  void DiscardBuffer() { used_ = 0; }

 protected:
  // Writes the bytes in full or throws.
  virtual void WriteOut(const char* bytes, std::size_t size) = 0;

 private:
  static constexpr std::size_t kBufferSize = 256 * 1024;
  static constexpr std::size_t kFlushThreshold = kBufferSize - 32 * 1024;

  TLineWriter& AppendPastBuffer(std::string_view text);

  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace pelmora
