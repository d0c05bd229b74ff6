#include "terminal_page.h"

#include <vector>

#include "page_options.h"
#include "text/utf8.h"

namespace qm {
namespace {

// The markup the page would hold for a link. It is only read (searched for
// codes, inserted by !O), never shown as markup, so nothing is escaped.
std::u16string LinkMarkup(const std::u16string& text, const std::u16string& href) {
  return u"<A href=\"" + href + u"\">" + text + u"</A>";
}

class TerminalElement final : public BrowserElement {
 public:
  TerminalElement(std::u16string text, std::u16string href)
      : text_(std::move(text)), href_(std::move(href)) {}
  std::optional<std::u16string> TagName() override { return u"A"; }
  std::optional<std::u16string> OuterHtml() override { return LinkMarkup(text_, href_); }
  std::optional<std::u16string> InnerText() override { return text_; }

 private:
  std::u16string text_;
  std::u16string href_;
};

class TerminalRange final : public BrowserTextRange {
 public:
  TerminalRange(std::u16string text, std::u16string html)
      : text_(std::move(text)), html_(std::move(html)) {}
  std::optional<std::u16string> Text() override { return text_; }
  std::optional<std::u16string> HtmlText() override { return html_; }

 private:
  std::u16string text_;
  std::u16string html_;
};

}  // namespace

class TerminalDocument final : public BrowserDocument {
 public:
  TerminalDocument(std::u16string title, ActionLog& log)
      : title_(std::move(title)), log_(log) {}

  std::u16string selection;
  std::u16string selection_html;
  std::optional<std::u16string> link_text;
  std::u16string link_href;

  std::optional<std::u16string> Title() override { return title_; }
  std::unique_ptr<BrowserTextRange> SelectionRange() override {
    if (selection.empty() && selection_html.empty()) return nullptr;
    return std::make_unique<TerminalRange>(selection, selection_html);
  }
  std::unique_ptr<BrowserElement> ActiveElement() override {
    if (!link_text) return nullptr;
    return std::make_unique<TerminalElement>(*link_text, link_href);
  }
  bool InsertLink(const FollowedLink& link) override {
    body_.push_back(link);
    return true;
  }
  bool ClickAnchor(const std::u16string& name) override {
    for (const FollowedLink& link : body_) {
      if (link.id != name) continue;
      log_.Add("link").fields = {{"href", ToUtf8(link.address)},
                                 {"target", ToUtf8(link.target)}};
      return true;
    }
    return false;
  }
  bool RemoveElements(const std::u16string& id) override {
    std::erase_if(body_, [&](const FollowedLink& link) { return link.id == id; });
    return true;
  }

 private:
  std::u16string title_;
  ActionLog& log_;
  std::vector<FollowedLink> body_;
};

class TerminalWindow final : public BrowserWindow,
                             public std::enable_shared_from_this<TerminalWindow> {
 public:
  explicit TerminalWindow(ActionLog& log) : log_(log) {}

  std::weak_ptr<TerminalWindow> top;  // none: its own top
  std::u16string name;
  std::u16string href;
  std::u16string host;
  std::shared_ptr<TerminalDocument> document;
  std::optional<std::pair<int, int>> screen;

  std::shared_ptr<BrowserWindow> Top() override {
    if (const auto t = top.lock()) return t;
    return shared_from_this();
  }
  std::optional<std::u16string> Name() override { return name; }
  std::optional<std::u16string> LocationHref() override { return href; }
  std::optional<std::u16string> LocationHostname() override { return host; }
  std::shared_ptr<BrowserDocument> Document() override { return document; }
  bool ScreenAvailSize(int* width, int* height) override {
    if (!screen) return false;
    *width = screen->first;
    *height = screen->second;
    return true;
  }
  std::shared_ptr<BrowserWindow> Open(const std::u16string& url,
                                      const std::u16string& window_name,
                                      const std::u16string& features) override {
    LoggedEvent& e = log_.Add("open");
    e.fields = {{"url", ToUtf8(url)},
                {"window", ToUtf8(window_name)},
                {"features", ToUtf8(features)}};
    auto opened = std::make_shared<TerminalWindow>(log_);
    opened->href = url;
    opened->name = window_name;
    return opened;
  }
  void BringToFront() override {}
  bool Navigate(const std::u16string& url) override {
    log_.Add("navigate").fields = {{"url", ToUtf8(url)}};
    return true;
  }

 private:
  ActionLog& log_;
};

TerminalPage::TerminalPage(const PageOptions& options, ActionLog& log) {
  const bool framed = !options.top_url.empty() && options.top_url != options.url;
  top_ = std::make_shared<TerminalWindow>(log);
  top_->screen = options.screen;
  top_->href = framed ? options.top_url : options.url;
  top_->host = options.top_host.value_or(HostOfAddress(top_->href));
  top_->name = options.top_name;
  top_->document = std::make_shared<TerminalDocument>(
      options.top_title.empty() && !framed ? options.title : options.top_title,
      log);
  if (framed) {
    page_ = std::make_shared<TerminalWindow>(log);
    page_->top = top_;
    page_->href = options.url;
    page_->host = options.host.value_or(HostOfAddress(options.url));
    page_->name = options.name;
    page_->document = std::make_shared<TerminalDocument>(options.title, log);
  } else {
    page_ = top_;
    if (options.host) page_->host = *options.host;
    if (!options.name.empty()) page_->name = options.name;
  }
  TerminalDocument& document = *page_->document;
  document.selection = options.selection;
  document.selection_html = options.html;
  document.link_text = options.link_text;
  document.link_href = options.link_href;
  if (options.link_text) {
    link_ = MenuLink{options.link_href, *options.link_text,
                     LinkMarkup(*options.link_text, options.link_href)};
  }
}

std::shared_ptr<BrowserWindow> TerminalPage::Window() { return page_; }

}  // namespace qm
