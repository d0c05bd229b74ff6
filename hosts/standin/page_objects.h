// The page that the stand-in shows, as the browser's scripting objects: the
// window (IHTMLWindow2 with IServiceProvider for the browser service), its
// location, screen and document, the selection as a text range, elements
// and the anchors of the page. The module reaches the page only through
// these. What would change the world is written to the event log instead:
// a window opened, a link followed, an address navigated to.
#pragma once

#include <windows.h>
#include <mshtml.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "com_ptr.h"

namespace qm::standin {

// One line per event, "<kind> <detail>", flushed at once so that a test
// sees every line written before a failure. No file: nothing is written.
class EventLog {
 public:
  explicit EventLog(const std::wstring& path);
  ~EventLog();
  EventLog(const EventLog&) = delete;
  EventLog& operator=(const EventLog&) = delete;
  bool ok() const { return path_empty_ || file_ != nullptr; }
  void Write(std::string_view kind, std::wstring_view detail);

 private:
  bool path_empty_;
  FILE* file_ = nullptr;
};

struct PageData {
  std::wstring address, title, name;
  std::wstring link_href, link_text;  // no link when link_href is empty
};

// What the page window shows at the moment, read at each call: the text
// box with its selection, and whether the menu was opened on the link.
struct PageView {
  HWND frame = nullptr;     // the browser's main window, owner of dialogs
  HWND text_box = nullptr;  // none for a frame without text
  bool on_anchor = false;
};

// The window object of a page. `top` is the top-level page's window for a
// frame, null for the top-level page itself. `view` and `log` outlive it.
ComPtr<IHTMLWindow2> MakePageWindow(const PageData& page, const PageView* view,
                                    EventLog* log, IHTMLWindow2* top);

}  // namespace qm::standin
