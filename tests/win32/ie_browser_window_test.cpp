#include "ie_browser_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "context/request_context.h"
#include "ie_page_doubles.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

// Every double a test made is gone once the test and the adapters have let
// go of it: the adapters release every reference they take.
class IeBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override { live_before_ = LiveComDoubles(); }
  void TearDown() override { EXPECT_EQ(LiveComDoubles(), live_before_) << "doubles leaked"; }

 private:
  int live_before_ = 0;
};

// The fields of a context that come from the page, one "name=value" each,
// so that two contexts compare with a readable difference.
std::vector<std::string> FieldsOf(const RequestContext& c) {
  const auto line = [](const char* name, const std::u16string& value) {
    std::string out = std::string(name) + "=";
    for (const char16_t unit : value) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(unit));
      out += unit >= 0x20 && unit < 0x7F ? std::string(1, static_cast<char>(unit)) : escaped;
    }
    return out;
  };
  return {"window=" + std::to_string(c.window() != nullptr),
          "top=" + std::to_string(c.topWindow() != nullptr),
          "frame=" + std::to_string(c.browserWindow()),
          line("selectedText", c.selectedText()), line("selectedHtml", c.selectedHtml()),
          line("pageHref", c.pageHref()), line("pageName", c.pageName()),
          line("pageHost", c.pageHost()), line("pageTitle", c.pageTitle()),
          line("topHref", c.topHref()), line("topName", c.topName()),
          line("topHost", c.topHost()), line("topTitle", c.topTitle()),
          "avail=" + std::to_string(c.availWidth()) + "x" + std::to_string(c.availHeight())};
}

using Text = std::optional<std::u16string>;

struct WindowData {
  Text name, href, hostname, title;
  std::optional<std::pair<int, int>> screen;
};

struct PageData {
  const char* what;
  WindowData page;
  std::optional<WindowData> top;  // none: the page is its own top
  bool text_selection;            // else a control is selected
  Text selected_text, selected_html;
  std::optional<FakeElement> active;
  WindowHandle frame;             // 0: no browser service
};

std::shared_ptr<FakeWindow> PortableWindow(const WindowData& data, const PageData& page) {
  auto window = std::make_shared<FakeWindow>();
  window->name = data.name;
  window->href = data.href;
  window->hostname = data.hostname;
  window->screen = data.screen;
  window->document = std::make_shared<FakeDocument>();
  window->document->title = data.title;
  if (&data == &page.page) {
    if (page.text_selection) {
      window->document->selection = FakeTextRange(page.selected_text, page.selected_html);
    }
    window->document->active_element = page.active;
  }
  return window;
}

ComPtr<HtmlWindowDouble> IeWindow(const WindowData& data, const PageData& page) {
  ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
  window->name = data.name;
  ComPtr<HtmlLocationDouble> location = MakeDouble<HtmlLocationDouble>();
  location->href = data.href;
  location->hostname = data.hostname;
  window->location = location;
  if (data.screen) {
    ComPtr<HtmlScreenDouble> screen = MakeDouble<HtmlScreenDouble>();
    screen->avail_width = data.screen->first;
    screen->avail_height = data.screen->second;
    window->screen = screen;
  }
  ComPtr<HtmlDocumentDouble> document = MakeDouble<HtmlDocumentDouble>();
  document->title = data.title;
  window->document = document;
  if (&data != &page.page) return window;

  ComPtr<HtmlSelectionDouble> selection = MakeDouble<HtmlSelectionDouble>();
  if (page.text_selection) {
    ComPtr<HtmlTextRangeDouble> range = MakeDouble<HtmlTextRangeDouble>();
    range->text = page.selected_text;
    range->html_text = page.selected_html;
    selection->range = range;
  } else {
    selection->range = MakeDouble<HtmlControlRangeDouble>();
  }
  document->selection = selection;
  if (page.active) {
    ComPtr<HtmlElementDouble> active = MakeDouble<HtmlElementDouble>();
    active->tag_name = page.active->tag_name;
    active->outer_html = page.active->outer_html;
    active->inner_text = page.active->inner_text;
    document->active_element = active;
  }
  if (page.frame != 0) {
    ComPtr<WebBrowserDouble> browser = MakeDouble<WebBrowserDouble>();
    browser->frame = static_cast<SHANDLE_PTR>(page.frame);
    window->browser = browser;
  }
  return window;
}

const PageData kPages[] = {
    {"a page with a selection and a focused paragraph",
     {u"main", u"https://shop.example/books?id=7", u"shop.example", u"Books", {{1280, 1024}}},
     std::nullopt, true, u"  The Hobbit\r\n", u"<B>The Hobbit</B>",
     FakeElement(u"P", u"<P>ignored</P>", u"ignored"), 0x1234},
    {"a frame whose top differs",
     {u"content", u"https://a.example/frame.htm", u"a.example", u"Frame", std::nullopt},
     WindowData{u"", u"https://b.example/", u"b.example", u"Frameset", {{1600, 1170}}},
     true, u"0-395-19395-8", u"0-395-19395-8", std::nullopt, 0x10},
    {"nothing selected, a link focused",
     {u"x", u"file:///C:/page.htm", u"", u"Local", {{640, 400}}}, std::nullopt, true, u"", u"",
     FakeElement(u"A", u"<A HREF=\"/\">Home</A>", u"Home"), 0},
    {"a control selected, null texts, no screen",
     {std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt}, std::nullopt, false,
     std::nullopt, std::nullopt, FakeElement(u"DIV", u"<DIV>no</DIV>", u"no"), 0},
};

TEST_F(IeBrowserTest, BuildsTheSameContextAsThePortablePage) {
  FakeModuleEnvironment environment;
  environment.SetWorkArea(1000, 700);
  for (const PageData& page : kPages) {
    SCOPED_TRACE(page.what);
    FakeMenuArguments portable;
    portable.window = PortableWindow(page.page, page);
    if (page.top) portable.window->top = PortableWindow(*page.top, page);
    portable.frame = page.frame;
    RequestContext expected(environment);
    ASSERT_TRUE(BuildRequestContext(expected, &portable));

    ComPtr<HtmlWindowDouble> window = IeWindow(page.page, page);
    if (page.top) window->top = ComPtr<IHTMLWindow2>::Share(IeWindow(*page.top, page)->Window());
    const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(window->Window());
    RequestContext built(environment);
    ASSERT_TRUE(BuildRequestContext(built, arguments.get()));
    EXPECT_EQ(FieldsOf(built), FieldsOf(expected));
  }
}

// The link under the mouse: the event's element or its nearest "A"
// ancestor with an address; a named anchor and plain text are no link.
TEST_F(IeBrowserTest, LinkUnderMenuIsTheNearestAnchorAboveTheEventsElement) {
  const auto element = [](std::u16string tag, ComPtr<HtmlElementDouble> parent) {
    ComPtr<HtmlElementDouble> e = MakeDouble<HtmlElementDouble>();
    e->tag_name = std::move(tag);
    if (parent) e->parent = ComPtr<IHTMLElement>::Share(parent->Element());
    return e;
  };
  struct Case {
    const char* what;
    const char16_t* anchor_href;  // nullptr: the "A" has no address
    bool source_is_anchor;
    bool has_event;
    std::optional<MenuLink> expected;
  };
  const MenuLink kLink{u"https://shop.example/item?id=7", u"The Hobbit",
                       u"<A href=\"item?id=7\"><B>The Hobbit</B></A>"};
  const Case cases[] = {
      {"bold text inside a link", kLink.address.c_str(), false, true, kLink},
      {"the link itself", kLink.address.c_str(), true, true, kLink},
      {"a named anchor, no address", nullptr, false, true, std::nullopt},
      {"no event", kLink.address.c_str(), false, false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<HtmlElementDouble> body = element(u"BODY", ComPtr<HtmlElementDouble>());
    ComPtr<HtmlElementDouble> anchor = element(u"A", element(u"P", body));
    if (c.anchor_href) anchor->href = c.anchor_href;
    anchor->inner_text = kLink.text;
    anchor->outer_html = kLink.html;
    ComPtr<HtmlElementDouble> bold = element(u"B", anchor);
    ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
    if (c.has_event) {
      ComPtr<HtmlEventDouble> event = MakeDouble<HtmlEventDouble>();
      event->source = ComPtr<IHTMLElement>::Share(
          (c.source_is_anchor ? anchor : bold)->Element());
      window->event = event;
    }
    const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(window->Window());
    EXPECT_EQ(arguments->LinkUnderMenu(), c.expected);
  }
  const std::unique_ptr<MenuArguments> none = MakeIeMenuArguments(nullptr);
  EXPECT_EQ(none->LinkUnderMenu(), std::nullopt);
}

// What the menu arguments and a window give when the object is not a
// window, or every call on it fails.
TEST_F(IeBrowserTest, ObjectsThatAreNoWindowOrFailEverythingDegrade) {
  FakeModuleEnvironment environment;
  {
    ComPtr<WebBrowserDouble> not_a_window = MakeDouble<WebBrowserDouble>();
    for (IUnknown* object : {static_cast<IUnknown*>(not_a_window.get()),
                             static_cast<IUnknown*>(nullptr)}) {
      const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(object);
      EXPECT_EQ(arguments->Window(), nullptr);
      EXPECT_EQ(arguments->BrowserFrame(), 0u);
      RequestContext context(environment);
      EXPECT_FALSE(BuildRequestContext(context, arguments.get()));
    }
  }
  struct FailingWindow : ComDouble<IHTMLWindow2Stub> {};
  ComPtr<FailingWindow> failing = MakeDouble<FailingWindow>();
  const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(failing->Unknown());
  EXPECT_EQ(arguments->BrowserFrame(), 0u);
  RequestContext context(environment);
  EXPECT_FALSE(BuildRequestContext(context, arguments.get())) << "no top window";
  const std::shared_ptr<BrowserWindow> window = arguments->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->Top(), nullptr);
  EXPECT_EQ(window->Name(), std::nullopt);
  EXPECT_EQ(window->LocationHref(), std::nullopt);
  EXPECT_EQ(window->LocationHostname(), std::nullopt);
  EXPECT_EQ(window->Document(), nullptr);
  int width = -1, height = -1;
  EXPECT_FALSE(window->ScreenAvailSize(&width, &height));
  EXPECT_EQ(width, -1);
  EXPECT_EQ(window->Open(u"https://x.example/", u"_blank", u""), nullptr);
  EXPECT_FALSE(window->Navigate(u"mailto:a@b.example"));
  window->BringToFront();

  // A window that answers, but with null texts and no objects.
  ComPtr<HtmlWindowDouble> empty = MakeDouble<HtmlWindowDouble>();
  const std::shared_ptr<BrowserWindow> nothing = MakeIeMenuArguments(empty->Window())->Window();
  EXPECT_EQ(nothing->Name(), std::nullopt);
  EXPECT_EQ(nothing->LocationHref(), std::nullopt);
  EXPECT_EQ(nothing->Document(), nullptr);
  EXPECT_FALSE(nothing->ScreenAvailSize(&width, &height));
  EXPECT_EQ(nothing->Open(u"https://x.example/", u"_blank", u""), nullptr);
}

TEST_F(IeBrowserTest, DocumentsElementsAndRangesThatFailEverythingDegrade) {
  struct FailingDocument : ComDouble<IHTMLDocument2Stub, IHTMLDocument3Stub> {};
  struct FailingRange : ComDouble<IHTMLTxtRangeStub> {};
  struct FailingElement : ComDouble<IHTMLElementStub> {};
  ComPtr<HtmlWindowDouble> page = MakeDouble<HtmlWindowDouble>();
  const std::unique_ptr<MenuArguments> arguments = MakeIeMenuArguments(page->Window());

  page->document = MakeDouble<FailingDocument>();
  std::shared_ptr<BrowserDocument> document = arguments->Window()->Document();
  ASSERT_NE(document, nullptr);
  EXPECT_EQ(document->Title(), std::nullopt);
  EXPECT_EQ(document->SelectionRange(), nullptr);
  EXPECT_EQ(document->ActiveElement(), nullptr);
  EXPECT_FALSE(document->InsertLink({u"QMKIT7587", u"https://x.example/", u"", u"x"}));
  EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
  EXPECT_FALSE(document->RemoveElements(u"QMKIT7587"));

  ComPtr<HtmlDocumentDouble> answering = MakeDouble<HtmlDocumentDouble>();
  ComPtr<HtmlSelectionDouble> selection = MakeDouble<HtmlSelectionDouble>();
  answering->selection = selection;
  answering->active_element = MakeDouble<FailingElement>();
  page->document = answering;
  document = arguments->Window()->Document();
  ASSERT_NE(document, nullptr);
  selection->range = MakeDouble<HtmlControlRangeDouble>();
  EXPECT_EQ(document->SelectionRange(), nullptr) << "a control range is no text range";
  selection->range = MakeDouble<FailingRange>();
  const std::unique_ptr<BrowserTextRange> range = document->SelectionRange();
  ASSERT_NE(range, nullptr);
  EXPECT_EQ(range->Text(), std::nullopt);
  EXPECT_EQ(range->HtmlText(), std::nullopt);
  const std::unique_ptr<BrowserElement> active = document->ActiveElement();
  ASSERT_NE(active, nullptr);
  EXPECT_EQ(active->TagName(), std::nullopt);
  EXPECT_EQ(active->OuterHtml(), std::nullopt);
  EXPECT_EQ(active->InnerText(), std::nullopt);
}

// The browser frame is found through the object's browser service.
TEST_F(IeBrowserTest, BrowserFrameComesFromTheBrowserService) {
  // Fails, having written to its out-parameter all the same.
  struct FailingBrowser : WebBrowserDouble {
    HRESULT STDMETHODCALLTYPE get_HWND(SHANDLE_PTR* out) override {
      *out = 0x55;
      return E_FAIL;
    }
  };
  ComPtr<WebBrowserDouble> browser = MakeDouble<WebBrowserDouble>();
  browser->frame = 0x4242;
  const struct {
    const char* what;
    ComPtr<IWebBrowser2> service;
    WindowHandle frame;
  } cases[] = {
      {"the service's window", browser, 0x4242},
      {"no browser service", ComPtr<IWebBrowser2>(), 0},
      {"a browser that does not say", MakeDouble<FailingBrowser>(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
    window->browser = c.service;
    EXPECT_EQ(MakeIeMenuArguments(window->Window())->BrowserFrame(), c.frame);
  }
}

// BringToFront makes the frame of the window's top the foreground window.
TEST_F(IeBrowserTest, BringToFrontRaisesTheFrameOfTheTopWindow) {
  ComPtr<HtmlWindowDouble> top = MakeDouble<HtmlWindowDouble>();
  ComPtr<WebBrowserDouble> top_browser = MakeDouble<WebBrowserDouble>();
  top_browser->frame = 0x88;
  ComPtr<HtmlWindowDouble> frame = MakeDouble<HtmlWindowDouble>();
  ComPtr<WebBrowserDouble> frame_browser = MakeDouble<WebBrowserDouble>();
  frame_browser->frame = 0x99;
  frame->browser = frame_browser;
  frame->top = ComPtr<IHTMLWindow2>::Share(top->Window());

  std::vector<WindowHandle> raised;
  const auto bring_to_front = [&](HtmlWindowDouble& window) {
    MakeIeMenuArguments(window.Window(), [&](WindowHandle h) { raised.push_back(h); })
        ->Window()
        ->BringToFront();
  };
  bring_to_front(*frame.get());
  EXPECT_EQ(raised, std::vector<WindowHandle>{}) << "the top has no browser service";
  top->browser = top_browser;
  bring_to_front(*frame.get());
  bring_to_front(*top.get());
  EXPECT_EQ(raised, (std::vector<WindowHandle>{0x88, 0x88}));
}

TEST_F(IeBrowserTest, OpenPassesItsArgumentsAndGivesTheNewWindow) {
  const std::u16string url = u"https://books.example/s?q=caf\u00e9&x=\"1\"";
  const std::u16string features = u"channelmode=0,directories=1,height=768";
  const struct {
    const char* what;
    HRESULT status;
    bool gives;
    bool opened;
  } cases[] = {
      {"a new window", S_OK, true, true},
      {"no window given back", S_OK, false, false},
      {"a refusal", E_ACCESSDENIED, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
    ComPtr<HtmlWindowDouble> opened = MakeDouble<HtmlWindowDouble>();
    opened->name = u"books";
    window->open_status = c.status;
    if (c.gives) window->open_gives = ComPtr<IHTMLWindow2>::Share(opened->Window());
    const std::shared_ptr<BrowserWindow> result =
        MakeIeMenuArguments(window->Window())->Window()->Open(url, u"books", features);
    ASSERT_EQ(window->opened.size(), 1u);
    EXPECT_EQ(window->opened[0].url, url);
    EXPECT_EQ(window->opened[0].name, u"books");
    EXPECT_EQ(window->opened[0].features, features);
    EXPECT_EQ(window->opened[0].replace, VARIANT_FALSE);
    ASSERT_EQ(result != nullptr, c.opened);
    if (result) {
      EXPECT_EQ(result->Name(), u"books");
    }
  }
}

TEST_F(IeBrowserTest, NavigatePassesTheAddressAndSaysWhetherTheBrowserTookIt) {
  ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
  const std::shared_ptr<BrowserWindow> adapted =
      MakeIeMenuArguments(window->Window())->Window();
  EXPECT_TRUE(adapted->Navigate(u"mailto:a@b.example?subject=x%20y"));
  window->navigate_status = E_FAIL;
  EXPECT_FALSE(adapted->Navigate(u"mailto:c@d.example"));
  EXPECT_EQ(window->navigated,
            (std::vector<std::u16string>{u"mailto:a@b.example?subject=x%20y",
                                         u"mailto:c@d.example"}));
}

// A link is followed by inserting it at the end of the body, then clicking
// the first anchor bearing its name; an earlier one is removed first.
TEST_F(IeBrowserTest, InsertsClicksAndRemovesAnchors) {
  ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
  ComPtr<HtmlDocumentDouble> page = MakeDouble<HtmlDocumentDouble>();
  window->document = page;
  const std::shared_ptr<BrowserDocument> document =
      MakeIeMenuArguments(window->Window())->Window()->Document();
  ASSERT_NE(document, nullptr);
  const FollowedLink first{u"QMKIT7587", u"https://one.example/", u"", u"T"};
  const FollowedLink second{u"QMKIT7587", u"https://two.example/", u"", u"T"};
  const std::u16string first_html =
      u"<A ID=\"QMKIT7587\" HREF=\"https://one.example/\" TARGET=\"\">T</A>";
  const std::u16string second_html =
      u"<A ID=\"QMKIT7587\" HREF=\"https://two.example/\" TARGET=\"\">T</A>";
  EXPECT_FALSE(document->InsertLink(first)) << "no body";
  page->SetBody(MakeDouble<HtmlElementDouble>());

  const ComPtr<HtmlElementDouble> other = page->Add(u"A", u"other");
  const ComPtr<HtmlElementDouble> div = page->Add(u"DIV", u"QMKIT7587");
  EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587")) << "a DIV is no anchor";
  ASSERT_TRUE(document->InsertLink(first));
  ASSERT_TRUE(document->InsertLink(second));
  ASSERT_EQ(page->body->inserted.size(), 2u);
  EXPECT_EQ(page->body->inserted[0].where, u"beforeEnd");
  EXPECT_EQ(page->body->inserted[0].html, first_html);
  ASSERT_TRUE(document->ClickAnchor(u"QMKIT7587"));
  ASSERT_EQ(page->elements.size(), 4u);
  EXPECT_EQ(page->elements[2]->clicks, 1) << "the first anchor bearing the name";
  EXPECT_EQ(page->elements[3]->clicks, 0);
  EXPECT_EQ(other->clicks, 0);

  // Every element with the id goes, anchors or not; the rest stay.
  ASSERT_TRUE(document->RemoveElements(u"QMKIT7587"));
  ASSERT_EQ(page->elements.size(), 1u);
  EXPECT_EQ(page->elements[0].get(), other.get());
  EXPECT_TRUE(document->RemoveElements(u"QMKIT7587")) << "none there";
  EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
  ASSERT_TRUE(document->InsertLink(second));
  ASSERT_TRUE(document->ClickAnchor(u"QMKIT7587"));
  EXPECT_EQ(page->elements.back()->outer_html, second_html);
  EXPECT_EQ(page->elements.back()->clicks, 1);

  // Refusals.
  page->elements.back()->click_status = E_ACCESSDENIED;
  EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
  page->elements.back()->remove_status = E_FAIL;
  EXPECT_FALSE(document->RemoveElements(u"QMKIT7587"));
  page->has_document3 = false;
  EXPECT_FALSE(document->RemoveElements(u"other"));
  page->body->insert_status = E_INVALIDARG;
  EXPECT_FALSE(document->InsertLink(first));
}

// The link goes in as one anchor whose values, page text among them, are
// attribute values and text: none can close its quotes or add markup.
TEST_F(IeBrowserTest, InsertedLinkIsOneAnchorWithItsValuesEscaped) {
  struct Case {
    FollowedLink link;
    const char16_t* html;
  };
  const Case cases[] = {
      {{u"QMKIT7587",
        u"https://tr.example/t?sl=en&u=https%3A%2F%2Ftop.example%2Fp%3Fa%3D1%26b%3D2", u"_top",
        u"TRANSLATE"},
       u"<A ID=\"QMKIT7587\" HREF=\"https://tr.example/t?sl=en&amp;"
       u"u=https%3A%2F%2Ftop.example%2Fp%3Fa%3D1%26b%3D2\" TARGET=\"_top\">TRANSLATE</A>"},
      {{u"QMKIT7587", u"x\" onclick=\"evil()\"><script>alert('1')</script>&amp;", u"a\"b<c>",
        u"TRANSLATE"},
       u"<A ID=\"QMKIT7587\" HREF=\"x&quot; onclick=&quot;evil()&quot;&gt;"
       u"&lt;script&gt;alert(&#39;1&#39;)&lt;/script&gt;&amp;amp;\" "
       u"TARGET=\"a&quot;b&lt;c&gt;\">TRANSLATE</A>"},
      {{u"a\"b", u"", u"", u"<b>&'"},
       u"<A ID=\"a&quot;b\" HREF=\"\" TARGET=\"\">&lt;b&gt;&amp;&#39;</A>"},
  };
  ComPtr<HtmlWindowDouble> window = MakeDouble<HtmlWindowDouble>();
  ComPtr<HtmlDocumentDouble> page = MakeDouble<HtmlDocumentDouble>();
  window->document = page;
  page->SetBody(MakeDouble<HtmlElementDouble>());
  const std::shared_ptr<BrowserDocument> document =
      MakeIeMenuArguments(window->Window())->Window()->Document();
  ASSERT_NE(document, nullptr);
  for (const Case& c : cases) {
    ASSERT_TRUE(document->InsertLink(c.link));
    EXPECT_EQ(page->body->inserted.back().html, c.html);
  }
}

}  // namespace
}  // namespace qm
