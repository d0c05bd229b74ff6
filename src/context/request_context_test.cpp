#include "context/request_context.h"

#include <gtest/gtest.h>

#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

// A top-level page with a frame in it; the menu is opened on the frame.
struct FramedPage {
  FramedPage() {
    top->name = u"";
    top->href = u"https://example.com/frameset.html";
    top->hostname = u"example.com";
    top->document = std::make_shared<FakeDocument>();
    top->document->title = u"Frameset";
    top->screen = std::make_pair(1280, 984);
    frame->top = top;
    frame->name = u"content";
    frame->href = u"https://books.example.org/page.html";
    frame->hostname = u"books.example.org";
    frame->document = std::make_shared<FakeDocument>();
    frame->document->title = u"A page";
    arguments.window = frame;
    arguments.frame = 0x1234;
  }
  std::shared_ptr<FakeWindow> top = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeWindow> frame = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments;
};

TEST(BuildRequestContext, RequiredWindowAndTop) {
  const FakeModuleEnvironment env;
  RequestContext no_arguments(env);
  EXPECT_FALSE(BuildRequestContext(no_arguments, nullptr));
  FakeMenuArguments not_a_window;
  RequestContext no_window(env);
  EXPECT_FALSE(BuildRequestContext(no_window, &not_a_window));
  FramedPage page;
  page.frame->top_fails = true;
  RequestContext no_top(env);
  EXPECT_FALSE(BuildRequestContext(no_top, &page.arguments));
  EXPECT_TRUE(no_top.pageHref().empty());  // nothing else was read
}

TEST(BuildRequestContext, FrameAndTopFields) {
  const FakeModuleEnvironment env;
  FramedPage page;
  page.frame->document->selection = FakeTextRange{u"  Dune  ", u"<b>Dune</b>"};
  RequestContext c(env);
  ASSERT_TRUE(BuildRequestContext(c, &page.arguments));
  EXPECT_EQ(c.window().get(), page.frame.get());
  EXPECT_EQ(c.topWindow().get(), page.top.get());
  EXPECT_EQ(c.browserWindow(), 0x1234u);
  EXPECT_EQ(c.pageHref(), u"https://books.example.org/page.html");
  EXPECT_EQ(c.pageHost(), u"books.example.org");
  EXPECT_EQ(c.pageTitle(), u"A page");
  EXPECT_EQ(c.pageName(), u"content");
  EXPECT_EQ(c.topHref(), u"https://example.com/frameset.html");
  EXPECT_EQ(c.topHost(), u"example.com");
  EXPECT_EQ(c.topTitle(), u"Frameset");
  EXPECT_EQ(c.topName(), u"");
  EXPECT_EQ(c.availWidth(), 1280);
  EXPECT_EQ(c.availHeight(), 984);
  EXPECT_EQ(c.selectedText(), u"  Dune  ");  // stored as read, untrimmed
  EXPECT_EQ(c.selectedHtml(), u"<b>Dune</b>");
  EXPECT_FALSE(c.isbnLooked() || c.upcLooked());
}

TEST(BuildRequestContext, ScreenFallbacks) {
  FakeModuleEnvironment env;
  FramedPage page;
  page.top->screen.reset();
  RequestContext defaults(env);
  ASSERT_TRUE(BuildRequestContext(defaults, &page.arguments));
  EXPECT_EQ(defaults.availWidth(), 640);
  EXPECT_EQ(defaults.availHeight(), 480);
  env.SetWorkArea(1024, 738);
  RequestContext work_area(env);
  ASSERT_TRUE(BuildRequestContext(work_area, &page.arguments));
  EXPECT_EQ(work_area.availWidth(), 1024);
  EXPECT_EQ(work_area.availHeight(), 738);
}

TEST(BuildRequestContext, ActiveElementStandsInForAnEmptySelection) {
  const FakeModuleEnvironment env;
  FramedPage page;
  page.frame->document->active_element =
      FakeElement{u"A", u"<A href=\"x\">Link text</A>", u"Link text"};
  RequestContext link(env);
  ASSERT_TRUE(BuildRequestContext(link, &page.arguments));
  EXPECT_EQ(link.selectedText(), u"Link text");
  EXPECT_EQ(link.selectedHtml(), u"<A href=\"x\">Link text</A>");

  // A real selection wins; only the empty field is filled in.
  page.frame->document->selection = FakeTextRange{u"chosen", std::nullopt};
  RequestContext partial(env);
  ASSERT_TRUE(BuildRequestContext(partial, &page.arguments));
  EXPECT_EQ(partial.selectedText(), u"chosen");
  EXPECT_EQ(partial.selectedHtml(), u"<A href=\"x\">Link text</A>");

  // Tag names compare case-sensitively; other elements do not stand in.
  for (const char16_t* tag : {u"a", u"DIV", u"ABBR"}) {
    page.frame->document->selection.reset();
    page.frame->document->active_element->tag_name = tag;
    RequestContext other(env);
    ASSERT_TRUE(BuildRequestContext(other, &page.arguments));
    EXPECT_TRUE(other.selectedText().empty()) << static_cast<int>(tag[0]);
    EXPECT_TRUE(other.selectedHtml().empty());
  }
}

TEST(BuildRequestContext, TheLinkUnderTheMenuStandsInBeforeTheActiveElement) {
  const FakeModuleEnvironment env;
  FramedPage page;
  page.frame->document->active_element = FakeElement{u"P", u"<P>Focused</P>", u"Focused"};
  page.arguments.link = MenuLink{u"https://shop.example/item/42", u"Blue Train",
                                 u"<a href=\"/item/42\">Blue Train</a>"};
  RequestContext on_link(env);
  ASSERT_TRUE(BuildRequestContext(on_link, &page.arguments));
  EXPECT_EQ(on_link.linkHref(), u"https://shop.example/item/42");
  EXPECT_EQ(on_link.selectedText(), u"Blue Train");
  EXPECT_EQ(on_link.selectedHtml(), u"<a href=\"/item/42\">Blue Train</a>");
  EXPECT_EQ(on_link.pageHref(), u"https://books.example.org/page.html");  // unchanged

  // A selection wins; a link without text or markup leaves the fields
  // empty rather than borrowing the focused element's.
  page.frame->document->selection = FakeTextRange{u"chosen", std::nullopt};
  page.arguments.link = MenuLink{u"https://shop.example/", u"", u""};
  RequestContext image_link(env);
  ASSERT_TRUE(BuildRequestContext(image_link, &page.arguments));
  EXPECT_EQ(image_link.selectedText(), u"chosen");
  EXPECT_TRUE(image_link.selectedHtml().empty());

  // The link is read even where the frame's document is not.
  page.frame->document.reset();
  page.arguments.link->text = u"Elsewhere";
  RequestContext no_document(env);
  ASSERT_TRUE(BuildRequestContext(no_document, &page.arguments));
  EXPECT_EQ(no_document.selectedText(), u"Elsewhere");
}

TEST(RequestContext, SetPageAddressMovesEveryAddressAndHost) {
  const FakeModuleEnvironment env;
  FramedPage page;
  RequestContext c(env);
  ASSERT_TRUE(BuildRequestContext(c, &page.arguments));
  c.SetPageAddress(u"https://user@Shop.example:8443/a?b#c");
  EXPECT_EQ(c.pageHref(), u"https://user@Shop.example:8443/a?b#c");
  EXPECT_EQ(c.topHref(), c.pageHref());
  EXPECT_EQ(c.pageHost(), u"Shop.example");
  EXPECT_EQ(c.topHost(), u"Shop.example");
  EXPECT_EQ(c.pageTitle(), u"A page");
  EXPECT_EQ(c.topName(), u"");
  c.SetPageAddress(u"mailto:a@example.com");
  EXPECT_TRUE(c.topHost().empty());
}

TEST(BuildRequestContext, FailedReadsLeaveFieldsEmpty) {
  const FakeModuleEnvironment env;
  FramedPage page;
  page.frame->hostname.reset();  // a local file has no host
  page.frame->document.reset();
  page.top->name.reset();
  RequestContext c(env);
  ASSERT_TRUE(BuildRequestContext(c, &page.arguments));
  EXPECT_TRUE(c.pageHost().empty());
  EXPECT_TRUE(c.pageTitle().empty());
  EXPECT_TRUE(c.selectedText().empty());
  EXPECT_EQ(c.topTitle(), u"Frameset");
}

TEST(RequestContext, NormalisedSelectionAndSetSelectedText) {
  const FakeModuleEnvironment env;
  RequestContext c(env);
  c.SetSelectedText(u"  two  words\r\n");
  EXPECT_EQ(c.NormalisedSelection(), u"two words");
  c.SetSelectedText(u"\t\n");
  EXPECT_EQ(c.NormalisedSelection(), u"");
  c.SetSelectedText(u"single");
  EXPECT_EQ(c.NormalisedSelection(), u"single");
  // Non-breaking spaces from web pages count as white space.
  c.SetSelectedText(u"\u00A0Le\u00A0 Monde\u3000");
  EXPECT_EQ(c.NormalisedSelection(), u"Le Monde");

  c.SetFoundISBN(u"0306406152");
  c.SetSelectedText(u"");
  EXPECT_TRUE(c.selectedText().empty());
  EXPECT_TRUE(c.isbnLooked());
  EXPECT_EQ(c.foundISBN(), u"0306406152");
}

}  // namespace
}  // namespace qm
