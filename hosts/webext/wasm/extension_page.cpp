#include "extension_page.h"

#include <string>

#include "extension_bridge.h"
#include "text/json_writer.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::optional<std::u16string> Wide(std::string_view key) {
  const std::optional<std::string> text = RequestString(key);
  if (!text) return std::nullopt;
  return FromUtf8(*text);
}

class ExtensionElement final : public BrowserElement {
 public:
  std::optional<std::u16string> TagName() override { return Wide("active.tag"); }
  std::optional<std::u16string> OuterHtml() override { return Wide("active.outerHtml"); }
  std::optional<std::u16string> InnerText() override { return Wide("active.innerText"); }
};

class ExtensionSelection final : public BrowserTextRange {
 public:
  std::optional<std::u16string> Text() override { return Wide("selection.text"); }
  std::optional<std::u16string> HtmlText() override { return Wide("selection.html"); }
};

// `which` is "frame" or "top": the window whose document this is.
class ExtensionDocument final : public BrowserDocument {
 public:
  explicit ExtensionDocument(std::string which) : which_(std::move(which)) {}

  std::optional<std::u16string> Title() override { return Wide(which_ + ".title"); }

  // The selection is the frame's: the one the menu was opened on.
  std::unique_ptr<BrowserTextRange> SelectionRange() override {
    if (which_ != protocol::kWindowFrame || !RequestString("selection.text")) return nullptr;
    return std::make_unique<ExtensionSelection>();
  }

  std::unique_ptr<BrowserElement> ActiveElement() override {
    if (which_ != protocol::kWindowFrame || !RequestString("active.tag")) return nullptr;
    return std::make_unique<ExtensionElement>();
  }

  bool InsertLink(const FollowedLink& link) override {
    return AnswerDone(AskExtension(Request(protocol::kRequestInsert)
                                       .Key(protocol::kFieldId).String(link.id)
                                       .Key(protocol::kFieldHref).String(link.address)
                                       .Key(protocol::kFieldTarget).String(link.target)
                                       .Key(protocol::kFieldText).String(link.text)
                                       .EndObject()
                                       .text()));
  }
  bool ClickAnchor(const std::u16string& name) override {
    return AnswerDone(AskExtension(Request(protocol::kRequestClickAnchor)
                                       .Key(protocol::kFieldName)
                                       .String(name)
                                       .EndObject()
                                       .text()));
  }
  bool RemoveElements(const std::u16string& id) override {
    return AnswerDone(AskExtension(
        Request(protocol::kRequestRemove).Key(protocol::kFieldId).String(id).EndObject().text()));
  }

 private:
  JsonWriter Request(const char* kind) const {
    JsonWriter json = BeginRequest(kind);
    json.Key(protocol::kFieldWindow).String(which_);
    return json;
  }

  std::string which_;
};

// A window the extension opened for the core: a tab or a window of its own,
// known by the id the extension gave it.
class OpenedWindow final : public BrowserWindow {
 public:
  OpenedWindow(std::string id, std::u16string address, std::u16string name)
      : id_(std::move(id)), address_(std::move(address)), name_(std::move(name)) {}

  std::shared_ptr<BrowserWindow> Top() override { return nullptr; }
  std::optional<std::u16string> Name() override { return name_; }
  std::optional<std::u16string> LocationHref() override { return address_; }
  std::optional<std::u16string> LocationHostname() override { return std::nullopt; }
  std::shared_ptr<BrowserDocument> Document() override { return nullptr; }
  bool ScreenAvailSize(int*, int*) override { return false; }
  std::shared_ptr<BrowserWindow> Open(const std::u16string&, const std::u16string&,
                                      const std::u16string&) override {
    return nullptr;
  }
  void BringToFront() override {
    JsonWriter json = BeginRequest(protocol::kRequestFocus);
    json.Key(protocol::kFieldWindow).String(id_).EndObject();
    AskExtension(json.text());
  }
  bool Navigate(const std::u16string&) override { return false; }

 private:
  std::string id_;
  std::u16string address_;
  std::u16string name_;
};

class ExtensionWindow final : public BrowserWindow,
                              public std::enable_shared_from_this<ExtensionWindow> {
 public:
  // `which` is "frame" or "top"; the frame's top is `top`, the top's is
  // itself (null `top`).
  ExtensionWindow(std::string which, std::shared_ptr<BrowserWindow> top)
      : which_(std::move(which)), top_(std::move(top)),
        document_(std::make_shared<ExtensionDocument>(which_)) {}

  std::shared_ptr<BrowserWindow> Top() override {
    if (top_) return top_;
    return shared_from_this();
  }
  std::optional<std::u16string> Name() override { return Wide(which_ + ".name"); }
  std::optional<std::u16string> LocationHref() override { return Wide(which_ + ".href"); }
  std::optional<std::u16string> LocationHostname() override {
    return Wide(which_ + ".hostname");
  }
  std::shared_ptr<BrowserDocument> Document() override { return document_; }

  bool ScreenAvailSize(int* width, int* height) override {
    const std::optional<double> w = RequestNumber("screen.availWidth");
    const std::optional<double> h = RequestNumber("screen.availHeight");
    if (!w || !h) return false;
    *width = static_cast<int>(*w);
    *height = static_cast<int>(*h);
    return true;
  }

  std::shared_ptr<BrowserWindow> Open(const std::u16string& url, const std::u16string& name,
                                      const std::u16string& features) override {
    using namespace protocol;
    JsonWriter json = BeginRequest(kRequestOpen);
    json.Key(kFieldUrl).String(url)
        .Key(kFieldName).String(name)
        .Key(kFieldFeatures).String(features)
        .EndObject();
    std::string id = AskExtension(json.text());
    if (id.empty()) return nullptr;
    return std::make_shared<OpenedWindow>(std::move(id), url, name);
  }

  void BringToFront() override {
    JsonWriter json = BeginRequest(protocol::kRequestFocus);
    json.Key(protocol::kFieldWindow).String(protocol::kWindowPage).EndObject();
    AskExtension(json.text());
  }

  bool Navigate(const std::u16string& url) override {
    JsonWriter json = BeginRequest(protocol::kRequestNavigate);
    json.Key(protocol::kFieldWindow).String(which_)
        .Key(protocol::kFieldUrl).String(url)
        .EndObject();
    return AnswerDone(AskExtension(json.text()));
  }

 private:
  std::string which_;
  std::shared_ptr<BrowserWindow> top_;
  std::shared_ptr<BrowserDocument> document_;
};

}  // namespace

std::optional<MenuLink> ExtensionPage::LinkUnderMenu() {
  std::optional<std::u16string> address = Wide("link.href");
  if (!address) return std::nullopt;
  return MenuLink{std::move(*address), Wide("link.text").value_or(u""),
                  Wide("link.html").value_or(u"")};
}

ExtensionPage::ExtensionPage() {
  // On the page itself the frame is its own top window.
  if (RequestNumber("frame.isTop").value_or(1) != 0) {
    frame_ = std::make_shared<ExtensionWindow>(protocol::kWindowFrame, nullptr);
  } else {
    frame_ = std::make_shared<ExtensionWindow>(
        protocol::kWindowFrame, std::make_shared<ExtensionWindow>(protocol::kWindowTop, nullptr));
  }
}

}  // namespace qm
