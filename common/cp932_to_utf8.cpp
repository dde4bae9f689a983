// CP932 decoded into UTF-8 through a table of every code's UTF-8 bytes, built by the compiler
// from the codes the _sj literal's table marks as read back.
#include "common/cp932_to_utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

static_assert(std::endian::native == std::endian::little, "the packed bytes are copied out as they lie");

// A code's UTF-8 bytes packed as they lie in memory, lowest byte first, with their count in the
// top byte. A code that is no character holds the replacement character, U+FFFD, which itself
// has no CP932 code.
using TPackedUtf8 = std::uint32_t;
constexpr unsigned kCountShift = 24;

constexpr TPackedUtf8 PackUtf8(char32_t codePoint) {
  if (codePoint < 0x80) return codePoint | 1u << kCountShift;
  if (codePoint < 0x800)
    return (0xC0 | codePoint >> 6) | (0x80 | (codePoint & 0x3F)) << 8 | 2u << kCountShift;
  return (0xE0 | codePoint >> 12) | (0x80 | (codePoint >> 6 & 0x3F)) << 8 |
         (0x80 | (codePoint & 0x3F)) << 16 | 3u << kCountShift;
}

constexpr TPackedUtf8 kReplacement = PackUtf8(0xFFFD);

// Indexed by the code: a single byte's own value, a double-byte code as lead << 8 | trail.
using TDecodeTable = std::array<TPackedUtf8, 0x10000>;

constexpr TDecodeTable MakeDecodeTable() {
  TDecodeTable table{};
  table.fill(kReplacement);
  for (const sjis_detail::TCodePair& pair : sjis_detail::kCp932Table) {
    if (pair.ReadsBack) table[pair.Cp932] = PackUtf8(pair.Unicode);
  }
  return table;
}

constexpr TDecodeTable kDecodeTable = MakeDecodeTable();

// The packed UTF-8 of the character at in (one or two bytes, as the lead byte says) and its
// byte length in the CP932 text.
inline TPackedUtf8 NextChar(const unsigned char* in, const unsigned char* end, std::size_t& length) {
  if (IsSjisLeadByte(*in) && end - in >= 2) {
    length = 2;
    return kDecodeTable[*in << 8 | in[1]];
  }
  length = 1;
  return kDecodeTable[*in];
}

}  // namespace

// Most of a battle log is ASCII (rules, indents, numbers) or double-byte characters. Where eight
// bytes of ASCII follow, they are copied as one word.
char* Cp932ToUtf8(const char* in, std::size_t size, char* out) {
  const auto* pos = reinterpret_cast<const unsigned char*>(in);
  const unsigned char* end = pos + size;
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  while (pos < end) {
    if (*pos < 0x80) {
      std::uint64_t word = 0;
      if (static_cast<std::size_t>(end - pos) >= kWord &&
          (std::memcpy(&word, pos, kWord), (word & kHighBits) == 0)) {
        std::memcpy(out, &word, kWord);
        pos += kWord;
        out += kWord;
      } else {
        *out++ = static_cast<char>(*pos++);
      }
      continue;
    }
    std::size_t length = 0;
    TPackedUtf8 packed = NextChar(pos, end, length);
    std::memcpy(out, &packed, sizeof packed);  // the count byte lands in the spare room past the character
    out += packed >> kCountShift;
    pos += length;
  }
  return out;
}

std::string Cp932ToUtf8(std::string_view text) {
  std::string out(Cp932ToUtf8Room(text.size()), '\0');
  out.resize(static_cast<std::size_t>(Cp932ToUtf8(text.data(), text.size(), out.data()) - out.data()));
  return out;
}

std::string Cp932ToUtf8ForTerminal(std::string_view text) {
  std::string out;
  const auto* pos = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = pos + text.size();
  while (pos < end) {
    std::size_t length = 0;
    TPackedUtf8 packed = NextChar(pos, end, length);
    if (packed == kReplacement) {
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
