#include "ie_browser_window.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "context/request_context.h"
#include "ie_page_doubles.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

std::string Narrow(const std::u16string& text) { return std::string(text.begin(), text.end()); }

// Every double a test made is gone once the test and the adapters have let
// go of it: the adapters release every reference they take.
class IeBrowserTest : public ::testing::Test {
 protected:
  void SetUp() override { live_before_ = LiveComDoubles(); }
  void TearDown() override { EXPECT_EQ(LiveComDoubles(), live_before_) << "doubles leaked"; }

 private:
  int live_before_ = 0;
};

// The fields of a context that come from the page, for comparing two.
struct ContextFields {
  bool window, top;
  WindowHandle frame;
  std::u16string selectedText, selectedHtml, pageHref, pageName, pageHost, pageTitle,
      topHref, topName, topHost, topTitle;
  int availWidth, availHeight;
  bool operator==(const ContextFields&) const = default;
};

void PrintTo(const ContextFields& f, std::ostream* out) {
  *out << "window " << f.window << " top " << f.top << " frame " << f.frame << " selection \""
       << Narrow(f.selectedText) << "\" html \"" << Narrow(f.selectedHtml) << "\" page \""
       << Narrow(f.pageHref) << "\" \"" << Narrow(f.pageName) << "\" \"" << Narrow(f.pageHost)
       << "\" \"" << Narrow(f.pageTitle) << "\" top \"" << Narrow(f.topHref) << "\" \""
       << Narrow(f.topName) << "\" \"" << Narrow(f.topHost) << "\" \"" << Narrow(f.topTitle)
       << "\" screen " << f.availWidth << "x" << f.availHeight;
}

ContextFields FieldsOf(const RequestContext& c) {
  return {c.window() != nullptr, c.topWindow() != nullptr, c.browserWindow(), c.selectedText(),
          c.selectedHtml(), c.pageHref(), c.pageName(), c.pageHost(), c.pageTitle(),
          c.topHref(), c.topName(), c.topHost(), c.topTitle(), c.availWidth(),
          c.availHeight()};
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
  EXPECT_FALSE(document->InsertIntoBody(u"<P>x</P>"));
  EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
  EXPECT_FALSE(document->RemoveElements(u"QMKIT7587"));

  ComPtr<HtmlDocumentDouble> answering = MakeDouble<HtmlDocumentDouble>();
  ComPtr<HtmlSelectionDouble> selection = MakeDouble<HtmlSelectionDouble>();
  selection->range = MakeDouble<FailingRange>();
  answering->selection = selection;
  answering->active_element = MakeDouble<FailingElement>();
  page->document = answering;
  document = arguments->Window()->Document();
  ASSERT_NE(document, nullptr);
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

}  // namespace
}  // namespace qm
