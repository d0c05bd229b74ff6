// The port through which the core reads the browser's page: the window the
// menu was opened on, its top-level window, their documents and the
// selection. Every read may fail; a failed read and a null value look the
// same to the core (std::nullopt or nullptr).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace qm {

// The browser's main window as the platform knows it; the core only passes
// it on to the Desktop port. 0 is no window.
using WindowHandle = std::uintptr_t;

// An element of a page (the document's active element).
class BrowserElement {
 public:
  virtual ~BrowserElement() = default;
  virtual std::optional<std::u16string> TagName() = 0;   // "A", "P", ...
  virtual std::optional<std::u16string> OuterHtml() = 0;
  virtual std::optional<std::u16string> InnerText() = 0;
};

// The selection of a document as a text range.
class BrowserTextRange {
 public:
  virtual ~BrowserTextRange() = default;
  virtual std::optional<std::u16string> Text() = 0;
  virtual std::optional<std::u16string> HtmlText() = 0;
};

// The link that FollowHref has the browser follow. The texts are as they
// are, never escaped: the adapter puts them into the page as an anchor's
// attributes and text, so that no value can add markup of its own.
struct FollowedLink {
  std::u16string id;       // the anchor's id, by which ClickAnchor finds it
  std::u16string address;  // where it leads (href)
  std::u16string target;   // the window it opens in (target)
  std::u16string text;     // what it shows

  bool operator==(const FollowedLink&) const = default;
};

class BrowserDocument {
 public:
  virtual ~BrowserDocument() = default;
  virtual std::optional<std::u16string> Title() = 0;
  // The selection as a text range; nullptr when nothing is selected as text
  // (a selected image or control is no text range).
  virtual std::unique_ptr<BrowserTextRange> SelectionRange() = 0;
  virtual std::unique_ptr<BrowserElement> ActiveElement() = 0;

  // Inserts `link` as an anchor at the end of the document's body. False
  // when there is no body or the browser refuses the anchor.
  virtual bool InsertLink(const FollowedLink& link) = 0;
  // Finds the first anchor bearing `name` (document.anchors.item(name, 0))
  // and clicks it, which follows its link in its target window. False when
  // there is no such anchor or it cannot be clicked.
  virtual bool ClickAnchor(const std::u16string& name) = 0;
  // Removes every element whose id is `id` from the document. False when
  // the document cannot be changed; true when none was there.
  virtual bool RemoveElements(const std::u16string& id) = 0;
};

// A browser window: the page or frame the menu was opened on, or its top.
class BrowserWindow {
 public:
  virtual ~BrowserWindow() = default;
  // window.top: the top-level window, which may be this window itself.
  virtual std::shared_ptr<BrowserWindow> Top() = 0;
  virtual std::optional<std::u16string> Name() = 0;
  virtual std::optional<std::u16string> LocationHref() = 0;
  virtual std::optional<std::u16string> LocationHostname() = 0;
  virtual std::shared_ptr<BrowserDocument> Document() = 0;
  // screen.availWidth and screen.availHeight; false when the window has no
  // screen object.
  virtual bool ScreenAvailSize(int* width, int* height) = 0;

  // window.open(url, name, features, false): the new or reused window, or
  // nullptr when the browser gives none back.
  virtual std::shared_ptr<BrowserWindow> Open(const std::u16string& url,
                                              const std::u16string& name,
                                              const std::u16string& features) = 0;
  // Makes the browser frame that shows this window the foreground window.
  // Failures are silent.
  virtual void BringToFront() = 0;
  // window.navigate(url); false when the browser refuses it.
  virtual bool Navigate(const std::u16string& url) = 0;
};

// The link the menu was opened on, as the page has it. Every text is page
// text: the core bounds it before use and never runs it.
struct MenuLink {
  std::u16string address;  // where it leads (href), as the browser resolved it
  std::u16string text;     // what it shows (innerText)
  std::u16string html;     // its element (outerHTML); may be empty

  bool operator==(const MenuLink&) const = default;
};

// What the script page hands to the component: the window object of the
// page or frame under the mouse.
class MenuArguments {
 public:
  virtual ~MenuArguments() = default;
  // The window, or nullptr when the object is none.
  virtual std::shared_ptr<BrowserWindow> Window() = 0;
  // The browser's main window, or 0 when the browser does not say.
  virtual WindowHandle BrowserFrame() = 0;
  // The link under the mouse when the menu was opened (the element there or
  // the nearest of its ancestors that is a link), or nullopt when the menu
  // was opened elsewhere or the browser does not say.
  virtual std::optional<MenuLink> LinkUnderMenu() = 0;
};

}  // namespace qm
