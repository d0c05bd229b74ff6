#include "dialogs/choice_dialog.h"

#include <memory>

#include <gtest/gtest.h>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/category_dialogs.h"
#include "dialogs/gesture_script.h"
#include "resource_ids.h"
#include "support/fake_desktop.h"
#include "support/fake_module_environment.h"
#include "text/utf8.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr DialogResources kIsbnDialog{IDD_ASK_ISBN, HELP_TOPIC_ISBN};

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
  CAskISBNDlg dialog(context_, desktop_, code_page_, entries_, u"offered", kIsbnDialog);
  dialog.Open();
  EXPECT_EQ(dialog.edit_text(), u"offered");
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

// A window moves its focus when the model says, and it must do so before
// the message box appears: each move is reported with the number of boxes
// shown until then.
TEST_F(DialogTest, FocusMovesAreReportedBeforeTheirMessages) {
  CAskISBNDlg dialog(context_, desktop_, code_page_, entries_, u"bad", kIsbnDialog);
  std::vector<std::pair<DialogFocus, std::size_t>> moves;
  dialog.AttachWindow(0xD1A, [&](DialogFocus focus) {
    moves.emplace_back(focus, desktop_.messages.size());
  });
  dialog.Open();
  Play(dialog, "ok; toggle 1; text 0306406152; ok");
  EXPECT_EQ(moves, (std::vector<std::pair<DialogFocus, std::size_t>>{
                       {DialogFocus::kOkButton, 0},
                       {DialogFocus::kEditBox, 0},
                       {DialogFocus::kList, 1}}));
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[1].owner, 0xD1Au);
}

// The box's text on OK: what each dialog passes on, or the message with
// which it keeps the dialog open. The box holds wide text, so the checks see
// text in any script and hand on their normal form.
TEST_F(DialogTest, IsbnUpcAndStockDialogsCheckTheirText) {
  enum Kind { kIsbn, kUpc, kStock };
  struct Case {
    Kind kind;
    const char16_t* typed;
    const char16_t* confirmed;  // null: refused
    const char16_t* message;
  };
  const Case cases[] = {
      {kIsbn, u"\u66F8\u53F7\uFF1AISBN\u00A0978-0-306-40615-7 \u6771\u4EAC", u"0306406152",
       nullptr},
      {kIsbn, u"\u6771\u4EAC", nullptr, u"The ISBN number is not valid."},
      {kUpc, u"0 36000 29145 2", u"036000291452", nullptr},
      {kUpc, u"\u0428\u0442\u0440\u0438\u0445\u043A\u043E\u0434: 0 36000 29145 2",
       u"036000291452", nullptr},
      // Eleven digits are never completed with a computed check digit.
      {kUpc, u"03600029145", nullptr, u"The UPC number is not valid."},
      {kStock, u"  MSFT \r\n", u"MSFT", nullptr},
      {kStock, u" \t\u30C8\u30E8\u30BF 7203\r\n", u"\u30C8\u30E8\u30BF 7203", nullptr},
      {kStock, u" \t", nullptr, u"A stock symbol, such as MSFT, is required."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(ToUtf8(c.typed));
    desktop_.messages.clear();
    std::unique_ptr<ChoiceDialog> dialog;
    if (c.kind == kIsbn) {
      dialog = std::make_unique<CAskISBNDlg>(context_, desktop_, code_page_, entries_, u"",
                                             kIsbnDialog);
    } else if (c.kind == kUpc) {
      dialog = std::make_unique<CAskUPCDlg>(context_, desktop_, code_page_, entries_, u"",
                                            DialogResources{IDD_ASK_UPC, HELP_TOPIC_UPC});
    } else {
      dialog = std::make_unique<CAskStockDlg>(
          context_, desktop_, code_page_, entries_, u"",
          DialogResources{IDD_ASK_STOCK, HELP_TOPIC_STOCK});
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
                      DialogResources{IDD_ASK_OTHER, "HelpBook.htm"}, 137, 134);
  EXPECT_EQ(dialog.texts().group_caption, u"Search for a book");
  dialog.Open();
  // An empty text is fine.
  Play(dialog, "text \"\"; ok");
  EXPECT_EQ(dialog.result(), kResultOk);
  EXPECT_EQ(dialog.text(), u"");
  // Help opens the flow's topic beside the module, and the dialog stays.
  dialog.Help();
  EXPECT_EQ(desktop_.help_topics.back(), "C:\\Dir\\qmkit.chm::/HelpBook.htm");
}

// Text in any script goes from the page through the box to the flow
// unchanged, and the box gives at most 1023 UTF-16 units, never half a
// surrogate pair.
TEST_F(DialogTest, EditBoxKeepsWideTextAndCutsWholeCharacters) {
  const std::u16string offered = u"M\u00FCller Stra\u00DFe \u6771\u4EAC \u20AC\U0001D11E";
  CAskOtherDlg dialog(context_, desktop_, code_page_, entries_, offered,
                      DialogResources{IDD_ASK_OTHER, "HelpSearch.htm"}, 137, 134);
  dialog.Open();
  EXPECT_EQ(dialog.edit_text(), offered);
  Play(dialog, "text \"\xC5\x81\xC3\xB3" "d\xC5\xBA \xE4\xB8\xAD\"; ok");  // UTF-8 typed
  ASSERT_EQ(dialog.result(), kResultOk);
  EXPECT_EQ(dialog.text(), u"\u0141\u00F3d\u017A \u4E2D");

  const std::u16string clef = u"\U0001D11E";  // two units
  struct Case {
    std::u16string typed;
    std::u16string confirmed;
  };
  const Case cases[] = {
      {std::u16string(1022, u'a') + clef + u"b", std::u16string(1022, u'a')},
      {std::u16string(1021, u'a') + clef + u"b", std::u16string(1021, u'a') + clef},
      {std::u16string(1021, u'a') + clef, std::u16string(1021, u'a') + clef},
      {std::u16string(1500, u'\u4E2D'), std::u16string(1023, u'\u4E2D')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed.size());
    CAskOtherDlg long_text(context_, desktop_, code_page_, entries_, u"",
                           DialogResources{IDD_ASK_OTHER, "HelpBook.htm"}, 137, 134);
    long_text.Open();
    long_text.SetEditText(c.typed);
    ASSERT_TRUE(long_text.Ok());
    EXPECT_EQ(long_text.text(), c.confirmed);
  }
}

TEST_F(DialogTest, ListOnlyDialogsAndCancel) {
  CAskURLDlg dialog(context_, desktop_, code_page_, entries_,
                    DialogResources{IDD_ASK_URL, HELP_TOPIC_URL});
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
                         eur, usd, DialogResources{IDD_ASK_CURRENCY, HELP_TOPIC_CURRENCY});
  dialog.Open();
  EXPECT_EQ(dialog.currencies().size(), 204u);
  EXPECT_EQ(dialog.edit_text(), u"12,50");
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
    CAboutDlg dialog(context_, desktop_, DialogResources{0, HELP_TOPIC_INDEX});
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
