// CP932 decoded into UTF-8 through a table of every character's UTF-8 bytes, filled once at the
// first conversion from the codes the _sj literal's table marks as read back. Where the processor has
// SSE2 (every x86-64 processor), whole blocks are classified at once and only the characters
// that are not ASCII are looked up.
#include "common/cp932_to_utf8.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "common/sjis_literal.h"
#include "common/text.h"

namespace pelmora {

namespace {

static_assert(std::endian::native == std::endian::little, "the packed bytes are copied out as they lie");

// A character's UTF-8 bytes packed as they lie in memory, lowest byte first; above them its
// UTF-8 length and its CP932 length. A code that is no character holds the replacement
// character, U+FFFD, which itself has no CP932 code.
using TPackedChar = std::uint32_t;
constexpr unsigned kUtf8LengthShift = 24;
constexpr unsigned kCp932LengthShift = 28;
constexpr TPackedChar kLengthMask = 0xF;

constexpr TPackedChar PackChar(char32_t codePoint, unsigned cp932Length) {
  TPackedChar packed = cp932Length << kCp932LengthShift;
  if (codePoint < 0x80) return packed | codePoint | 1u << kUtf8LengthShift;
  if (codePoint < 0x800)
    return packed | (0xC0 | codePoint >> 6) | (0x80 | (codePoint & 0x3F)) << 8 | 2u << kUtf8LengthShift;
  return packed | (0xE0 | codePoint >> 12) | (0x80 | (codePoint >> 6 & 0x3F)) << 8 |
         (0x80 | (codePoint & 0x3F)) << 16 | 3u << kUtf8LengthShift;
}

constexpr unsigned Utf8Length(TPackedChar packed) { return packed >> kUtf8LengthShift & kLengthMask; }
constexpr unsigned Cp932Length(TPackedChar packed) { return packed >> kCp932LengthShift; }
constexpr bool IsReplacement(TPackedChar packed) {
  constexpr TPackedChar kUtf8Bytes = (1u << kUtf8LengthShift) - 1;
  return (packed & kUtf8Bytes) == (PackChar(0xFFFD, 1) & kUtf8Bytes);
}

// Indexed by a character's first two bytes as a little-endian word, first | second << 8, so that
// one 16-bit load finds any character: after a lead byte the pair is one code, and after any
// other byte the second byte does not matter.
using TDecodeTable = std::array<TPackedChar, 0x10000>;

// Filled at run time: as a constant the table's 65,536 entries take more steps than a compiler
// evaluates by default, and would make every program that links the core 256 KiB larger.
void FillDecodeTable(TDecodeTable& table) {
  std::array<TPackedChar, 0x100> single{};
  single.fill(PackChar(0xFFFD, 1));
  for (unsigned first = 0; first < 0x100; ++first) {
    for (unsigned second = 0; second < 0x100; ++second)
      table[first | second << 8] =
          PackChar(0xFFFD, IsSjisLeadByte(static_cast<unsigned char>(first)) ? 2 : 1);
  }
  for (const sjis_detail::TCodePair& pair : sjis_detail::kCp932Table) {
    if (!pair.ReadsBack) continue;
    if (pair.Cp932 <= 0xFF) {
      single[pair.Cp932] = PackChar(pair.Unicode, 1);
    } else {
      table[pair.Cp932 >> 8 | (pair.Cp932 & 0xFF) << 8] = PackChar(pair.Unicode, 2);
    }
  }
  for (unsigned first = 0; first < 0x100; ++first) {
    if (IsSjisLeadByte(static_cast<unsigned char>(first))) continue;
    for (unsigned second = 0; second < 0x100; ++second) table[first | second << 8] = single[first];
  }
}

const TDecodeTable& DecodeTable() {
  static TDecodeTable table;
  static const bool filled = (FillDecodeTable(table), true);
  (void)filled;
  return table;
}

// The character at pos; a lead byte left alone at the end is a character of its own.
inline TPackedChar NextChar(const TDecodeTable& table, const unsigned char* pos, const unsigned char* end) {
  unsigned second = end - pos >= 2 ? pos[1] : 0;
  TPackedChar packed = table[*pos | second << 8];
  return end - pos >= 2 ? packed : (packed & ~(kLengthMask << kCp932LengthShift)) | 1u << kCp932LengthShift;
}

// Character by character; where eight bytes of ASCII follow, they are copied as one word.
char* ConvertCharByChar(const unsigned char* pos, const unsigned char* end, char* out) {
  constexpr std::size_t kWord = sizeof(std::uint64_t);
  constexpr std::uint64_t kHighBits = 0x8080808080808080u;
  const TDecodeTable& table = DecodeTable();
  while (pos < end) {
    std::uint64_t word = 0;
    if (static_cast<std::size_t>(end - pos) >= kWord &&
        (std::memcpy(&word, pos, kWord), (word & kHighBits) == 0)) {
      std::memcpy(out, &word, kWord);
      pos += kWord;
      out += kWord;
      continue;
    }
    TPackedChar packed = NextChar(table, pos, end);
    std::memcpy(out, &packed, sizeof packed);  // the lengths land in the spare room past the character
    out += Utf8Length(packed);
    pos += Cp932Length(packed);
  }
  return out;
}

#if defined(__SSE2__)
constexpr std::size_t kBlock = 64;
constexpr std::size_t kLane = 16;

// Bit k of each mask stands for byte k of a block.
struct TBlockBytes {
  std::uint64_t High;       // above 127: a character that is not ASCII, or its second byte
  std::uint64_t LeadRange;  // a lead byte where a character starts
};

inline TBlockBytes ClassifyBlock(const unsigned char* block) {
  TBlockBytes bytes{0, 0};
  for (std::size_t k = 0; k < kBlock / kLane; ++k) {
    __m128i lane = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + kLane * k));
    // Moved so that each range of lead bytes, 0x81-0x9F and 0xE0-0xFC, starts at 0 (adding 0x7F
    // takes 0x81 there, adding 0x20 takes 0xE0), a byte lies in one when subtracting the range's
    // width, saturating at 0, leaves 0.
    __m128i low = _mm_subs_epu8(_mm_add_epi8(lane, _mm_set1_epi8(0x7F)), _mm_set1_epi8(0x9F - 0x81));
    __m128i high = _mm_subs_epu8(_mm_add_epi8(lane, _mm_set1_epi8(0x20)), _mm_set1_epi8(0xFC - 0xE0));
    __m128i leadRange =
        _mm_or_si128(_mm_cmpeq_epi8(low, _mm_setzero_si128()), _mm_cmpeq_epi8(high, _mm_setzero_si128()));
    bytes.High |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(lane))} << kLane * k;
    bytes.LeadRange |= std::uint64_t{static_cast<std::uint16_t>(_mm_movemask_epi8(leadRange))} << kLane * k;
  }
  return bytes;
}

// The lead bytes among the lead-range ones. A run of lead-range bytes starts a character (the
// byte before it ends one), so its bytes are lead, second, lead, second, and so on. carried is 1
// when the block's first byte is the second byte of the character the block before ended with.
inline std::uint64_t LeadBytes(std::uint64_t leadRange, std::uint64_t carried) {
  constexpr std::uint64_t kEven = 0x5555555555555555u;
  std::uint64_t runs = leadRange & ~carried;
  std::uint64_t starts = runs & ~(runs << 1);
  // Adding a run's first bit carries through the run and clears it: what is cleared is the runs
  // that start at an even byte.
  std::uint64_t evenRuns = runs & ~(runs + (starts & kEven));
  return (evenRuns & kEven) | (runs & ~evenRuns & ~kEven);
}

// Converts whole blocks while two are left, so that every load and store of 16 bytes, and the
// second byte of a block's last character, stay inside the text and the room; returns where it
// stopped in the text.
const unsigned char* ConvertBlocks(const unsigned char* pos, const unsigned char* end, char*& out) {
  const TDecodeTable& table = DecodeTable();
  std::uint64_t carried = 0;
  for (; static_cast<std::size_t>(end - pos) >= 2 * kBlock; pos += kBlock) {
    TBlockBytes bytes = ClassifyBlock(pos);
    std::uint64_t nonAscii = bytes.High & ~(LeadBytes(bytes.LeadRange, carried) << 1 | carried);
    std::size_t at = carried;  // the first byte not converted yet
    for (; nonAscii != 0; nonAscii &= nonAscii - 1) {
      auto start = static_cast<std::size_t>(std::countr_zero(nonAscii));
      // The ASCII before the character, 16 bytes at a time: the character overwrites the excess.
      // Most characters follow another or a few ASCII bytes, so the first 16 are copied always.
      std::memcpy(out, pos + at, kLane);
      for (std::size_t copied = kLane; copied < start - at; copied += kLane)
        std::memcpy(out + copied, pos + at + copied, kLane);
      out += start - at;
      std::uint16_t pair = 0;
      std::memcpy(&pair, pos + start, sizeof pair);
      TPackedChar packed = table[pair];
      std::memcpy(out, &packed, sizeof packed);
      out += Utf8Length(packed);
      at = start + Cp932Length(packed);
    }
    if (at <= kBlock) {
      std::memcpy(out, pos + at, kBlock);
      out += kBlock - at;
    }
    carried = at > kBlock;
  }
  return pos + carried;
}
#endif

}  // namespace

char* Cp932ToUtf8(const char* in, std::size_t size, char* out) {
  const auto* pos = reinterpret_cast<const unsigned char*>(in);
  const unsigned char* end = pos + size;
#if defined(__SSE2__)
  pos = ConvertBlocks(pos, end, out);
#endif
  return ConvertCharByChar(pos, end, out);
}

std::string Cp932ToUtf8(std::string_view text) {
  std::string out(Cp932ToUtf8Room(text.size()), '\0');
  out.resize(static_cast<std::size_t>(Cp932ToUtf8(text.data(), text.size(), out.data()) - out.data()));
  return out;
}

std::string Cp932ToUtf8ForTerminal(std::string_view text) {
  std::string out;
  const TDecodeTable& table = DecodeTable();
  const auto* pos = reinterpret_cast<const unsigned char*>(text.data());
  const unsigned char* end = pos + text.size();
  while (pos < end) {
    TPackedChar packed = NextChar(table, pos, end);
    if (IsReplacement(packed)) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", *pos);
      out += escaped;
      ++pos;
      continue;
    }
    char bytes[sizeof packed];
    std::memcpy(bytes, &packed, sizeof packed);
    out.append(bytes, Utf8Length(packed));
    pos += Cp932Length(packed);
  }
  return out;
}

}  // namespace pelmora
