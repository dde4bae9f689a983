// glibc's own converters, the yardstick the program's conversions are held against.
#pragma once

#include <iconv.h>

#include <optional>
#include <string>
#include <string_view>

namespace pelmora::testing {

class TIconv {
 public:
  TIconv(const char* to, const char* from) : converter_(iconv_open(to, from)) {}
  ~TIconv() {
    if (Opened()) iconv_close(converter_);
  }
  TIconv(const TIconv&) = delete;
  TIconv& operator=(const TIconv&) = delete;

  bool Opened() const { return converter_ != reinterpret_cast<iconv_t>(-1); }

  // The whole input converted, or nothing when the converter stops at an invalid, incomplete or
  // unconvertible sequence.
  std::optional<std::string> Convert(std::string_view input) {
    iconv(converter_, nullptr, nullptr, nullptr, nullptr);
    std::string out(input.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    if (iconv(converter_, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
      return std::nullopt;
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  iconv_t converter_;
};

}  // namespace pelmora::testing
