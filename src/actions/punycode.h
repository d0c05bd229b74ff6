// Punycode (RFC 3492): the ASCII form in which a host name label beyond
// ASCII travels ("bücher" is "xn--bcher-kva" in a host name). Used to
// compare a host a user typed in its own script with the rules of the
// public-suffix table, which hold every label in this form.
#pragma once

#include <string>
#include <string_view>

namespace qm {

// Appends the punycode of `label` to *out, without the "xn--" prefix, and
// returns true. ASCII characters are copied as they are (fold them first if
// case matters). Returns false, leaving *out as it was, for a label of more
// than 63 code points (no host name label is that long, and the encoding
// takes time in the square of the length) or one holding a lone surrogate.
//   EncodePunycode(u"bücher", &out) -> true, out == "bcher-kva"
//   EncodePunycode(u"香港", &out)   -> true, out == "j6w193g"
bool EncodePunycode(std::u16string_view label, std::string* out);

}  // namespace qm
