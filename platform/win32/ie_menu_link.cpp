#include "ie_menu_link.h"

#include <windows.h>
#include <mshtml.h>

#include <string>
#include <utility>

#include "com_ptr.h"
#include "ie_reads.h"

namespace qm {
namespace {

// Pages nest deeper than this only by accident or on purpose; a link is
// never that far above the text it holds.
constexpr int kMaxAncestors = 256;

bool IsAnchorTag(const std::optional<std::u16string>& tag) {
  return tag && tag->size() == 1 && ((*tag)[0] == u'A' || (*tag)[0] == u'a');
}

// The link `element` is, when it is an anchor with an address; an "A"
// that only names a place in the page is no link.
std::optional<MenuLink> LinkOf(const ComPtr<IHTMLElement>& element) {
  if (!IsAnchorTag(ReadBstr(element.get(), &IHTMLElement::get_tagName))) return std::nullopt;
  const ComPtr<IHTMLAnchorElement> anchor = element.As<IHTMLAnchorElement>();
  std::optional<std::u16string> address = ReadBstr(anchor.get(), &IHTMLAnchorElement::get_href);
  if (!address || address->empty()) return std::nullopt;
  return MenuLink{std::move(*address),
                  ReadBstr(element.get(), &IHTMLElement::get_innerText).value_or(u""),
                  ReadBstr(element.get(), &IHTMLElement::get_outerHTML).value_or(u"")};
}

}  // namespace

std::optional<MenuLink> LinkUnderMouse(IHTMLWindow2* window) noexcept {
  return NoThrow([&]() -> std::optional<MenuLink> {
    if (window == nullptr) return std::nullopt;
    ComPtr<IHTMLEventObj> event;
    if (FAILED(window->get_event(event.receive())) || !event) return std::nullopt;
    ComPtr<IHTMLElement> element;
    if (FAILED(event->get_srcElement(element.receive()))) return std::nullopt;
    for (int step = 0; element && step <= kMaxAncestors; ++step) {
      if (std::optional<MenuLink> link = LinkOf(element)) return link;
      ComPtr<IHTMLElement> parent;
      if (FAILED(element->get_parentElement(parent.receive()))) return std::nullopt;
      element = std::move(parent);
    }
    return std::nullopt;
  });
}

}  // namespace qm
