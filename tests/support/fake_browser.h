// A page held in memory: windows, documents, a selection and an active
// element whose every read can be made to fail (std::nullopt / nullptr).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/browser_window.h"

namespace qm {

struct FakeElement final : BrowserElement {
  FakeElement() = default;
  FakeElement(std::optional<std::u16string> tag,
              std::optional<std::u16string> outer,
              std::optional<std::u16string> inner)
      : tag_name(std::move(tag)),
        outer_html(std::move(outer)),
        inner_text(std::move(inner)) {}
  std::optional<std::u16string> tag_name;
  std::optional<std::u16string> outer_html;
  std::optional<std::u16string> inner_text;
  std::optional<std::u16string> TagName() override { return tag_name; }
  std::optional<std::u16string> OuterHtml() override { return outer_html; }
  std::optional<std::u16string> InnerText() override { return inner_text; }
};

struct FakeTextRange final : BrowserTextRange {
  FakeTextRange() = default;
  FakeTextRange(std::optional<std::u16string> t,
                std::optional<std::u16string> html)
      : text(std::move(t)), html_text(std::move(html)) {}
  std::optional<std::u16string> text;
  std::optional<std::u16string> html_text;
  std::optional<std::u16string> Text() override { return text; }
  std::optional<std::u16string> HtmlText() override { return html_text; }
};

struct FakeDocument final : BrowserDocument {
  std::optional<std::u16string> title;
  // The selection as a text range, or none.
  std::optional<FakeTextRange> selection;
  // The active element, or none.
  std::optional<FakeElement> active_element;

  std::optional<std::u16string> Title() override { return title; }
  std::unique_ptr<BrowserTextRange> SelectionRange() override {
    if (!selection) return nullptr;
    return std::make_unique<FakeTextRange>(*selection);
  }
  std::unique_ptr<BrowserElement> ActiveElement() override {
    if (!active_element) return nullptr;
    return std::make_unique<FakeElement>(*active_element);
  }

  // The body as the links inserted into it, in order. A document without
  // a body refuses insertions.
  bool has_body = true;
  bool click_fails = false;
  std::vector<FollowedLink> body;
  // The links clicked, in order.
  std::vector<FollowedLink> clicked;
  // When set, each click is also noted here (see FakeDesktop::journal).
  std::vector<std::string>* journal = nullptr;

  bool InsertLink(const FollowedLink& link) override {
    if (!has_body) return false;
    body.push_back(link);
    return true;
  }
  // The first link bearing the id is the one clicked, as the browser finds
  // the first anchor bearing a name.
  bool ClickAnchor(const std::u16string& name) override {
    for (const FollowedLink& link : body) {
      if (link.id != name) continue;
      if (click_fails) return false;
      clicked.push_back(link);
      if (journal != nullptr) journal->push_back("click");
      return true;
    }
    return false;
  }
  bool RemoveElements(const std::u16string& id) override {
    if (!has_body) return false;
    std::erase_if(body, [&](const FollowedLink& link) { return link.id == id; });
    return true;
  }
};

struct FakeWindow final : BrowserWindow,
                          std::enable_shared_from_this<FakeWindow> {
  // The top-level window; none means this window is its own top.
  std::shared_ptr<FakeWindow> top;
  bool top_fails = false;
  std::optional<std::u16string> name;
  std::optional<std::u16string> href;
  std::optional<std::u16string> hostname;
  std::shared_ptr<FakeDocument> document;  // none: the read fails
  std::optional<std::pair<int, int>> screen;

  std::shared_ptr<BrowserWindow> Top() override {
    if (top_fails) return nullptr;
    if (top) return top;
    return shared_from_this();
  }
  std::optional<std::u16string> Name() override { return name; }
  std::optional<std::u16string> LocationHref() override { return href; }
  std::optional<std::u16string> LocationHostname() override { return hostname; }
  std::shared_ptr<BrowserDocument> Document() override { return document; }
  bool ScreenAvailSize(int* width, int* height) override {
    if (!screen) return false;
    *width = screen->first;
    *height = screen->second;
    return true;
  }

  // window.open calls made on this window, and what they give back.
  struct OpenCall {
    std::u16string url, name, features;
  };
  std::vector<OpenCall> opened;
  bool open_gives_window = true;
  int brought_to_front = 0;
  std::vector<std::u16string> navigated;
  bool navigate_succeeds = true;
  // When set, each window.open and navigation is also noted here (see
  // FakeDesktop::journal).
  std::vector<std::string>* journal = nullptr;

  std::shared_ptr<BrowserWindow> Open(const std::u16string& url,
                                      const std::u16string& window_name,
                                      const std::u16string& features) override {
    opened.push_back({url, window_name, features});
    if (journal != nullptr) journal->push_back("open");
    if (!open_gives_window) return nullptr;
    auto window = std::make_shared<FakeWindow>();
    window->opener_front_count = &brought_to_front;
    return window;
  }
  void BringToFront() override {
    if (opener_front_count != nullptr) ++*opener_front_count;
  }
  bool Navigate(const std::u16string& url) override {
    navigated.push_back(url);
    if (journal != nullptr) journal->push_back("navigate");
    return navigate_succeeds;
  }
  // A window opened by another counts its BringToFront calls there.
  int* opener_front_count = nullptr;
};

struct FakeMenuArguments final : MenuArguments {
  std::shared_ptr<FakeWindow> window;
  WindowHandle frame = 0;
  std::optional<MenuLink> link;  // none: the menu was not opened on a link
  std::shared_ptr<BrowserWindow> Window() override { return window; }
  WindowHandle BrowserFrame() override { return frame; }
  std::optional<MenuLink> LinkUnderMenu() override { return link; }
};

}  // namespace qm
