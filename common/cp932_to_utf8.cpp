// CP932 decoded into UTF-8 through a table of every code's UTF-8 bytes, built by the compiler
// from the codes the _sj literal's table marks as read back.
#include "common/cp932_to_utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>

#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

static_assert(std::endian::native == std::endian::little, "the packed bytes are copied out as they lie");

// A code's UTF-8 bytes packed as they lie in memory, lowest byte first, with their count in the
// top byte; 0 where the code is no character.
using TPackedUtf8 = std::uint32_t;
constexpr unsigned kCountShift = 24;
constexpr TPackedUtf8 kNoCharacter = 0;

constexpr TPackedUtf8 PackUtf8(char32_t codePoint) {
  if (codePoint < 0x80) return codePoint | 1u << kCountShift;
  if (codePoint < 0x800)
    return (0xC0 | codePoint >> 6) | (0x80 | (codePoint & 0x3F)) << 8 | 2u << kCountShift;
  return (0xE0 | codePoint >> 12) | (0x80 | (codePoint >> 6 & 0x3F)) << 8 |
         (0x80 | (codePoint & 0x3F)) << 16 | 3u << kCountShift;
}

constexpr TPackedUtf8 kReplacement = PackUtf8(0xFFFD);

using TDecodeTable = std::array<TPackedUtf8, 0x10000>;

constexpr TDecodeTable MakeDecodeTable() {
  TDecodeTable table{};
  for (const sjis_detail::TCodePair& pair : sjis_detail::kCp932Table) {
    if (pair.ReadsBack) table[pair.Cp932] = PackUtf8(pair.Unicode);
  }
  return table;
}

constexpr TDecodeTable kDecodeTable = MakeDecodeTable();

// The packed UTF-8 of the character at in (one or two bytes, as the lead byte says) and its
// byte length in the CP932 text.
inline TPackedUtf8 NextChar(const unsigned char* in, const unsigned char* end, std::size_t& length) {
  unsigned byte = *in;
  if (IsSjisLeadByte(static_cast<unsigned char>(byte)) && end - in >= 2) {
    length = 2;
    return kDecodeTable[byte << 8 | in[1]];
  }
  length = 1;
  return kDecodeTable[byte];
}

}  // namespace

char* Cp932ToUtf8(const char* in, std::size_t size, char* out) {
  const auto* pos = reinterpret_cast<const unsigned char*>(in);
  const unsigned char* end = pos + size;
  while (pos < end) {
    if (*pos < 0x80) {  // ASCII stays as it is, and most of a line between characters is ASCII
      *out++ = static_cast<char>(*pos++);
      continue;
    }
    std::size_t length = 0;
    TPackedUtf8 packed = NextChar(pos, end, length);
    if (packed == kNoCharacter) packed = kReplacement;
    std::memcpy(out, &packed, sizeof packed);  // the count byte lands past the character, in the spare byte
    out += packed >> kCountShift;
    pos += length;
  }
  return out;
}

std::string Cp932ToUtf8ForTerminal(std::string_view text) {
  std::string out;
  const auto* pos = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = pos + text.size();
  while (pos < end) {
    std::size_t length = 0;
    TPackedUtf8 packed = NextChar(pos, end, length);
    if (packed == kNoCharacter) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", *pos);
      out += escaped;
      ++pos;
      continue;
    }
    char bytes[sizeof packed];
    std::memcpy(bytes, &packed, sizeof packed);
    out.append(bytes, packed >> kCountShift);
    pos += length;
  }
  return out;
}

}  // namespace pelmora
