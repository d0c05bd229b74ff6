// The browser as the terminal host plays it: a page built from the page
// options, whose window-opening, navigation and link clicks are logged and,
// when asked, handed to the user's browser.
#pragma once

#include <memory>

#include "action_log.h"
#include "host/browser_window.h"
#include "page_options.h"

namespace qm {

class TerminalWindow;

class TerminalPage final : public MenuArguments {
 public:
  // With `launch` the addresses that windows, navigation and links go to
  // are also handed to the user's browser.
  TerminalPage(const PageOptions& options, ActionLog& log, bool launch);

  // The page or frame the menu is opened on.
  std::shared_ptr<BrowserWindow> Window() override;
  WindowHandle BrowserFrame() override { return 0; }

 private:
  std::shared_ptr<TerminalWindow> top_;
  std::shared_ptr<TerminalWindow> page_;
};

}  // namespace qm
