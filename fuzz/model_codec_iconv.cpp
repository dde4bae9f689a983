// The roster model's conversion by glibc's iconv.
#include "fuzz/model_codec.h"

#include <iconv.h>

#include "fuzz/fuzz_support.h"

namespace pelmora::fuzz {

namespace {

// A converter of glibc, opened once for the process.
iconv_t Converter(const char* to, const char* from) {
  iconv_t converter = iconv_open(to, from);
  if (converter == reinterpret_cast<iconv_t>(-1)) Fail("iconv cannot open its converter");
  return converter;
}

}  // namespace

std::optional<std::u32string> Utf8CodePoints(std::string_view line) {
  static iconv_t decoder = Converter("UTF-32LE", "UTF-8");
  iconv(decoder, nullptr, nullptr, nullptr, nullptr);
  std::u32string out(line.size(), U'\0');
  char* in = const_cast<char*>(line.data());
  std::size_t inLeft = line.size();
  char* outPtr = reinterpret_cast<char*>(out.data());
  std::size_t outLeft = out.size() * sizeof(char32_t);
  if (iconv(decoder, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1)) return std::nullopt;
  out.resize(out.size() - outLeft / sizeof(char32_t));
  return out;
}

std::optional<std::string> Cp932Of(char32_t codePoint) {
  static iconv_t encoder = Converter("CP932", "UTF-32LE");
  iconv(encoder, nullptr, nullptr, nullptr, nullptr);
  char* in = reinterpret_cast<char*>(&codePoint);
  std::size_t inLeft = sizeof codePoint;
  char bytes[8];
  char* outPtr = bytes;
  std::size_t outLeft = sizeof bytes;
  // glibc drops the tag characters U+E0000 to U+E007F without a word; they have no code.
  if (iconv(encoder, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || outPtr == bytes)
    return std::nullopt;
  return std::string(bytes, outPtr);
}

}  // namespace pelmora::fuzz
