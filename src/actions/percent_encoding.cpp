#include "actions/percent_encoding.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <cstddef>
#include <cstdint>

namespace qm {
namespace {

constexpr char16_t kHexDigits[] = u"0123456789ABCDEF";

constexpr bool IsUnreservedByte(unsigned c) {
  if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
    return true;
  }
  for (const char mark : {'-', '_', '.', '!', '~', '*', '\'', '(', ')'}) {
    if (c == static_cast<unsigned char>(mark)) return true;
  }
  return false;
}

// The encoding of every byte, padded to three characters, so that the
// loops copy it without branching on the kind of character: page text mixes
// kinds too irregularly for the branch predictor.
struct EncodedByte {
  char16_t text[3];
  std::uint8_t size;
};

constexpr std::array<EncodedByte, 256> MakeEncodedBytes() {
  std::array<EncodedByte, 256> table{};
  for (unsigned b = 0; b < 256; ++b) {
    if (IsUnreservedByte(b)) {
      table[b] = {{static_cast<char16_t>(b), 0, 0}, 1};
    } else {
      table[b] = {{u'%', kHexDigits[b >> 4], kHexDigits[b & 0xF]}, 3};
    }
  }
  return table;
}

constexpr std::array<EncodedByte, 256> kEncodedBytes = MakeEncodedBytes();

// Copies the encoding of `byte` to `out`, all three characters, and returns
// the position after its real size. The buffer needs two characters of
// slack at its end.
char16_t* WriteByte(unsigned byte, char16_t* out) {
  const EncodedByte& e = kEncodedBytes[byte];
  out[0] = e.text[0];
  out[1] = e.text[1];
  out[2] = e.text[2];
  return out + e.size;
}

// The characters that Windows-1252 puts at 0x80..0x9F, by code point, with
// their bytes. Sites that read their queries as Windows-1252 take a euro
// sign or a typographic dash as these bytes.
struct HighByte {
  char16_t character;
  std::uint8_t byte;
};

constexpr HighByte kWindows1252High[] = {
    {0x0152, 0x8C}, {0x0153, 0x9C}, {0x0160, 0x8A}, {0x0161, 0x9A},
    {0x0178, 0x9F}, {0x017D, 0x8E}, {0x017E, 0x9E}, {0x0192, 0x83},
    {0x02C6, 0x88}, {0x02DC, 0x98}, {0x2013, 0x96}, {0x2014, 0x97},
    {0x2018, 0x91}, {0x2019, 0x92}, {0x201A, 0x82}, {0x201C, 0x93},
    {0x201D, 0x94}, {0x201E, 0x84}, {0x2020, 0x86}, {0x2021, 0x87},
    {0x2022, 0x95}, {0x2026, 0x85}, {0x2030, 0x89}, {0x2039, 0x8B},
    {0x203A, 0x9B}, {0x20AC, 0x80}, {0x2122, 0x99},
};

constexpr bool SortedByCharacter() {
  for (std::size_t i = 1; i < std::size(kWindows1252High); ++i) {
    if (kWindows1252High[i - 1].character >= kWindows1252High[i].character) {
      return false;
    }
  }
  return true;
}
static_assert(SortedByCharacter(), "the lookup below searches by halves");

// The byte that stands for `c` in the classic form: up to U+00FF its own
// number, then the Windows-1252 byte of the characters that have one, and
// a space for every other character.
unsigned ClassicByte(char16_t c) {
  if (c <= 0xFF) return c;
  if (c < kWindows1252High[0].character) return 0x20;
  const HighByte* end = std::end(kWindows1252High);
  const HighByte* at = std::lower_bound(
      std::begin(kWindows1252High), end, c,
      [](const HighByte& h, char16_t wanted) { return h.character < wanted; });
  return at != end && at->character == c ? at->byte : 0x20;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

// The code point that starts at text[*i], advancing *i past it. A lone
// surrogate reads as U+FFFD.
char32_t NextCodePoint(std::u16string_view text, std::size_t* i) {
  const char16_t c = text[(*i)++];
  if (IsHighSurrogate(c) && *i < text.size() && IsLowSurrogate(text[*i])) {
    return 0x10000 + ((char32_t{c} - 0xD800) << 10) + (text[(*i)++] - 0xDC00);
  }
  if (IsHighSurrogate(c) || IsLowSurrogate(c)) return 0xFFFD;
  return c;
}

// Both encoders measure their output first and then write it in place: a
// page-sized selection is encoded several times faster than by growing the
// string.
std::size_t EncodedSize(std::u16string_view text) {
  std::size_t size = 0;
  for (const char16_t c : text) size += kEncodedBytes[ClassicByte(c)].size;
  return size;
}

std::size_t EncodedUtf8Size(std::u16string_view text) {
  std::size_t size = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, &i);
    if (c < 0x80) size += kEncodedBytes[c].size;
    else if (c < 0x800) size += 6;
    else if (c < 0x10000) size += 9;
    else size += 12;
  }
  return size;
}

}  // namespace

bool IsUnreservedUrlChar(char16_t c) { return c <= 0xFF && kEncodedBytes[c].size == 1; }

void AppendPercentEncoded(std::u16string_view text, std::u16string* out) {
  const std::size_t start = out->size();
  const std::size_t size = EncodedSize(text);
  out->resize(start + size + 2);
  char16_t* p = out->data() + start;
  for (const char16_t c : text) p = WriteByte(ClassicByte(c), p);
  out->resize(start + size);
}

void AppendPercentEncodedUtf8(std::u16string_view text, std::u16string* out) {
  const std::size_t start = out->size();
  const std::size_t size = EncodedUtf8Size(text);
  out->resize(start + size + 2);
  char16_t* p = out->data() + start;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t c = NextCodePoint(text, &i);
    if (c < 0x80) {
      p = WriteByte(c, p);
    } else if (c < 0x800) {
      p = WriteByte(0xC0 | (c >> 6), p);
      p = WriteByte(0x80 | (c & 0x3F), p);
    } else if (c < 0x10000) {
      p = WriteByte(0xE0 | (c >> 12), p);
      p = WriteByte(0x80 | ((c >> 6) & 0x3F), p);
      p = WriteByte(0x80 | (c & 0x3F), p);
    } else {
      p = WriteByte(0xF0 | (c >> 18), p);
      p = WriteByte(0x80 | ((c >> 12) & 0x3F), p);
      p = WriteByte(0x80 | ((c >> 6) & 0x3F), p);
      p = WriteByte(0x80 | (c & 0x3F), p);
    }
  }
  out->resize(start + size);
}

std::u16string PercentEncode(std::u16string_view text) {
  std::u16string out;
  AppendPercentEncoded(text, &out);
  return out;
}

std::u16string PercentEncodeUtf8(std::u16string_view text) {
  std::u16string out;
  AppendPercentEncodedUtf8(text, &out);
  return out;
}

}  // namespace qm
