#include "page_objects.h"

#include <shlguid.h>

#include <utility>
#include <vector>

#include "browser_stubs.h"
#include "address_parts.h"
#include "com_double.h"
#include "inserted_anchors.h"
#include "log_text.h"

namespace qm::standin {

EventLog::EventLog(const std::wstring& path) : path_empty_(path.empty()) {
  if (!path_empty_) file_ = ::_wfopen(path.c_str(), L"ab");
}

EventLog::~EventLog() {
  if (file_ != nullptr) std::fclose(file_);
}

void EventLog::Write(std::string_view kind, std::wstring_view detail) {
  if (file_ == nullptr) return;
  const std::string line = std::string(kind) + " " + LogText(detail) + "\n";
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fflush(file_);
}

namespace {

HRESULT Give(std::wstring_view text, BSTR* out) {
  if (out == nullptr) return E_POINTER;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out == nullptr ? E_OUTOFMEMORY : S_OK;
}

template <class Interface>
HRESULT Give(Interface* object, Interface** out) {
  if (out == nullptr) return E_POINTER;
  *out = object;
  if (object != nullptr) object->AddRef();
  return S_OK;
}

std::wstring TextOf(BSTR text) {
  return text == nullptr ? std::wstring() : std::wstring(text, ::SysStringLen(text));
}

std::wstring EscapeHtml(std::wstring_view text) {
  std::wstring out;
  for (const wchar_t c : text) {
    switch (c) {
      case L'&': out += L"&amp;"; break;
      case L'<': out += L"&lt;"; break;
      case L'>': out += L"&gt;"; break;
      case L'"': out += L"&quot;"; break;
      default: out.push_back(c);
    }
  }
  return out;
}

std::wstring WindowTextOf(HWND window) {
  if (window == nullptr) return {};
  const int length = ::GetWindowTextLengthW(window);
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), length + 1)));
  return text;
}

// The text selected in the text box now.
std::wstring SelectedText(const PageView* view) {
  if (view == nullptr || view->text_box == nullptr) return {};
  DWORD start = 0;
  DWORD end = 0;
  ::SendMessageW(view->text_box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
  const std::wstring text = WindowTextOf(view->text_box);
  if (start >= end || end > text.size()) return {};
  return text.substr(start, end - start);
}

struct PageDocument;

struct PageElement : ComDouble<IHTMLElementStub, IHTMLDOMNodeStub> {
  std::wstring tag, outer_html, inner_text;
  InsertedAnchor anchor;      // for an anchor inserted by the module
  PageDocument* document = nullptr;  // where insertions go, for the body
  EventLog* log = nullptr;

  HRESULT STDMETHODCALLTYPE get_tagName(BSTR* out) override { return Give(tag, out); }
  HRESULT STDMETHODCALLTYPE get_outerHTML(BSTR* out) override { return Give(outer_html, out); }
  HRESULT STDMETHODCALLTYPE get_innerText(BSTR* out) override { return Give(inner_text, out); }
  HRESULT STDMETHODCALLTYPE get_id(BSTR* out) override { return Give(anchor.id, out); }
  // Following a link opens its address in the target window: here, a line.
  HRESULT STDMETHODCALLTYPE click() override {
    if (tag != L"A" || log == nullptr) return S_OK;
    log->Write("follow", anchor.href + L" target=" + anchor.target);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE insertAdjacentHTML(BSTR where, BSTR html) override;
  HRESULT STDMETHODCALLTYPE removeNode(VARIANT_BOOL, IHTMLDOMNode** out) override;
};

// The document's anchors; item(name, index) is the index-th whose id is
// the name.
struct PageAnchors : ComDouble<IHTMLElementCollectionStub> {
  std::vector<ComPtr<PageElement>> items;
  HRESULT STDMETHODCALLTYPE get_length(LONG* out) override {
    *out = static_cast<LONG>(items.size());
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE item(VARIANT name, VARIANT index, IDispatch** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (name.vt != VT_BSTR || index.vt != VT_I4) return E_INVALIDARG;
    LONG seen = 0;
    for (const ComPtr<PageElement>& element : items) {
      if (element->anchor.id != TextOf(name.bstrVal) || seen++ != index.lVal) continue;
      *out = static_cast<IHTMLElement*>(element.get());
      (*out)->AddRef();
      break;
    }
    return S_OK;
  }
};

struct PageTextRange : ComDouble<IHTMLTxtRangeStub> {
  std::wstring text;
  HRESULT STDMETHODCALLTYPE get_text(BSTR* out) override { return Give(text, out); }
  HRESULT STDMETHODCALLTYPE get_htmlText(BSTR* out) override {
    return Give(EscapeHtml(text), out);
  }
};

struct PageSelection : ComDouble<IHTMLSelectionObjectStub> {
  const PageView* view = nullptr;
  HRESULT STDMETHODCALLTYPE get_type(BSTR* out) override {
    return Give(SelectedText(view).empty() ? L"None" : L"Text", out);
  }
  HRESULT STDMETHODCALLTYPE createRange(IDispatch** out) override {
    if (out == nullptr) return E_POINTER;
    ComPtr<PageTextRange> range = MakeDouble<PageTextRange>();
    range->text = SelectedText(view);
    *out = static_cast<IHTMLTxtRange*>(range.get());
    (*out)->AddRef();
    return S_OK;
  }
};

struct PageDocument : ComDouble<IHTMLDocument2Stub, IHTMLDocument3Stub> {
  std::wstring title;
  const PageView* view = nullptr;
  EventLog* log = nullptr;
  ComPtr<PageElement> body, link;
  std::vector<ComPtr<PageElement>> inserted;  // the module's anchors

  ~PageDocument() override {
    if (body) body->document = nullptr;
    for (const ComPtr<PageElement>& element : inserted) element->document = nullptr;
  }

  HRESULT STDMETHODCALLTYPE get_title(BSTR* out) override { return Give(title, out); }
  HRESULT STDMETHODCALLTYPE get_selection(IHTMLSelectionObject** out) override {
    ComPtr<PageSelection> selection = MakeDouble<PageSelection>();
    selection->view = view;
    return Give<IHTMLSelectionObject>(selection.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_activeElement(IHTMLElement** out) override {
    if (view != nullptr && view->on_anchor && link) return Give<IHTMLElement>(link.get(), out);
    return Give<IHTMLElement>(body.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_body(IHTMLElement** out) override {
    return Give<IHTMLElement>(body.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_anchors(IHTMLElementCollection** out) override {
    ComPtr<PageAnchors> anchors = MakeDouble<PageAnchors>();
    anchors->items = inserted;
    return Give<IHTMLElementCollection>(anchors.get(), out);
  }
  HRESULT STDMETHODCALLTYPE getElementById(BSTR wanted, IHTMLElement** out) override {
    for (const ComPtr<PageElement>& element : inserted) {
      if (element->anchor.id == TextOf(wanted)) return Give<IHTMLElement>(element.get(), out);
    }
    return Give<IHTMLElement>(nullptr, out);
  }
};

// The browser parses the fragment into the page: each <A> becomes an
// anchor of the document.
HRESULT PageElement::insertAdjacentHTML(BSTR where, BSTR html) {
  if (document == nullptr) return E_FAIL;
  const std::wstring fragment = TextOf(html);
  if (log != nullptr) log->Write("insert", TextOf(where) + L" " + fragment);
  for (InsertedAnchor& found : AnchorsOf(fragment)) {
    ComPtr<PageElement> element = MakeDouble<PageElement>();
    element->tag = L"A";
    element->outer_html = fragment;
    element->anchor = std::move(found);
    element->log = log;
    element->document = document;
    document->inserted.push_back(element);
  }
  return S_OK;
}

HRESULT PageElement::removeNode(VARIANT_BOOL, IHTMLDOMNode** out) {
  if (out != nullptr) *out = nullptr;
  if (document == nullptr || this == document->body.get()) return E_FAIL;
  const ComPtr<PageElement> keep = ComPtr<PageElement>::Share(this);
  std::erase_if(document->inserted,
                [&](const ComPtr<PageElement>& e) { return e.get() == this; });
  document = nullptr;
  return S_OK;
}

struct PageLocation : ComDouble<IHTMLLocationStub> {
  std::wstring href;
  HRESULT STDMETHODCALLTYPE get_href(BSTR* out) override { return Give(href, out); }
  HRESULT STDMETHODCALLTYPE get_hostname(BSTR* out) override { return Give(HostOf(href), out); }
};

struct PageScreen : ComDouble<IHTMLScreenStub> {
  RECT work{};
  PageScreen() {
    if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) work = {0, 0, 640, 480};
  }
  HRESULT STDMETHODCALLTYPE get_availWidth(LONG* out) override {
    *out = work.right - work.left;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_availHeight(LONG* out) override {
    *out = work.bottom - work.top;
    return S_OK;
  }
};

struct PageBrowser : ComDouble<IWebBrowser2Stub> {
  HWND frame = nullptr;
  HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* out) override {
    *out = reinterpret_cast<SHANDLE_PTR>(frame);
    return S_OK;
  }
};

struct PageWindow : ComDouble<IHTMLWindow2Stub, IServiceProviderStub> {
  std::wstring name;
  ComPtr<PageLocation> location;
  ComPtr<PageDocument> document;
  ComPtr<IHTMLWindow2> top;  // none: this is the top-level window
  const PageView* view = nullptr;
  EventLog* log = nullptr;

  IHTMLWindow2* Window() { return this; }
  HRESULT STDMETHODCALLTYPE get_name(BSTR* out) override { return Give(name, out); }
  HRESULT STDMETHODCALLTYPE get_location(IHTMLLocation** out) override {
    return Give<IHTMLLocation>(location.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_document(IHTMLDocument2** out) override {
    return Give<IHTMLDocument2>(document.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_screen(IHTMLScreen** out) override {
    ComPtr<PageScreen> screen = MakeDouble<PageScreen>();
    return Give<IHTMLScreen>(screen.get(), out);
  }
  HRESULT STDMETHODCALLTYPE get_top(IHTMLWindow2** out) override {
    return Give(top ? top.get() : Window(), out);
  }
  HRESULT STDMETHODCALLTYPE get_self(IHTMLWindow2** out) override { return Give(Window(), out); }
  HRESULT STDMETHODCALLTYPE get_window(IHTMLWindow2** out) override { return Give(Window(), out); }
  // A new window is a line in the log and an empty window object, so that
  // the module sees the window opened and does not fall back to the shell.
  HRESULT STDMETHODCALLTYPE open(BSTR url, BSTR window_name, BSTR features, VARIANT_BOOL,
                                 IHTMLWindow2** out) override {
    if (out == nullptr) return E_POINTER;
    if (log != nullptr) {
      log->Write("open", TextOf(url) + L" name=" + TextOf(window_name) +
                             L" features=" + TextOf(features));
    }
    ComPtr<PageWindow> opened = MakeDouble<PageWindow>();
    opened->name = TextOf(window_name);
    opened->location = MakeDouble<PageLocation>();
    opened->location->href = TextOf(url);
    opened->view = view;
    return Give(opened->Window(), out);
  }
  HRESULT STDMETHODCALLTYPE navigate(BSTR url) override {
    if (log != nullptr) log->Write("navigate", TextOf(url));
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE QueryService(REFGUID service, REFIID iid, void** out) override {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (service != SID_SWebBrowserApp || view == nullptr) return E_NOINTERFACE;
    ComPtr<PageBrowser> browser = MakeDouble<PageBrowser>();
    browser->frame = view->frame;
    return browser->QueryInterface(iid, out);
  }
};

}  // namespace

ComPtr<IHTMLWindow2> MakePageWindow(const PageData& page, const PageView* view,
                                    EventLog* log, IHTMLWindow2* top) {
  ComPtr<PageWindow> window = MakeDouble<PageWindow>();
  window->name = page.name;
  window->view = view;
  window->log = log;
  window->top = ComPtr<IHTMLWindow2>::Share(top);
  window->location = MakeDouble<PageLocation>();
  window->location->href = page.address;

  ComPtr<PageDocument> document = MakeDouble<PageDocument>();
  document->title = page.title;
  document->view = view;
  document->log = log;
  document->body = MakeDouble<PageElement>();
  document->body->tag = L"BODY";
  document->body->inner_text = view != nullptr ? WindowTextOf(view->text_box) : L"";
  document->body->outer_html = L"<BODY>" + EscapeHtml(document->body->inner_text) + L"</BODY>";
  document->body->document = document.get();
  document->body->log = log;
  if (!page.link_href.empty()) {
    document->link = MakeDouble<PageElement>();
    document->link->tag = L"A";
    document->link->anchor.href = page.link_href;
    document->link->inner_text = page.link_text;
    document->link->outer_html = L"<A href=\"" + EscapeHtml(page.link_href) + L"\">" +
                                 EscapeHtml(page.link_text) + L"</A>";
    document->link->log = log;
  }
  window->document = document;
  return ComPtr<IHTMLWindow2>::Share(window->Window());
}

}  // namespace qm::standin
