#include "ie_anchor_markup.h"

#include <string_view>

namespace qm {
namespace {

// The characters that could end an attribute value in either quotes, or
// start markup, and how each is written instead.
struct CharacterReference {
  char16_t character;
  std::u16string_view reference;
};
constexpr CharacterReference kEscaped[] = {
    {u'&', u"&amp;"}, {u'<', u"&lt;"}, {u'>', u"&gt;"}, {u'"', u"&quot;"}, {u'\'', u"&#39;"},
};

// Fit for an attribute value in double or single quotes, and for the text
// of an element.
std::u16string EscapeHtmlAttribute(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (const char16_t c : text) {
    const CharacterReference* found = nullptr;
    for (const CharacterReference& escaped : kEscaped) {
      if (escaped.character == c) found = &escaped;
    }
    if (found != nullptr) {
      out += found->reference;
    } else {
      out.push_back(c);
    }
  }
  return out;
}

}  // namespace

std::u16string AnchorMarkup(const FollowedLink& link) {
  std::u16string html = u"<A ID=\"";
  html += EscapeHtmlAttribute(link.id);
  html += u"\" HREF=\"";
  html += EscapeHtmlAttribute(link.address);
  html += u"\" TARGET=\"";
  html += EscapeHtmlAttribute(link.target);
  html += u"\">";
  html += EscapeHtmlAttribute(link.text);
  html += u"</A>";
  return html;
}

}  // namespace qm
