// Fixed character classes. The C library's classifications depend on the
// platform and on the process locale; these tables do not, so a selection is
// tidied and scanned the same way on every machine.
#pragma once

namespace qm {

// The tables beyond ASCII; the inline tests below answer ASCII themselves,
// since scanners ask for every character of megabyte selections.
namespace char_class_tables {
bool IsSpaceBeyondAscii(char16_t c);
bool IsDigitBeyondAscii(char16_t c);
bool IsLowerBeyondAscii(char16_t c);
}  // namespace char_class_tables

// The Unicode White_Space characters of the Basic Multilingual Plane:
// U+0009..U+000D, U+0020, U+0085, U+00A0, U+1680, U+2000..U+200A, U+2028,
// U+2029, U+202F, U+205F and U+3000. Web pages are full of U+00A0.
inline bool IsWideSpace(char16_t c) {
  if (c < 0x80) return c == u' ' || (c >= u'\t' && c <= u'\r');
  return char_class_tables::IsSpaceBeyondAscii(c);
}

// Decimal digits of every script in the Basic Multilingual Plane (Unicode
// category Nd): "0".."9", Arabic-Indic, Devanagari, fullwidth and so on.
// Callers that compute with digits accept only "0".."9" themselves.
inline bool IsWideDigit(char16_t c) {
  if (c < 0x80) return c >= u'0' && c <= u'9';
  return char_class_tables::IsDigitBeyondAscii(c);
}

// Lower-case letters: a-z, the Latin-1 and Latin Extended-A lower-case
// letters, Greek and Cyrillic small letters and fullwidth a-z.
inline bool IsWideLower(char16_t c) {
  if (c < 0x80) return c >= u'a' && c <= u'z';
  return char_class_tables::IsLowerBeyondAscii(c);
}

// The C locale's isspace for one byte: space, tab, LF, VT, FF, CR.
constexpr bool IsAsciiSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// "0".."9" only.
constexpr bool IsAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

}  // namespace qm
