// The page the menu was opened on, as the extension's content script read
// it: the frame under the mouse, its top-level window, the selection and
// the active element come from the click's request; opening windows,
// navigating and the link inserted to be followed are requests to the
// extension, which carries them out in the tab.
#pragma once

#include <memory>
#include <optional>

#include "host/browser_window.h"

namespace qm {

class ExtensionPage final : public MenuArguments {
 public:
  ExtensionPage();

  // The frame under the mouse; the top window when the menu was opened on
  // the page itself.
  std::shared_ptr<BrowserWindow> Window() override { return frame_; }
  WindowHandle BrowserFrame() override { return 0; }
  // The link of the click ("link.href", its text and element), when the
  // menu was opened on one.
  std::optional<MenuLink> LinkUnderMenu() override;

 private:
  std::shared_ptr<BrowserWindow> frame_;
};

}  // namespace qm
