// The browser port over the IE document object model: the menu-arguments
// object that the script page hands to Click, the windows it leads to
// (IHTMLWindow2), their documents, and the browser frame (IWebBrowser2)
// found through IServiceProvider.
#pragma once

#include <functional>
#include <memory>

#include "host/browser_window.h"

struct IUnknown;

namespace qm {

// How BringToFront makes a browser frame the foreground window.
using MakeForeground = std::function<void(WindowHandle frame)>;

// The menu arguments over `menu_arguments` (external.menuArguments as
// Click receives it), keeping a reference of its own for as long as the
// adapter lives; the caller keeps its own. Window() is the object's
// IHTMLWindow2, or nullptr when it has none (or `menu_arguments` is null);
// BrowserFrame() is the frame window of the browser the object answers for,
// or 0; LinkUnderMenu() the link under the mouse of the window's event (see
// LinkUnderMouse). Never returns nullptr; may throw std::bad_alloc.
//
// BringToFront on its windows hands the frame to `make_foreground`; empty
// means SetForegroundWindow. Tests stand in for it: without a display there
// is no window to bring forward.
//
// REQUIRES: the adapter and everything it gives out are used on the thread
// that called Click, and released before Click returns.
std::unique_ptr<MenuArguments> MakeIeMenuArguments(IUnknown* menu_arguments,
                                                   MakeForeground make_foreground = {});

}  // namespace qm
