// A line writer that keeps everything it is given in memory.
#pragma once

#include <string>

#include "common/line_writer.h"

namespace pelmora::testing {

class TStringLineWriter final : public TLineWriter {
 public:
  // Everything written so far, buffered lines included.
  const std::string& Text() {
    Flush();
    return text_;
  }

 protected:
  void WriteOut(const char* bytes, std::size_t size, bool) override { text_.append(bytes, size); }

 private:
  std::string text_;
};

// What a section writer writes.
inline std::string WrittenBy(void (*write)(TLineWriter&)) {
  TStringLineWriter out;
  write(out);
  return out.Text();
}

}  // namespace pelmora::testing
