// The commands end to end in the core: a page, a catalogue, the user's
// gestures played on each dialog, and every effect recorded.
#include <optional>

#include <gtest/gtest.h>

#include "flows/action_runner.h"
#include "flows/command_dispatch.h"
#include "host/memory_selection_store.h"
#include "resource_ids.h"
#include "support/fake_browser.h"
#include "support/fake_desktop.h"
#include "support/fake_dialog_host.h"
#include "support/fake_module_environment.h"
#include "support/fake_shell.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr WindowHandle kBrowserFrame = 0xB0B;

// For messages about failing cases; the texts here are all ASCII.
std::string Ascii(std::u16string_view text) {
  return std::string(text.begin(), text.end());
}

// Entries are listed in the order of their names, not of the file.
constexpr char kCatalogue[] =
    "[BOOK:A]\nshortDescription=A\nurl=https://a.example/?q=!S\nwindowName=A\n"
    "defaultSelected=y\n"
    "[BOOK:B]\nshortDescription=B\nurl=https://b.example/?q=!S\nwindowName=B\n"
    "[ISBN:Shop]\nshortDescription=Shop\nurl=https://shop.example/isbn/!S\n"
    "[OTHER:Cmd]\nshortDescription=Ping\ncommand=ping.exe !H\nURLEncode=n\n"
    "[OTHER:Off]\nshortDescription=Left unticked\nurl=https://off.example/\n"
    "[OTHER:Link]\nshortDescription=Link\ncommand=link.exe\n"
    "href=https://t.example/?u=!U\nurl=https://never.example/\nwindowName=_top\n"
    "MailTo=link@example.com\n"
    "[OTHER:Win]\nshortDescription=Window and mail\ncommand=win.exe\n"
    "url=https://w.example/!H\nMailTo=someone@example.com\nMailSubject=!T\n"
    "[EMAIL:Send]\nshortDescription=Send\nMailTo=someone@example.com\n"
    "MailSubject=!S\n"
    "[URL:Look]\nshortDescription=Look\nurl=https://v.example/?s=!S\n"
    "[TRANSLATE:Fr]\nshortDescription=To French\n"
    "href=https://tr.example/?u=!U&s=!S\nexclusive=y\nwindowName=_top\n"
    "[CURRENCY:Conv]\nshortDescription=Converter\n"
    "url=https://fx.example/?a=!S&f=!F&t=!L\ndefaultSelected=y\n";

class FlowTest : public ::testing::Test {
 protected:
  FlowTest()
      : env_("C:\\Apps\\qmkit.dll"),
        ports_{env_, store_, desktop_, shell_, dialogs_, code_page_} {
    env_.SetFile("C:\\Apps\\qmkit.ini", kCatalogue);
    env_.SetUserCurrencyCode("EUR");
    env_.SetWindowMetrics({4, 4, 16, 19});
    top_->href = u"https://www.example.com/dp/0306406152/";
    top_->hostname = u"www.example.com";
    top_->document = std::make_shared<FakeDocument>();
    top_->document->title = u"A page";
    top_->document->selection = FakeTextRange{u"", std::nullopt};
    arguments_.window = top_;
    arguments_.frame = kBrowserFrame;
  }
  void Select(const std::u16string& text) {
    top_->document->selection = FakeTextRange{text, std::nullopt};
  }
  // Opens the menu in a frame of the page instead of the page itself.
  void UseFrame(const std::u16string& host) {
    frame_->top = top_;
    frame_->hostname = host;
    frame_->href = u"https://" + host + u"/";
    frame_->document = std::make_shared<FakeDocument>();
    arguments_.window = frame_;
  }
  std::vector<std::u16string> OpenedUrls() const {
    std::vector<std::u16string> urls;
    for (const auto& call : top_->opened) urls.push_back(call.url);
    return urls;
  }
  // Every address opened, navigated to or clicked, one to a line.
  std::u16string Effects() const {
    std::u16string all;
    for (const auto& call : top_->opened) all += call.url + u"\n";
    for (const auto& url : top_->navigated) all += url + u"\n";
    for (const auto& link : top_->document->clicked) all += link.address + u"\n";
    return all;
  }
  void ExpectScriptsPlayed() {
    EXPECT_TRUE(dialogs_.script_errors.empty()) << dialogs_.script_errors.front();
    EXPECT_TRUE(dialogs_.scripts.empty());
  }
  FakeModuleEnvironment env_;
  MemorySelectionStore store_;
  FakeDesktop desktop_;
  FakeShell shell_;
  FakeDialogHost dialogs_;
  Windows1252CodePage code_page_;
  HostPorts ports_;
  std::shared_ptr<FakeWindow> top_ = std::make_shared<FakeWindow>();
  std::shared_ptr<FakeWindow> frame_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
};

TEST_F(FlowTest, DispatchBeepsForUnusableWindowsAndUnknownWords) {
  FakeMenuArguments no_window;
  Click(u"CONFIG", &no_window, ports_);
  using namespace std::literals;
  // A word holding a NUL is no command word, whatever comes before it.
  for (std::u16string_view word : {u"Book"sv, u"BOOK "sv, u""sv, u"book"sv, u"ISBN\0X"sv}) {
    Click(word, &arguments_, ports_);
  }
  EXPECT_EQ(desktop_.beeps, std::vector<BeepKind>(6, BeepKind::kError));
  EXPECT_EQ(dialogs_.dialogs_run, 0);
  EXPECT_EQ(CommandWordTable().front().word, u"CONFIG");
  EXPECT_EQ(CommandWordTable().size(), 14u);
}

// Each command's dialog as the view would show it, owned by the browser
// window, and the help topic behind each of its help buttons.
TEST_F(FlowTest, EveryCommandsDialogTextsAndHelpTopics) {
  constexpr char16_t kSites[] =
      u"At one or more of the following\n(Double-click on sites or actions "
      u"to select them)";
  constexpr char16_t kCodeSites[] =
      u"At one or more of the following sites\n(Double-click sites to select "
      u"them)";
  struct Case {
    const char16_t* word;
    int template_id;  // 0: a dialog with a view of its own
    const char16_t* caption;
    const char16_t* prompt;
    std::vector<std::string> help;
  };
  const Case cases[] = {
      {u"BOOK", IDD_ASK_OTHER, u"Search for a book", kSites, {"HelpBook.htm"}},
      {u"MOVIE", IDD_ASK_OTHER, u"Search for a movie", kSites, {"HelpMovie.htm"}},
      {u"MUSIC", IDD_ASK_OTHER, u"Search for music", kSites, {"HelpMusic.htm"}},
      {u"OTHER", IDD_ASK_OTHER, u"Using the following selection",
       u"Do one of the following\n(Double-click on sites or actions to select "
       u"them)",
       {"HelpOther.htm"}},
      {u"SEARCH", IDD_ASK_OTHER, u"Search for", kSites, {"HelpSearch.htm"}},
      {u"ISBN", IDD_ASK_ISBN, u"Look for the book ISBN", kCodeSites, {"HelpISBN.htm"}},
      {u"UPC", IDD_ASK_UPC, u"Look for the item with UPC", kCodeSites, {"HelpUPC.htm"}},
      {u"STOCK", IDD_ASK_STOCK, u"Look for the stock with symbol",
       u"At one or more of the following sites\n(Double-click actions or sites "
       u"to select them)",
       {"HelpStock.htm"}},
      {u"EMAIL", IDD_ASK_EMAIL, u"",
       u"Send an email\n(Double click on the type of email required)",
       {"HelpEmail.htm"}},
      {u"TRANSLATE", IDD_ASK_TRANSLATE, u"",
       u"Translate publicly accessible web page\n(Double click on the "
       u"translation required)",
       {"HelpTranslate.htm"}},
      {u"URL", IDD_ASK_URL, u"",
       u"Find information about this URL\n(Double click on the site or action "
       u"required)",
       {"HelpURL.htm"}},
      {u"CURRENCY", IDD_ASK_CURRENCY, u"",
       u"Using one of the following\n(Double-click actions or sites to select "
       u"them)",
       {"HelpCurrency.htm"}},
      {u"CONVERT", 0, u"", u"", {"HelpUnits.htm"}},
      {u"CONFIG", 0, u"", u"", {"HelpIndex.htm", "HelpCustomize.htm"}},
  };
  dialogs_.convert_script = [](CAskConvertDlg& dialog) {
    dialog.Open();
    dialog.Help();
  };
  for (const Case& c : cases) {
    const std::string word = Ascii(c.word);
    SCOPED_TRACE(word);
    dialogs_.shown.clear();
    desktop_.help_topics.clear();
    if (word == "CONFIG") {
      dialogs_.scripts.push_back("help; customize");
    } else if (word != "CONVERT") {  // the converter plays convert_script
      dialogs_.scripts.push_back("help");
    }
    Click(c.word, &arguments_, ports_);
    ExpectScriptsPlayed();
    ASSERT_EQ(dialogs_.shown.size(), 1u);
    EXPECT_EQ(dialogs_.shown[0].owner, kBrowserFrame);
    const ChoiceDialogTexts& texts = dialogs_.shown[0].texts;
    EXPECT_EQ(texts.template_id, c.template_id);
    EXPECT_EQ(texts.group_caption, c.caption);
    EXPECT_EQ(texts.prompt, c.prompt);
    std::vector<std::string> expected_help;
    for (const std::string& page : c.help) {
      expected_help.push_back("C:\\Apps\\qmkit.chm::/" + page);
    }
    EXPECT_EQ(desktop_.help_topics, expected_help);
  }
}

TEST_F(FlowTest, TheTextEachFlowOffers) {
  struct Case {
    const char16_t* word;
    std::optional<std::u16string> selection;  // none: nothing selected
    const char16_t* paragraph;  // the active "P" element's text, if any
    const char16_t* address;
    const char16_t* offered;
  };
  const char16_t* kIsbnAddress = u"https://www.example.com/dp/0306406152/";
  const char16_t* kPlainAddress = u"https://www.example.com/";
  const Case cases[] = {
      // A UPC in the selection is offered to the other-category flows too.
      {u"BOOK", u"Item 0 36000 29145 2 in stock", nullptr, kIsbnAddress,
       u"036000291452"},
      {u"BOOK", u"  Dune \n by  Herbert ", nullptr, kIsbnAddress,
       u"Dune by Herbert"},
      {u"UPC", u"Item 0 36000 29145 2 in stock", nullptr, kIsbnAddress,
       u"036000291452"},
      // The address holds an ISBN, which is no UPC.
      {u"UPC", u"  Dune \n Messiah ", nullptr, kIsbnAddress, u"Dune Messiah"},
      {u"ISBN", std::nullopt, nullptr, kIsbnAddress, u"0306406152"},
      // An EAN-13 in the selection is found before an ISBN-10 in the address.
      {u"ISBN", u"978-1-86197-271-2", nullptr, kIsbnAddress, u"1861972717"},
      {u"ISBN", u"  Dune \n Messiah ", nullptr, kPlainAddress, u"Dune Messiah"},
      {u"STOCK", u"Shares of XYZ rose", nullptr, kIsbnAddress, u"XYZ"},
      // No symbol: the box stays empty rather than offering the words.
      {u"STOCK", u"McKay", nullptr, kIsbnAddress, u""},
      // With nothing selected, an active paragraph stands in, as a link does.
      {u"SEARCH", std::nullopt, u"  Spice \n Melange ", kPlainAddress,
       u"Spice Melange"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Ascii(c.word) + " offering \"" + Ascii(c.offered) + "\"");
    top_->document->selection.reset();
    if (c.selection) Select(*c.selection);
    top_->document->active_element.reset();
    if (c.paragraph) {
      top_->document->active_element = FakeElement{u"P", u"<P>x</P>", c.paragraph};
    }
    top_->href = c.address;
    dialogs_.dialog_texts.clear();
    Click(c.word, &arguments_, ports_);  // no script: the dialog is cancelled
    ASSERT_EQ(dialogs_.dialog_texts.size(), 1u);
    EXPECT_EQ(dialogs_.dialog_texts[0], c.offered);
  }
}

TEST_F(FlowTest, AfterOkTheEditedTextReachesEveryChosenSiteAndCancelDoesNothing) {
  Select(u"Dune");
  dialogs_.scripts.push_back("toggle 2; cancel");
  Click(u"BOOK", &arguments_, ports_);
  EXPECT_TRUE(top_->opened.empty());
  EXPECT_TRUE(store_.values().empty());

  dialogs_.scripts.push_back("toggle 2; text Dune Messiah; ok");
  Click(u"BOOK", &arguments_, ports_);
  ExpectScriptsPlayed();
  EXPECT_EQ(OpenedUrls(), (std::vector<std::u16string>{
                              u"https://a.example/?q=Dune%20Messiah",
                              u"https://b.example/?q=Dune%20Messiah"}));
  EXPECT_EQ(store_.values().at("BOOK:A"), 1u);
  EXPECT_EQ(store_.values().at("BOOK:B"), 1u);
}

TEST_F(FlowTest, ListOnlyFlowsKeepThePageSelection) {
  Select(u"Dune");
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"EMAIL", u"mailto:someone@example.com?subject=Dune\n"},
      {u"URL", u"https://v.example/?s=Dune\n"},
      {u"TRANSLATE", u"s=Dune\n"},
  };
  for (const auto& [word, effect] : cases) {
    dialogs_.scripts.push_back("ok");
    Click(word, &arguments_, ports_);
    EXPECT_NE(Effects().find(effect), std::u16string::npos)
        << Ascii(Effects());
  }
  ExpectScriptsPlayed();
}

// On a link, the URL command's sites look up where it leads and the
// commands with a text take its text when nothing is selected.
TEST_F(FlowTest, OnALinkUrlTakesItsAddressAndTheOthersItsText) {
  env_.SetFile("C:\\Apps\\qmkit.ini",
               std::string(kCatalogue) +
                   "[URL:Where]\nshortDescription=Where\n"
                   "url=https://w.example/!H/!D?u=!U&f=!u\nURLEncode=n\ndefaultSelected=y\n");
  const MenuLink link{u"https://news.shop.co.uk:8443/item/42?x=1", u"  Blue \n Train ",
                      u"<a href=\"/item/42?x=1\">Blue Train</a>"};
  struct Case {
    const char16_t* word;
    bool on_link;
    std::optional<std::u16string> selection;
    const char16_t* offered;  // the dialog's text; nullptr: the effect below
    const char16_t* effect;
  };
  const Case cases[] = {
      {u"URL", true, std::nullopt, nullptr,
       u"https://w.example/news.shop.co.uk/shop.co.uk?u=https://news.shop.co.uk:8443/"
       u"item/42?x=1&f=https://news.shop.co.uk:8443/item/42?x=1\n"},
      {u"URL", true, u"chosen", nullptr, u"https://w.example/news.shop.co.uk/"},
      {u"URL", false, std::nullopt, nullptr,
       u"https://w.example/www.example.com/example.com?u=https://www.example.com/dp/"},
      {u"SEARCH", true, std::nullopt, u"Blue Train", nullptr},
      {u"SEARCH", true, u"chosen", u"chosen", nullptr},
      {u"STOCK", true, std::nullopt, u"", nullptr},
      {u"SEARCH", false, std::nullopt, u"", nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Ascii(c.word) + (c.on_link ? " on a link" : " on the page"));
    top_->href = u"https://www.example.com/dp/0306406152/";
    top_->hostname = u"www.example.com";
    top_->opened.clear();
    top_->document->selection.reset();
    if (c.selection) Select(*c.selection);
    // A focused paragraph never outranks the link the menu was opened on.
    top_->document->active_element = FakeElement{u"P", u"<P>Focused</P>", u"Focused"};
    if (c.on_link) arguments_.link = link; else arguments_.link.reset();
    if (!c.on_link) top_->document->active_element.reset();
    dialogs_.dialog_texts.clear();
    if (c.effect) dialogs_.scripts.push_back("ok");
    Click(c.word, &arguments_, ports_);
    if (c.offered) {
      ASSERT_EQ(dialogs_.dialog_texts.size(), 1u);
      EXPECT_EQ(dialogs_.dialog_texts[0], c.offered);
    } else {
      EXPECT_NE(Effects().find(c.effect), std::u16string::npos) << Ascii(Effects());
    }
  }
  ExpectScriptsPlayed();
}

// The question is about the page or frame the menu was opened on, whatever
// the top-level page is.
TEST_F(FlowTest, TranslateAsksWhenTheMenusHostHasNoDot) {
  struct Case {
    const char16_t* frame_host;
    const char16_t* top_host;
    MessageResult answer;
    bool asks;
    bool shows_dialog;
  };
  const Case cases[] = {
      {u"intranet", u"www.example.com", MessageResult::kNo, true, false},
      {u"intranet", u"www.example.com", MessageResult::kYes, true, true},
      {u"", u"www.example.com", MessageResult::kNo, true, false},  // a file
      {u"www.example.org", u"intranet", MessageResult::kNo, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Ascii(c.frame_host));
    UseFrame(c.frame_host);
    top_->hostname = c.top_host;
    desktop_.messages.clear();
    dialogs_.shown.clear();
    desktop_.answers = {c.answer};
    Click(u"TRANSLATE", &arguments_, ports_);
    ASSERT_EQ(desktop_.messages.size(), c.asks ? 1u : 0u);
    if (c.asks) {
      const FakeDesktop::Message& m = desktop_.messages[0];
      EXPECT_EQ(m.owner, 0u);
      EXPECT_EQ(m.text,
                u"Translation is only available if the URL you are browsing is "
                u"on the Internet.\nContinue anyway?");
      EXPECT_EQ(m.caption, u"Pellmor Quillmark");
      EXPECT_EQ(m.style.icon, MessageIcon::kExclamation);
      EXPECT_EQ(m.style.buttons, MessageButtons::kYesNo);
      EXPECT_TRUE(m.style.second_button_default);
    }
    EXPECT_EQ(dialogs_.shown.size(), c.shows_dialog ? 1u : 0u);
  }
}

// One run over a command-only entry, an entry with a link and a window and
// mail, one left unticked, and one with a command, a window and mail.
TEST_F(FlowTest, RunnerOrderWithinEachEntryAndTheCascadeIndex) {
  std::vector<std::string> journal;
  shell_.journal = &journal;
  top_->journal = &journal;
  top_->document->journal = &journal;
  dialogs_.scripts.push_back("toggle 2; toggle 4; ok");  // line 1 is chosen
  Click(u"OTHER", &arguments_, ports_);
  ExpectScriptsPlayed();
  // Each entry: its command, then its link (its url is never opened) or its
  // window, then its mail.
  EXPECT_EQ(journal, (std::vector<std::string>{"process", "process", "click",
                                               "navigate", "process", "open",
                                               "navigate"}));
  EXPECT_EQ(shell_.processes, (std::vector<std::string>{
                                    "ping.exe www.example.com", "link.exe", "win.exe"}));
  ASSERT_EQ(top_->document->clicked.size(), 1u);
  EXPECT_NE(top_->document->clicked[0].address.find(u"https://t.example/?u="),
            std::u16string::npos);
  EXPECT_EQ(OpenedUrls(), std::vector<std::u16string>{u"https://w.example/www.example.com"});
  // Literal template text is not encoded; the inserted title is.
  EXPECT_EQ(top_->navigated, (std::vector<std::u16string>{
                                 u"mailto:link@example.com",
                                 u"mailto:someone@example.com?subject=A%20page"}));
  // The window is the third chosen entry: entries without a window count,
  // the unticked one does not. With 640 x 480 and frames of 4, a scroll bar
  // of 16 and a menu of 19 pixels, index 2 opens at (2 * 20) % 128 and
  // (2 * 23) % 160.
  const std::u16string& features = top_->opened[0].features;
  EXPECT_NE(features.find(u",left=40,"), std::u16string::npos)
      << Ascii(features);
  EXPECT_NE(features.find(u",top=46,"), std::u16string::npos);
}

TEST_F(FlowTest, CurrencyInitialTargetAndTheConfirmedValues) {
  struct Case {
    const char* user_currency;
    const char16_t* selection;
    const char* script;
    const char16_t* opened;
  };
  const Case cases[] = {
      // The user's own currency is the source too: US dollars instead, or
      // Canadian dollars when both are already US dollars.
      {"EUR", u"\u20AC12,50", "amount 5; ok", u"https://fx.example/?a=5&f=EUR&t=USD"},
      {"USD", u"$12.50", "amount 5; ok", u"https://fx.example/?a=5&f=USD&t=CAD"},
      {"GBP", u"\u20AC12,50", "amount 5; ok", u"https://fx.example/?a=5&f=EUR&t=GBP"},
      {"EUR", u"\u20AC12,50", "amount 99.5; to GBP; ok",
       u"https://fx.example/?a=99.5&f=EUR&t=GBP"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.script);
    env_.SetUserCurrencyCode(c.user_currency);
    Select(c.selection);
    top_->opened.clear();
    dialogs_.scripts.push_back(c.script);
    Click(u"CURRENCY", &arguments_, ports_);
    ExpectScriptsPlayed();
    EXPECT_EQ(OpenedUrls(), std::vector<std::u16string>{c.opened});
  }
}

TEST_F(FlowTest, ConfigHomePageRunsTheSystemEntry) {
  dialogs_.scripts.push_back("home");
  Click(u"CONFIG", &arguments_, ports_);
  ASSERT_EQ(top_->opened.size(), 1u);
  EXPECT_NE(top_->opened[0].url.find(u"product=qmkit"), std::u16string::npos);
  dialogs_.scripts.push_back("ok");
  Click(u"CONFIG", &arguments_, ports_);
  EXPECT_EQ(top_->opened.size(), 1u);
}

TEST_F(FlowTest, SystemEntryRunsOnlyTheEntryOfExactlyThatName) {
  env_.SetBuiltIn(IDR_SYSTEM_CATALOGUE,
                  "[SYSTEM:First]\nurl=https://first.example/\ndefaultSelected=y\n"
                  "[SYSTEM:Home]\nurl=https://home.example/\n");
  const std::pair<const char*, std::vector<std::u16string>> cases[] = {
      {"SYSTEM:Home", {u"https://home.example/"}},
      {"SYSTEM:Nowhere", {}},
      {"system:home", {}},
      {"SYSTEM:Hom", {}},
      {"", {}},
  };
  for (const auto& [name, opened] : cases) {
    RequestContext context(env_);
    ASSERT_TRUE(BuildRequestContext(context, &arguments_));
    top_->opened.clear();
    RunSystemEntry(context, ports_, name);
    EXPECT_EQ(OpenedUrls(), opened) << name;
  }
  EXPECT_TRUE(store_.values().empty());
}

TEST_F(FlowTest, AFailedSaveIsToldAndTheChoiceStillCarriedOut) {
  // A store that remembers nothing and can keep nothing, like a full disk.
  struct FailingStore final : SelectionStore {
    bool Read(const std::string&, std::uint32_t*) const override { return false; }
    bool Write(const std::vector<RememberedValue>&) override { return false; }
  } failing;
  HostPorts ports{env_, failing, desktop_, shell_, dialogs_, code_page_};
  const std::pair<const char16_t*, const char*> cases[] = {
      {u"BOOK", "toggle 2; ok"},
      {u"CURRENCY", "amount 5; ok"},
  };
  for (const auto& [word, script] : cases) {
    SCOPED_TRACE(Ascii(word));
    Select(u"12.50 EUR");
    desktop_.messages.clear();
    top_->opened.clear();
    dialogs_.scripts.push_back(script);
    Click(word, &arguments_, ports);
    ExpectScriptsPlayed();
    ASSERT_EQ(desktop_.messages.size(), 1u);
    EXPECT_EQ(desktop_.messages[0].owner, kBrowserFrame);
    EXPECT_EQ(desktop_.messages[0].text,
              u"Your choice of sites could not be remembered.");
    EXPECT_EQ(desktop_.messages[0].caption, u"Pellmor Quillmark");
    EXPECT_FALSE(top_->opened.empty());
  }
}

}  // namespace
}  // namespace qm
