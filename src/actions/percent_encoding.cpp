#include "actions/percent_encoding.h"

#include <array>
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

// The byte that stands for `c` in the classic form: above U+00FF, a space.
unsigned ClassicByte(char16_t c) { return c > 0xFF ? 0x20 : c; }

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
