// The stand-in's page as the module sees it: through the module's own
// adapter of the browser's interfaces.
#include "page_objects.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ie_browser_window.h"

namespace qm::standin {
namespace {

class PageObjectsTest : public testing::Test {
 protected:
  void SetUp() override {
    // Message-only windows need no display.
    frame_ = ::CreateWindowExW(0, L"STATIC", L"page", 0, 0, 0, 300, 200, HWND_MESSAGE,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(frame_, nullptr);
    text_box_ = ::CreateWindowExW(0, L"EDIT", L"About <b> ISBN 0-306-40615-2 & more",
                                  ES_MULTILINE, 0, 0, 200, 100, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(text_box_, nullptr);
    view_.frame = frame_;
    view_.text_box = text_box_;
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    wchar_t file[MAX_PATH];
    ::GetTempFileNameW(folder, L"qms", 0, file);
    log_path_ = file;
  }
  void TearDown() override {
    ::DestroyWindow(text_box_);
    ::DestroyWindow(frame_);
    ::DeleteFileW(log_path_.c_str());
  }
  void Select(int from, int to) { ::SendMessageW(text_box_, EM_SETSEL, from, to); }
  std::string LogLines() {
    FILE* in = ::_wfopen(log_path_.c_str(), L"rb");
    if (in == nullptr) return "(no log)";
    std::string text;
    char buffer[512];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, in)) > 0;) {
      text.append(buffer, got);
    }
    std::fclose(in);
    return text;
  }

  HWND frame_ = nullptr;
  HWND text_box_ = nullptr;
  PageView view_;
  std::wstring log_path_;
};

TEST_F(PageObjectsTest, TheAdapterReadsAddressTitleSelectionAndFrameOfThePage) {
  PageData page{L"https://reader@books.example:8080/isbn/0306406152", L"Books", L"main",
                L"https://books.example/more", L"More"};
  PageData frame{L"https://ads.example/f", L"Ads", L"", L"", L""};
  PageView frame_view;
  frame_view.frame = frame_;
  ComPtr<IHTMLWindow2> top = MakePageWindow(page, &view_, nullptr, nullptr);
  ComPtr<IHTMLWindow2> inner = MakePageWindow(frame, &frame_view, nullptr, top.get());

  const auto arguments = MakeIeMenuArguments(inner.get());
  EXPECT_EQ(arguments->BrowserFrame(), reinterpret_cast<WindowHandle>(frame_));
  const auto window = arguments->Window();
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->LocationHref(), u"https://ads.example/f");
  EXPECT_EQ(window->Document()->Title(), u"Ads");
  const auto top_window = window->Top();
  ASSERT_NE(top_window, nullptr);
  EXPECT_EQ(top_window->LocationHref(), u"https://reader@books.example:8080/isbn/0306406152");
  EXPECT_EQ(top_window->LocationHostname(), u"books.example");
  EXPECT_EQ(top_window->Name(), u"main");
  EXPECT_EQ(top_window->Document()->Title(), u"Books");
  int width = 0;
  int height = 0;
  EXPECT_TRUE(top_window->ScreenAvailSize(&width, &height));
  EXPECT_GT(width, 0);
  EXPECT_GT(height, 0);

  // The selection is read when asked for, as the person left it.
  const auto document = top_window->Document();
  Select(6, 9);
  EXPECT_EQ(document->SelectionRange()->Text(), u"<b>");
  EXPECT_EQ(document->SelectionRange()->HtmlText(), u"&lt;b&gt;");
  Select(10, 28);
  EXPECT_EQ(document->SelectionRange()->Text(), u"ISBN 0-306-40615-2");
  Select(0, 0);
  EXPECT_EQ(document->SelectionRange()->Text(), u"");

  // The focused element: the link when the menu opened on it.
  EXPECT_EQ(document->ActiveElement()->TagName(), u"BODY");
  view_.on_anchor = true;
  const auto link = document->ActiveElement();
  EXPECT_EQ(link->TagName(), u"A");
  EXPECT_EQ(link->InnerText(), u"More");
  EXPECT_EQ(link->OuterHtml(), u"<A href=\"https://books.example/more\">More</A>");
}

TEST_F(PageObjectsTest, WindowsOpenedLinksFollowedAndAddressesNavigatedAreLogLines) {
  {
    EventLog log(log_path_);
    ASSERT_TRUE(log.ok());
    ComPtr<IHTMLWindow2> top = MakePageWindow({L"https://a.example/", L"", L"", L"", L""}, &view_, &log, nullptr);
    const auto window = MakeIeMenuArguments(top.get())->Window();
    ASSERT_NE(window, nullptr);
    const auto document = window->Document();

    // A window object comes back: the module then leaves the shell alone.
    const auto opened = window->Open(u"https://b.example/?q=1\r\nopen x", u"B", u"width=9");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->LocationHref(), u"https://b.example/?q=1\r\nopen x");

    EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
    EXPECT_TRUE(
        document->InsertLink({u"QMKIT7587", u"https://c.example/?a=1&b=2", u"_top", u"T"}));
    EXPECT_TRUE(document->ClickAnchor(u"QMKIT7587"));
    EXPECT_TRUE(document->RemoveElements(u"QMKIT7587"));
    EXPECT_FALSE(document->ClickAnchor(u"QMKIT7587"));
    EXPECT_TRUE(window->Navigate(u"mailto:someone@example.com"));
  }
  EXPECT_EQ(LogLines(),
            "open https://b.example/?q=1\\x0d\\x0aopen x name=B features=width=9\n"
            "insert beforeEnd <A ID=\"QMKIT7587\" HREF=\"https://c.example/?a=1&amp;b=2\" "
            "TARGET=\"_top\">T</A>\n"
            "follow https://c.example/?a=1&b=2 target=_top\n"
            "navigate mailto:someone@example.com\n");
}

}  // namespace
}  // namespace qm::standin
