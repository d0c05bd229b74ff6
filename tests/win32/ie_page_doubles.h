// An IE page in memory: windows, their locations, screens and documents,
// elements, the selection and the browser behind them, built on the
// E_NOTIMPL stubs. What a field leaves unset is answered as IE answers for
// what a page lacks: S_OK with a null BSTR or a null object. A status field
// makes its call fail instead. Calls that change the page are recorded.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "browser_stubs.h"
#include "com_double.h"

#include <shlguid.h>

namespace qm {

inline HRESULT AnswerText(const std::optional<std::u16string>& text, BSTR* out) {
  *out = text ? ::SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text->data()),
                                    static_cast<UINT>(text->size()))
              : nullptr;
  return S_OK;
}

template <class Interface>
HRESULT AnswerObject(Interface* object, Interface** out) {
  *out = object;
  if (object != nullptr) object->AddRef();
  return S_OK;
}

inline std::u16string TextOf(BSTR text) {
  if (text == nullptr) return u"";
  return std::u16string(reinterpret_cast<const char16_t*>(text), ::SysStringLen(text));
}

struct HtmlDocumentDouble;

// An element; it answers IHTMLAnchorElement too, as IE's "A" elements do,
// whatever its tag (the adapter asks only an "A").
struct HtmlElementDouble
    : ComDouble<IHTMLElementStub, IHTMLDOMNodeStub, IHTMLAnchorElementStub> {
  std::optional<std::u16string> tag_name, outer_html, inner_text, id;
  std::optional<std::u16string> href;  // the anchor's address, resolved
  ComPtr<IHTMLElement> parent;
  int clicks = 0;
  HRESULT click_status = S_OK;
  struct Insertion {
    std::u16string where, html;
  };
  std::vector<Insertion> inserted;
  HRESULT insert_status = S_OK;
  HRESULT remove_status = S_OK;
  // The document the element is part of; insertions into it add anchors
  // there, and removeNode takes the element out of it.
  HtmlDocumentDouble* document = nullptr;

  IHTMLElement* Element() { return this; }
  HRESULT STDMETHODCALLTYPE get_tagName(BSTR* out) override { return AnswerText(tag_name, out); }
  HRESULT STDMETHODCALLTYPE get_outerHTML(BSTR* out) override { return AnswerText(outer_html, out); }
  HRESULT STDMETHODCALLTYPE get_innerText(BSTR* out) override { return AnswerText(inner_text, out); }
  HRESULT STDMETHODCALLTYPE get_href(BSTR* out) override { return AnswerText(href, out); }
  HRESULT STDMETHODCALLTYPE get_parentElement(IHTMLElement** out) override {
    return AnswerObject(parent.get(), out);
  }
  HRESULT STDMETHODCALLTYPE click() override {
    if (SUCCEEDED(click_status)) ++clicks;
    return click_status;
  }
  HRESULT STDMETHODCALLTYPE insertAdjacentHTML(BSTR where, BSTR html) override;
  HRESULT STDMETHODCALLTYPE removeNode(VARIANT_BOOL deep, IHTMLDOMNode** out) override;
};

// The anchors of a document: item(name, index) is the index-th element
// whose id is the name.
struct HtmlCollectionDouble : ComDouble<IHTMLElementCollectionStub> {
  std::vector<ComPtr<HtmlElementDouble>> items;
  HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** out) override {
    *out = nullptr;
    if (name.vt != VT_BSTR || index.vt != VT_I4) return E_INVALIDARG;
    LONG seen = 0;
    for (const ComPtr<HtmlElementDouble>& element : items) {
      if (element->id != TextOf(name.bstrVal) || seen++ != index.lVal) continue;
      *out = element->Element();
      (*out)->AddRef();
      return S_OK;
    }
    return S_OK;
  }
};

struct HtmlTextRangeDouble : ComDouble<IHTMLTxtRangeStub> {
  std::optional<std::u16string> text, html_text;
  HRESULT STDMETHODCALLTYPE get_text(BSTR* out) override { return AnswerText(text, out); }
  HRESULT STDMETHODCALLTYPE get_htmlText(BSTR* out) override { return AnswerText(html_text, out); }
};

// What createRange gives for a selected image or control.
struct HtmlControlRangeDouble : ComDouble<IHTMLControlRangeStub> {};

struct HtmlSelectionDouble : ComDouble<IHTMLSelectionObjectStub> {
  ComPtr<IDispatch> range;  // a text or control range
  HRESULT STDMETHODCALLTYPE createRange(IDispatch** out) override {
    return AnswerObject(range.get(), out);
  }
};

struct HtmlDocumentDouble : ComDouble<IHTMLDocument2Stub, IHTMLDocument3Stub> {
  std::optional<std::u16string> title;
  ComPtr<IHTMLSelectionObject> selection;
  ComPtr<IHTMLElement> active_element;
  ComPtr<HtmlElementDouble> body;  // SetBody links it to the document
  // The elements that bear an id, in page order; Add puts one there.
  std::vector<ComPtr<HtmlElementDouble>> elements;
  // IE before 5 had no IHTMLDocument3 (getElementById).
  bool has_document3 = true;

  ~HtmlDocumentDouble() override {
    for (const ComPtr<HtmlElementDouble>& element : elements) element->document = nullptr;
    if (body) body->document = nullptr;
  }
  void SetBody(ComPtr<HtmlElementDouble> element) {
    body = std::move(element);
    body->document = this;
  }
  ComPtr<HtmlElementDouble> Add(std::u16string tag, std::u16string element_id) {
    ComPtr<HtmlElementDouble> element = MakeDouble<HtmlElementDouble>();
    element->tag_name = std::move(tag);
    element->id = std::move(element_id);
    element->document = this;
    elements.push_back(element);
    return element;
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!has_document3 && iid == __uuidof(IHTMLDocument3)) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    return ComDouble::QueryInterface(iid, out);
  }
  HRESULT STDMETHODCALLTYPE get_title(BSTR* out) override { return AnswerText(title, out); }
  HRESULT STDMETHODCALLTYPE get_selection(IHTMLSelectionObject** out) override {
    return AnswerObject(selection.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_activeElement(IHTMLElement** out) override {
    return AnswerObject(active_element.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** out) override {
    return AnswerObject<IHTMLElement>(body.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_anchors(IHTMLElementCollection** out) override {
    ComPtr<HtmlCollectionDouble> anchors = MakeDouble<HtmlCollectionDouble>();
    for (const ComPtr<HtmlElementDouble>& element : elements) {
      if (element->tag_name == u"A") anchors->items.push_back(element);
    }
    return AnswerObject<IHTMLElementCollection>(anchors.get(), out);
  }
  HRESULT STDMETHODCALLTYPE getElementById(BSTR wanted, IHTMLElement** out) override {
    for (const ComPtr<HtmlElementDouble>& element : elements) {
      if (element->id == TextOf(wanted)) return AnswerObject<IHTMLElement>(element.get(), out);
    }
    *out = nullptr;
    return S_OK;
  }
};

// An insertion into a document's element adds an anchor for each ID="..."
// of the fragment, as the browser would parse it.
inline HRESULT HtmlElementDouble::insertAdjacentHTML(BSTR where, BSTR html) {
  if (FAILED(insert_status)) return insert_status;
  const std::u16string fragment = TextOf(html);
  inserted.push_back({TextOf(where), fragment});
  const std::u16string marker = u"ID=\"";
  for (std::size_t at = fragment.find(marker); document != nullptr && at != std::u16string::npos;
       at = fragment.find(marker, at + 1)) {
    const std::size_t begin = at + marker.size();
    const std::size_t end = fragment.find(u'"', begin);
    if (end == std::u16string::npos) break;
    document->Add(u"A", fragment.substr(begin, end - begin))->outer_html = fragment;
  }
  return S_OK;
}

inline HRESULT HtmlElementDouble::removeNode(VARIANT_BOOL, IHTMLDOMNode** out) {
  *out = nullptr;
  if (FAILED(remove_status)) return remove_status;
  if (document != nullptr) {
    // The document may hold the last reference.
    const ComPtr<HtmlElementDouble> keep = ComPtr<HtmlElementDouble>::Share(this);
    std::erase_if(document->elements,
                  [&](const ComPtr<HtmlElementDouble>& e) { return e.get() == this; });
    document = nullptr;
  }
  return S_OK;
}

// window.event: the event the window is handling, with the element it
// happened on.
struct HtmlEventDouble : ComDouble<IHTMLEventObjStub> {
  ComPtr<IHTMLElement> source;
  HRESULT STDMETHODCALLTYPE get_srcElement(IHTMLElement** out) override {
    return AnswerObject(source.get(), out);
  }
};

struct HtmlLocationDouble : ComDouble<IHTMLLocationStub> {
  std::optional<std::u16string> href, hostname;
  HRESULT STDMETHODCALLTYPE get_href(BSTR* out) override { return AnswerText(href, out); }
  HRESULT STDMETHODCALLTYPE get_hostname(BSTR* out) override { return AnswerText(hostname, out); }
};

struct HtmlScreenDouble : ComDouble<IHTMLScreenStub> {
  LONG avail_width = 0, avail_height = 0;
  HRESULT STDMETHODCALLTYPE get_availWidth(LONG* out) override {
    *out = avail_width;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_availHeight(LONG* out) override {
    *out = avail_height;
    return S_OK;
  }
};

struct WebBrowserDouble : ComDouble<IWebBrowser2Stub> {
  SHANDLE_PTR frame = 0;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* out) override {
    *out = frame;
    return S_OK;
  }
};

struct HtmlWindowDouble : ComDouble<IHTMLWindow2Stub, IServiceProviderStub> {
  std::optional<std::u16string> name;
  ComPtr<IHTMLLocation> location;
  ComPtr<IHTMLScreen> screen;
  ComPtr<IHTMLDocument2> document;
  // window.top; none: the window is its own top.
  ComPtr<IHTMLWindow2> top;
  // What QueryService gives for the browser service; none: no service.
  ComPtr<IWebBrowser2> browser;
  ComPtr<IHTMLEventObj> event;  // none: no event

  struct OpenCall {
    std::u16string url, name, features;
    VARIANT_BOOL replace;
  };
  std::vector<OpenCall> opened;
  ComPtr<IHTMLWindow2> open_gives;
  HRESULT open_status = S_OK;
  std::vector<std::u16string> navigated;
  HRESULT navigate_status = S_OK;

  IHTMLWindow2* Window() { return this; }
  HRESULT STDMETHODCALLTYPE get_name(BSTR* out) override { return AnswerText(name, out); }
  HRESULT STDMETHODCALLTYPE get_location(IHTMLLocation** out) override {
    return AnswerObject(location.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_screen(IHTMLScreen** out) override {
    return AnswerObject(screen.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** out) override {
    return AnswerObject(document.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_event(IHTMLEventObj** out) override {
    return AnswerObject(event.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_top(IHTMLWindow2** out) override {
    return AnswerObject(top ? top.get() : Window(), out);
  }
  HRESULT STDMETHODCALLTYPE open(BSTR url, BSTR window_name, BSTR features,
                                 VARIANT_BOOL replace, IHTMLWindow2** out) override {
    *out = nullptr;
    opened.push_back({TextOf(url), TextOf(window_name), TextOf(features), replace});
    if (FAILED(open_status)) return open_status;
    return AnswerObject(open_gives.get(), out);
  }
  HRESULT STDMETHODCALLTYPE navigate(BSTR url) override {
    navigated.push_back(TextOf(url));
    return navigate_status;
  }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    *out = nullptr;
    if (service != SID_SWebBrowserApp || !browser) return E_NOINTERFACE;
    return browser->QueryInterface(iid, out);
  }
};

}  // namespace qm
