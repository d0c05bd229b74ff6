#include "dialogs/choice_dialog.h"

#include <memory>

#include <gtest/gtest.h>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/category_dialogs.h"
#include "dialogs/gesture_script.h"
#include "support/fake_desktop.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

class DialogTest : public ::testing::Test {
 protected:
  DialogTest() : env_("C:\\Dir\\qmkit.dll"), context_(env_) {
    for (const char* name : {"ISBN:a", "ISBN:b"}) {
      SiteEntry e;
      e.name = name;
      entries_.push_back(e);
    }
  }
  template <typename Dialog>
  void Play(Dialog& dialog, const std::string& script) {
    std::vector<Gesture> gestures;
    std::string error;
    ASSERT_TRUE(ParseGestures(script, &gestures, &error)) << error;
    ASSERT_TRUE(PlayGestures(dialog, gestures, &error)) << error;
  }
  FakeModuleEnvironment env_;
  RequestContext context_;
  FakeDesktop desktop_;
  Windows1252CodePage code_page_;
  SiteEntryList entries_;
};

TEST_F(DialogTest, IsbnDialogNormalisesAndChecksTextBeforeChoice) {
  CAskISBNDlg dialog(context_, desktop_, code_page_, entries_, u"offered");
  dialog.Open();
  EXPECT_EQ(dialog.edit_text(), "offered");
  EXPECT_EQ(dialog.focus(), DialogFocus::kOkButton);
  // A bad ISBN and an empty choice: only the ISBN is reported.
  Play(dialog, "toggle 1; text 0-306-40615-3; ok");
  EXPECT_FALSE(dialog.result());
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text, u"The ISBN number is not valid.");
  EXPECT_EQ(dialog.focus(), DialogFocus::kEditBox);
  // Corrected, the empty choice is reported next.
  Play(dialog, "text ISBN 0-306-40615-2; ok");
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[1].text.substr(0, 25), u"No site or action chosen.");
  EXPECT_EQ(dialog.focus(), DialogFocus::kList);
  Play(dialog, "toggle 2; ok");
  EXPECT_EQ(dialog.result(), kResultOk);
  EXPECT_EQ(dialog.text(), u"0306406152");
  EXPECT_TRUE(entries_[1].selected);
}

// The box's text on OK: what each dialog passes on, or the message with
// which it keeps the dialog open.
TEST_F(DialogTest, UpcAndStockDialogsCheckTheirText) {
  struct Case {
    bool upc;  // else the stock dialog
    const char* typed;
    const char16_t* confirmed;  // null: refused
    const char16_t* message;
  };
  const Case cases[] = {
      {true, "0 36000 29145 2", u"036000291452", nullptr},
      // Eleven digits are never completed with a computed check digit.
      {true, "03600029145", nullptr, u"The UPC number is not valid."},
      {false, "  MSFT \r\n", u"MSFT", nullptr},
      {false, " \t", nullptr, u"A stock symbol, such as MSFT, is required."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    desktop_.messages.clear();
    std::unique_ptr<ChoiceDialog> dialog;
    if (c.upc) {
      dialog = std::make_unique<CAskUPCDlg>(context_, desktop_, code_page_, entries_, u"");
    } else {
      dialog = std::make_unique<CAskStockDlg>(context_, desktop_, code_page_, entries_, u"");
    }
    dialog->Open();  // the first line is chosen
    dialog->SetEditText(c.typed);
    EXPECT_EQ(dialog->Ok(), c.confirmed != nullptr);
    if (c.confirmed) {
      EXPECT_EQ(dialog->text(), c.confirmed);
      EXPECT_TRUE(desktop_.messages.empty());
    } else {
      ASSERT_EQ(desktop_.messages.size(), 1u);
      EXPECT_EQ(desktop_.messages[0].text, c.message);
      EXPECT_EQ(desktop_.messages[0].caption, u"Pellmor Quillmark");
      EXPECT_EQ(dialog->focus(), DialogFocus::kEditBox);
      EXPECT_EQ(dialog->edit_text(), c.typed);
    }
  }
}

TEST_F(DialogTest, OtherDialogTakesAnyTextAndItsStrings) {
  CAskOtherDlg dialog(context_, desktop_, code_page_, entries_, u"x",
                      "HelpBook.htm", 137, 134);
  EXPECT_EQ(dialog.texts().group_caption, u"Search for a book");
  dialog.Open();
  // An empty text is fine; text beyond 1023 characters is cut.
  Play(dialog, "text \"\"; ok");
  EXPECT_EQ(dialog.result(), kResultOk);
  EXPECT_EQ(dialog.text(), u"");
  CAskOtherDlg long_text(context_, desktop_, code_page_, entries_, u"",
                         "HelpBook.htm", 137, 134);
  long_text.Open();
  long_text.SetEditText(std::string(1500, 'a') + "\xE9");
  ASSERT_TRUE(long_text.Ok());
  EXPECT_EQ(long_text.text(), std::u16string(1023, u'a'));
  // Help opens the flow's topic beside the module, and the dialog stays.
  long_text.Help();
  EXPECT_EQ(desktop_.help_topics.back(), "C:\\Dir\\qmkit.chm::/HelpBook.htm");
}

TEST_F(DialogTest, ListOnlyDialogsAndCancel) {
  CAskURLDlg dialog(context_, desktop_, code_page_, entries_);
  dialog.Open();
  EXPECT_FALSE(dialog.has_text());
  std::vector<Gesture> gestures;
  std::string error;
  ASSERT_TRUE(ParseGestures("text abc", &gestures, &error));
  EXPECT_FALSE(PlayGestures(dialog, gestures, &error));  // no edit box here
  Play(dialog, "toggle 2; cancel; ok");  // nothing after the end is played
  EXPECT_EQ(dialog.result(), kResultCancel);
}

TEST_F(DialogTest, CurrencyDialogAmountAndBoxes) {
  const CurrencyInfo* eur = FindCurrencyByCode("EUR");
  const CurrencyInfo* usd = FindCurrencyByCode("USD");
  ASSERT_TRUE(eur && usd);
  CAskCurrencyDlg dialog(context_, desktop_, code_page_, entries_, u"12,50",
                         eur, usd);
  dialog.Open();
  EXPECT_EQ(dialog.currencies().size(), 199u);
  EXPECT_EQ(dialog.edit_text(), "12,50");
  Play(dialog, "amount abc; ok");
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text,
            u"The currency amount must be a decimal number, such as 1.00");
  // A box whose view reports no selection keeps its currency.
  dialog.ChooseSource(nullptr);
  Play(dialog, "amount 12abc; to GBP; ok");
  EXPECT_EQ(dialog.result(), kResultOk);
  EXPECT_EQ(dialog.amount(), u"12abc");  // kept as typed
  EXPECT_EQ(dialog.source(), eur);
  EXPECT_EQ(dialog.target(), FindCurrencyByCode("GBP"));
}

TEST_F(DialogTest, AboutDialogResults) {
  for (const auto& [script, result] :
       std::vector<std::pair<std::string, int>>{{"help; customize; ok", 1},
                                                {"cancel", 2},
                                                {"home", 215}}) {
    CAboutDlg dialog(context_, desktop_);
    std::vector<Gesture> gestures;
    std::string error;
    ASSERT_TRUE(ParseGestures(script, &gestures, &error));
    ASSERT_TRUE(PlayGestures(dialog, gestures, &error)) << error;
    EXPECT_EQ(dialog.result(), result) << script;
  }
  EXPECT_EQ(desktop_.help_topics,
            (std::vector<std::string>{"C:\\Dir\\qmkit.chm::/HelpIndex.htm",
                                      "C:\\Dir\\qmkit.chm::/HelpCustomize.htm"}));
}

TEST(GestureScript, Parsing) {
  std::vector<Gesture> g;
  std::string error;
  ASSERT_TRUE(ParseGestures(" toggle 3 ;; text \"a; \\\"b\\\"\" ;ok", &g, &error));
  ASSERT_EQ(g.size(), 3u);
  EXPECT_EQ(g[0].word, "toggle");
  EXPECT_EQ(g[0].argument, "3");
  EXPECT_EQ(g[1].word, "text");
  EXPECT_EQ(g[1].argument, "a; \"b\"");
  EXPECT_EQ(g[2].word, "ok");
  EXPECT_FALSE(ParseGestures("text \"open", &g, &error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(ParseGestures("", &g, &error));
  EXPECT_TRUE(g.empty());
}

}  // namespace
}  // namespace qm
