// Percent-encoding of the values that templates insert into addresses.
// Two forms: the classic one, in which a character is one byte of
// Windows-1252, and UTF-8, which most sites expect today.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// The unreserved characters of RFC 2396, which are never encoded: A-Z, a-z,
// 0-9 and - _ . ! ~ * ' ( ).
bool IsUnreservedUrlChar(char16_t c);

// Encodes `text` character by character: unreserved characters stay as they
// are, every other character from U+0000 to U+00FF becomes "%" and two
// upper-case hexadecimal digits of its number, and the 27 characters that
// Windows-1252 holds in 0x80..0x9F (euro sign, typographic quotes and
// dashes, and so on) become their byte there. Any other character above
// U+00FF (each half of a surrogate pair included) becomes "%20": it has no
// byte in this form. A space is always "%20", never "+".
//   PercentEncode(u"a b&c")     == u"a%20b%26c"
//   PercentEncode(u"caf\u00E9") == u"caf%E9"
//   PercentEncode(u"\u20AC\u2013") == u"%80%96"
//   PercentEncode(u"\u4E2D")    == u"%20"
std::u16string PercentEncode(std::u16string_view text);

// Encodes the UTF-8 bytes of `text`: unreserved characters stay, every other
// byte becomes "%" and two upper-case hexadecimal digits. A lone surrogate
// counts as U+FFFD.
//   PercentEncodeUtf8(u"caf\u00E9") == u"caf%C3%A9"
//   PercentEncodeUtf8(u"\u4E2D")    == u"%E4%B8%AD"
std::u16string PercentEncodeUtf8(std::u16string_view text);

// The same encodings, appended to *out.
void AppendPercentEncoded(std::u16string_view text, std::u16string* out);
void AppendPercentEncodedUtf8(std::u16string_view text, std::u16string* out);

}  // namespace qm
