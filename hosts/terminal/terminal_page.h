// The browser as the terminal host plays it: a page built from the page
// options, whose window-opening, navigation and link clicks are logged. The
// menu command hands the logged addresses on to the user's browser after the
// command has run, where a failure can still be told.
#pragma once

#include <memory>
#include <optional>

#include "action_log.h"
#include "host/browser_window.h"
#include "page_options.h"

namespace qm {

class TerminalWindow;

class TerminalPage final : public MenuArguments {
 public:
  TerminalPage(const PageOptions& options, ActionLog& log);

  // The page or frame the menu is opened on.
  std::shared_ptr<BrowserWindow> Window() override;
  WindowHandle BrowserFrame() override { return 0; }
  // The link of --link and --link-href, when --link was given.
  std::optional<MenuLink> LinkUnderMenu() override { return link_; }

 private:
  std::optional<MenuLink> link_;
  std::shared_ptr<TerminalWindow> top_;
  std::shared_ptr<TerminalWindow> page_;
};

}  // namespace qm
