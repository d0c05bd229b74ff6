// The link a menu was opened on, read from the IE document object model:
// the menu arguments' window carries the event of the right-click, whose
// source element is the element under the mouse.
#pragma once

#include <optional>

#include "host/browser_window.h"

struct IHTMLWindow2;

namespace qm {

// The link under the mouse of the event that `window` is handling (the
// context-menu event while a menu entry runs): its source element or the
// nearest ancestor that is an "A" element with an address, with that
// address (as IE resolved it), its inner text and outer HTML. nullopt when
// `window` is null, has no event, or no link is there. Never throws.
std::optional<MenuLink> LinkUnderMouse(IHTMLWindow2* window) noexcept;

}  // namespace qm
