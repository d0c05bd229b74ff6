// What one menu command knows about the browser: read once when the command
// starts, then read by every later step instead of the browser.
#pragma once

#include <memory>
#include <string>

#include "host/browser_window.h"
#include "host/module_environment.h"

namespace qm {

struct CurrencyInfo;

class RequestContext {
 public:
  // An empty context: no windows, empty texts, 640 x 480, nothing looked up
  // yet. `environment` must outlive the context.
  explicit RequestContext(const ModuleEnvironment& environment)
      : environment_(&environment) {}
  RequestContext(const RequestContext&) = delete;
  RequestContext& operator=(const RequestContext&) = delete;
  // Members go in reverse order: the window before its top.
  ~RequestContext() = default;

  // Fills the context from the menu arguments; see BuildRequestContext.
  friend bool BuildRequestContext(RequestContext& context,
                                  MenuArguments* arguments);

  const ModuleEnvironment& environment() const { return *environment_; }

  // The page or frame the menu was opened on, and its top-level window.
  const std::shared_ptr<BrowserWindow>& window() const { return window_; }
  const std::shared_ptr<BrowserWindow>& topWindow() const { return topWindow_; }
  // The browser's main window: the owner of every dialog. 0 when unknown.
  WindowHandle browserWindow() const { return browserWindow_; }

  const std::u16string& selectedText() const { return selectedText_; }
  const std::u16string& selectedHtml() const { return selectedHtml_; }
  const std::u16string& pageHref() const { return pageHref_; }
  const std::u16string& pageName() const { return pageName_; }
  const std::u16string& pageHost() const { return pageHost_; }
  const std::u16string& pageTitle() const { return pageTitle_; }
  const std::u16string& topHref() const { return topHref_; }
  const std::u16string& topName() const { return topName_; }
  const std::u16string& topHost() const { return topHost_; }
  const std::u16string& topTitle() const { return topTitle_; }
  int availWidth() const { return availWidth_; }
  int availHeight() const { return availHeight_; }
  // The address of the link the menu was opened on; empty when it was
  // opened elsewhere (or on a link without one).
  const std::u16string& linkHref() const { return linkHref_; }

  // selectedText with white space tidied: leading and trailing white space
  // dropped, each inner run of it made one U+0020 (IsWideSpace decides).
  //   "  two  words\n" -> "two words"
  std::u16string NormalisedSelection() const;

  // Makes `text` the selection, as the user confirmed it. The selection's
  // HTML and the cached ISBN and UPC stay as they are.
  void SetSelectedText(std::u16string text) { selectedText_ = std::move(text); }

  // Makes `address` the address of the page and of its top window, with
  // the host name in it (HostOfAddress), so that every placeholder of an
  // address (!u !U !h !H !d !D) stands for it. Names and titles stay.
  void SetPageAddress(const std::u16string& address);

  // Caches of the recognisers: each search runs at most once per command.
  bool isbnLooked() const { return isbnLooked_; }
  const std::u16string& foundISBN() const { return foundISBN_; }
  void SetFoundISBN(std::u16string isbn) {
    foundISBN_ = std::move(isbn);
    isbnLooked_ = true;
  }
  bool upcLooked() const { return upcLooked_; }
  const std::u16string& foundUPC() const { return foundUPC_; }
  void SetFoundUPC(std::u16string upc) {
    foundUPC_ = std::move(upc);
    upcLooked_ = true;
  }

  // The currencies of the request (rows of the currency table), or null
  // while not yet decided. See recognisers/currency_context.h.
  const CurrencyInfo* sourceCurrencyField() const { return sourceCurrency_; }
  const CurrencyInfo* targetCurrencyField() const { return targetCurrency_; }
  void SetSourceCurrencyField(const CurrencyInfo* c) { sourceCurrency_ = c; }
  void SetTargetCurrencyField(const CurrencyInfo* c) { targetCurrency_ = c; }

 private:
  const ModuleEnvironment* environment_;
  std::shared_ptr<BrowserWindow> topWindow_;
  std::shared_ptr<BrowserWindow> window_;
  WindowHandle browserWindow_ = 0;
  std::u16string selectedText_;
  std::u16string selectedHtml_;
  std::u16string pageHref_;
  std::u16string pageName_;
  std::u16string pageHost_;
  std::u16string pageTitle_;
  std::u16string topHref_;
  std::u16string topName_;
  std::u16string topHost_;
  std::u16string topTitle_;
  int availWidth_ = 640;
  int availHeight_ = 480;
  std::u16string linkHref_;
  std::u16string foundISBN_;
  bool isbnLooked_ = false;
  std::u16string foundUPC_;
  bool upcLooked_ = false;
  const CurrencyInfo* targetCurrency_ = nullptr;
  const CurrencyInfo* sourceCurrency_ = nullptr;
};

// Reads the page once, in this order: the window (required: false when the
// arguments are null or no window), its top (required), the browser's main
// window, the available screen size (top window's screen, else the work
// area, else 640 x 480), the names, addresses, host names and titles of
// both windows, the link under the menu, then the selection's text and
// HTML. When either is still empty, the link under the menu stands in with
// its text and element; with no link there, the document's active element
// does when it is an "A" or "P" element, with its inner text and outer
// HTML. A failed optional read leaves its field empty. No text is trimmed.
bool BuildRequestContext(RequestContext& context, MenuArguments* arguments);

}  // namespace qm
