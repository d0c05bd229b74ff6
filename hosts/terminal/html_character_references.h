// HTML character references (&amp;, &euro;, &#8364;, &#x20AC;) in the text
// of the pages the terminal host reads, decoded as a browser decodes them
// before the selection reaches the menu.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace qm {

// One named reference: its name without the "&", with the ";" when the name
// has one ("amp;"), and the one or two characters it stands for (`second`
// is 0 for one). The legacy names that browsers also take without the ";"
// are listed twice, with and without it.
struct NamedCharacterReference {
  std::string_view name;
  char32_t first;
  char32_t second;
};

// Every named reference of HTML, sorted by name byte by byte.
std::span<const NamedCharacterReference> NamedCharacterReferences();

// The reference named exactly `name` ("amp;", "amp"), or null.
const NamedCharacterReference* FindNamedCharacterReference(std::string_view name);

// Where the text stands: an attribute value keeps a legacy name without its
// ";" as written when a letter, digit or "=" follows it, so that
// "?a=1&copy=2" in an address stays an address.
enum class HtmlTextKind { kContent, kAttributeValue };

// `html` with every character reference decoded:
// - named ones, the longest name that matches, with or without the ";"
//   where HTML allows it ("&notit;" is "¬it;");
// - decimal and hexadecimal ones ("&#8364;", "&#x20ac;"; the ";" may be
//   missing), where 0, surrogates and numbers above 0x10FFFF give U+FFFD and
//   0x80..0x9F give the Windows-1252 characters of those bytes ("&#128;" is
//   the euro sign).
// An unknown name, an "&" without a name or "&#" without digits stays as
// written. Time and memory are linear in the length of `html`, however long
// a name or number is.
std::u16string DecodeHtmlEntities(std::u16string_view html,
                                  HtmlTextKind kind = HtmlTextKind::kContent);

}  // namespace qm
