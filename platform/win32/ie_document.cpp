#include "ie_document.h"

#include <windows.h>
#include <mshtml.h>

#include <string>
#include <utility>

#include "com_ptr.h"
#include "ie_anchor_markup.h"
#include "ie_reads.h"

namespace qm {
namespace {

class IeElement final : public BrowserElement {
 public:
  explicit IeElement(ComPtr<IHTMLElement> element) : element_(std::move(element)) {}

  std::optional<std::u16string> TagName() override {
    return ReadBstr(element_.get(), &IHTMLElement::get_tagName);
  }
  std::optional<std::u16string> OuterHtml() override {
    return ReadBstr(element_.get(), &IHTMLElement::get_outerHTML);
  }
  std::optional<std::u16string> InnerText() override {
    return ReadBstr(element_.get(), &IHTMLElement::get_innerText);
  }

 private:
  ComPtr<IHTMLElement> element_;
};

class IeTextRange final : public BrowserTextRange {
 public:
  explicit IeTextRange(ComPtr<IHTMLTxtRange> range) : range_(std::move(range)) {}

  std::optional<std::u16string> Text() override {
    return ReadBstr(range_.get(), &IHTMLTxtRange::get_text);
  }
  std::optional<std::u16string> HtmlText() override {
    return ReadBstr(range_.get(), &IHTMLTxtRange::get_htmlText);
  }

 private:
  ComPtr<IHTMLTxtRange> range_;
};

// A page holds at most a few elements bearing one id; a document that still
// answers the id after this many removals is not letting them go.
constexpr int kMaxRemovals = 1024;

class IeDocument final : public BrowserDocument {
 public:
  explicit IeDocument(ComPtr<IHTMLDocument2> document)
      : document_(std::move(document)) {}

  std::optional<std::u16string> Title() override {
    return ReadBstr(document_.get(), &IHTMLDocument2::get_title);
  }

  std::unique_ptr<BrowserTextRange> SelectionRange() override {
    return NoThrow([&]() -> std::unique_ptr<BrowserTextRange> {
      ComPtr<IHTMLSelectionObject> selection;
      if (FAILED(document_->get_selection(selection.receive())) || !selection) {
        return nullptr;
      }
      ComPtr<IDispatch> range;
      if (FAILED(selection->createRange(range.receive())) || !range) return nullptr;
      // A selected image or control gives a control range, which is no
      // text range.
      ComPtr<IHTMLTxtRange> text = range.As<IHTMLTxtRange>();
      if (!text) return nullptr;
      return std::make_unique<IeTextRange>(std::move(text));
    });
  }

  std::unique_ptr<BrowserElement> ActiveElement() override {
    return NoThrow([&]() -> std::unique_ptr<BrowserElement> {
      ComPtr<IHTMLElement> element;
      if (FAILED(document_->get_activeElement(element.receive())) || !element) {
        return nullptr;
      }
      return std::make_unique<IeElement>(std::move(element));
    });
  }

  bool InsertLink(const FollowedLink& link) override {
    return NoThrow([&] {
      ComPtr<IHTMLElement> body;
      if (FAILED(document_->get_body(body.receive())) || !body) return false;
      const ScopedBstr where(u"beforeEnd");
      const ScopedBstr fragment(AnchorMarkup(link));
      if (!where.valid() || !fragment.valid()) return false;
      return SUCCEEDED(body->insertAdjacentHTML(where.get(), fragment.get()));
    });
  }

  bool ClickAnchor(const std::u16string& name) override {
    ComPtr<IHTMLElementCollection> anchors;
    if (FAILED(document_->get_anchors(anchors.receive())) || !anchors) return false;
    const ScopedBstr wanted(name);
    if (!wanted.valid()) return false;
    // item(name, 0): the first of the anchors bearing the name. The
    // VARIANTs only borrow the BSTR; `wanted` frees it.
    VARIANT by_name;
    ::VariantInit(&by_name);
    by_name.vt = VT_BSTR;
    by_name.bstrVal = wanted.get();
    VARIANT index;
    ::VariantInit(&index);
    index.vt = VT_I4;
    index.lVal = 0;
    ComPtr<IDispatch> item;
    if (FAILED(anchors->item(by_name, index, item.receive())) || !item) return false;
    const ComPtr<IHTMLElement> anchor = item.As<IHTMLElement>();
    return anchor && SUCCEEDED(anchor->click());
  }

  // getElementById gives the first element with the id, so each is found
  // and removed in turn. removeNode takes the element out by itself, with
  // no need for its parent, and works on elements whose outerHTML IE keeps
  // read-only (table parts).
  bool RemoveElements(const std::u16string& id) override {
    const ComPtr<IHTMLDocument3> document = document_.As<IHTMLDocument3>();
    if (!document) return false;
    const ScopedBstr wanted(id);
    if (!wanted.valid()) return false;
    for (int removed = 0; removed < kMaxRemovals; ++removed) {
      ComPtr<IHTMLElement> element;
      if (FAILED(document->getElementById(wanted.get(), element.receive()))) {
        return false;
      }
      if (!element) return true;
      const ComPtr<IHTMLDOMNode> node = element.As<IHTMLDOMNode>();
      ComPtr<IHTMLDOMNode> gone;
      if (!node || FAILED(node->removeNode(VARIANT_TRUE, gone.receive()))) {
        return false;
      }
    }
    return false;
  }

 private:
  ComPtr<IHTMLDocument2> document_;
};

}  // namespace

std::shared_ptr<BrowserDocument> MakeIeDocument(IHTMLDocument2* document) {
  if (document == nullptr) return nullptr;
  return std::make_shared<IeDocument>(ComPtr<IHTMLDocument2>::Share(document));
}

}  // namespace qm
