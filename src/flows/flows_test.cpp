// The commands end to end in the core: a page, a catalogue, the user's
// gestures played on each dialog, and every effect recorded.
#include <gtest/gtest.h>

#include "flows/command_dispatch.h"
#include "host/memory_selection_store.h"
#include "support/fake_browser.h"
#include "support/fake_desktop.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr char kCatalogue[] =
    "[BOOK:A]\nshortDescription=A\nurl=https://a.example/?q=!S\nwindowName=A\n"
    "defaultSelected=y\n"
    "[BOOK:B]\nshortDescription=B\nurl=https://b.example/?q=!S\nwindowName=B\n"
    "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/isbn/!S\n"
    "[OTHER:Cmd]\nshortDescription=Ping\ncommand=ping.exe !H\nURLEncode=n\n"
    "[OTHER:Link]\nshortDescription=Link\nhref=https://t.example/?u=!U\n"
    "url=https://never.example/\nwindowName=_top\n"
    "[OTHER:Win]\nshortDescription=Window\nurl=https://w.example/!H\n"
    "[OTHER:WinMail]\nshortDescription=Window and mail\nurl=https://m.example/\n"
    "MailTo=someone@example.com\nMailSubject=!T\n"
    "[TRANSLATE:Fr]\nshortDescription=To French\nhref=https://tr.example/?u=!U\n"
    "exclusive=y\nwindowName=_top\n"
    "[CURRENCY:Conv]\nshortDescription=Converter\n"
    "url=https://fx.example/?a=!S&f=!F&t=!L\ndefaultSelected=y\n";

class FlowTest : public ::testing::Test {
 protected:
  FlowTest() : env_("C:\\Apps\\qmkit.dll"), ports_{env_, store_, desktop_, code_page_} {
    env_.SetFile("C:\\Apps\\qmkit.ini", kCatalogue);
    env_.SetUserCurrencyCode("EUR");
    env_.SetWindowMetrics({4, 4, 16, 19});
    top_->href = u"https://www.example.com/dp/0306406152/";
    top_->hostname = u"www.example.com";
    top_->document = std::make_shared<FakeDocument>();
    top_->document->title = u"A page";
    top_->document->selection = FakeTextRange{u"", std::nullopt};
    arguments_.window = top_;
  }
  void Select(const std::u16string& text) {
    top_->document->selection = FakeTextRange{text, std::nullopt};
  }
  std::vector<std::u16string> OpenedUrls() const {
    std::vector<std::u16string> urls;
    for (const auto& call : top_->opened) urls.push_back(call.url);
    return urls;
  }
  void ExpectScriptsPlayed() {
    EXPECT_TRUE(desktop_.script_errors.empty()) << desktop_.script_errors.front();
    EXPECT_TRUE(desktop_.scripts.empty());
  }

  FakeModuleEnvironment env_;
  MemorySelectionStore store_;
  FakeDesktop desktop_;
  Windows1252CodePage code_page_;
  HostPorts ports_;
  std::shared_ptr<FakeWindow> top_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
};

TEST_F(FlowTest, DispatchBeepsForUnusableWindowsAndUnknownWords) {
  FakeMenuArguments no_window;
  Click(u"CONFIG", &no_window, ports_);
  for (const char16_t* word : {u"Book", u"BOOK ", u"", u"book"}) {
    Click(word, &arguments_, ports_);
  }
  EXPECT_EQ(desktop_.beeps, std::vector<BeepKind>(5, BeepKind::kError));
  EXPECT_EQ(desktop_.dialogs_run, 0);
  EXPECT_EQ(CommandWordTable().front().word, u"CONFIG");
  EXPECT_EQ(CommandWordTable().size(), 14u);
}

TEST_F(FlowTest, IsbnFromThePageAddressWithNothingSelected) {
  desktop_.scripts.push_back("ok");
  Click(u"ISBN", &arguments_, ports_);
  ExpectScriptsPlayed();
  EXPECT_EQ(OpenedUrls(), std::vector<std::u16string>{u"https://shop.example/isbn/0306406152"});
  EXPECT_EQ(store_.values().at("ISBN:Shop"), 1u);
}

TEST_F(FlowTest, BookOffersAUpcAndEditedTextReachesEveryChosenSite) {
  Select(u"Item 0 36000 29145 2 in stock");
  desktop_.scripts.push_back("toggle 2; text Dune Messiah; ok");
  Click(u"BOOK", &arguments_, ports_);
  ExpectScriptsPlayed();
  ASSERT_EQ(desktop_.dialog_texts.size(), 1u);
  EXPECT_EQ(OpenedUrls(), (std::vector<std::u16string>{
                              u"https://a.example/?q=Dune%20Messiah",
                              u"https://b.example/?q=Dune%20Messiah"}));
  // The second window of the run is cascaded by its index.
  EXPECT_NE(top_->opened[0].features, top_->opened[1].features);
}

TEST_F(FlowTest, BookOffersTheTidiedSelectionAndCancelDoesNothing) {
  Select(u"  Dune \n by  Herbert ");
  desktop_.scripts.push_back("toggle 2; cancel");
  Click(u"BOOK", &arguments_, ports_);
  ASSERT_EQ(desktop_.dialog_texts.size(), 1u);
  EXPECT_EQ(desktop_.dialog_texts[0], u"Dune by Herbert");
  EXPECT_TRUE(top_->opened.empty());
  EXPECT_TRUE(store_.values().empty());
}

TEST_F(FlowTest, RunnerOrderAndIndexes) {
  // Command only (chosen on opening), href (its url is never opened), url,
  // url with mail.
  desktop_.scripts.push_back("toggle 2; toggle 3; toggle 4; ok");
  Click(u"OTHER", &arguments_, ports_);
  ExpectScriptsPlayed();
  ASSERT_EQ(desktop_.processes.size(), 1u);
  EXPECT_EQ(desktop_.processes[0], "ping.exe www.example.com");
  ASSERT_EQ(top_->document->clicked.size(), 1u);
  EXPECT_NE(top_->document->clicked[0].find(u"https://t.example/?u="), std::u16string::npos);
  EXPECT_EQ(OpenedUrls(), (std::vector<std::u16string>{
                              u"https://w.example/www.example.com",
                              u"https://m.example/"}));
  // The window entry is the third chosen entry: the command-only and link
  // entries count towards its cascade index.
  // With 640 x 480 and frames of 4, a scroll bar of 16 and a menu of 19
  // pixels, index 2 opens at (2 * 20) % 128 and (2 * 23) % 160.
  EXPECT_NE(top_->opened[0].features.find(u",left=40,"), std::u16string::npos)
      << std::string(top_->opened[0].features.begin(), top_->opened[0].features.end());
  EXPECT_NE(top_->opened[0].features.find(u",top=46,"), std::u16string::npos);
  EXPECT_EQ(top_->navigated.size(), 1u);  // the mail, after its window
  // Literal template text is not encoded; the inserted title is.
  EXPECT_EQ(top_->navigated[0], u"mailto:someone@example.com?subject=A%20page");
}

TEST_F(FlowTest, TranslateOnAnIntranetHostAsksFirst) {
  top_->hostname = u"intranet";
  desktop_.answers.push_back(MessageResult::kNo);
  Click(u"TRANSLATE", &arguments_, ports_);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].style.buttons, MessageButtons::kYesNo);
  EXPECT_TRUE(desktop_.messages[0].style.second_button_default);
  EXPECT_EQ(desktop_.dialogs_run, 0);

  desktop_.answers.push_back(MessageResult::kYes);
  desktop_.scripts.push_back("ok");
  Click(u"TRANSLATE", &arguments_, ports_);
  EXPECT_EQ(desktop_.dialogs_run, 1);
  EXPECT_EQ(top_->document->clicked.size(), 1u);
}

TEST_F(FlowTest, CurrencyAmountAndCodesReachTheSite) {
  Select(u"\u20AC12,50");
  desktop_.scripts.push_back("amount 99.5; to GBP; ok");
  Click(u"CURRENCY", &arguments_, ports_);
  ExpectScriptsPlayed();
  EXPECT_EQ(OpenedUrls(), std::vector<std::u16string>{
                              u"https://fx.example/?a=99.5&f=EUR&t=GBP"});
}

TEST_F(FlowTest, ConfigHomePageRunsTheSystemEntry) {
  desktop_.scripts.push_back("home");
  Click(u"CONFIG", &arguments_, ports_);
  ASSERT_EQ(top_->opened.size(), 1u);
  EXPECT_NE(top_->opened[0].url.find(u"product=qmkit"), std::u16string::npos);
  desktop_.scripts.push_back("ok");
  Click(u"CONFIG", &arguments_, ports_);
  EXPECT_EQ(top_->opened.size(), 1u);
}

}  // namespace
}  // namespace qm
