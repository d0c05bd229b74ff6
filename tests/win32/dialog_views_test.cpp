// The dialogs as real windows: each opened by its flow (or over a model),
// driven with clicks, keys and typing from inside its own message loop, and
// judged by what the windows show and what the flows then do.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "about_dialog_view.h"
#include "choice_dialog_view.h"
#include "convert_dialog_view.h"
#include "currency_dialog_view.h"
#include "dialog_controls.h"
#include "dialog_steps.h"
#include "dialogs/category_dialogs.h"
#include "flows/command_dispatch.h"
#include "host/memory_selection_store.h"
#include "recognisers/currency_table.h"
#include "resource_ids.h"
#include "strings/string_table.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"
#include "support/fake_shell.h"
#include "win32_code_page.h"
#include "win32_dialog_host.h"

namespace qm {
namespace {

std::u16string Text(int id) { return std::u16string(LoadText(id)); }

// A desktop that records its message boxes, beeps and help; a message box
// notes where the keyboard focus is at the moment it would appear.
class FocusNotingDesktop final : public Desktop {
 public:
  struct Message {
    HWND owner;
    std::u16string text;
    int focus;
  };
  std::vector<Message> messages;
  std::vector<BeepKind> beeps;
  std::vector<std::pair<HWND, std::string>> help;

  MessageResult ShowMessage(WindowHandle owner, const std::u16string& text,
                            const std::u16string&, MessageStyle) override {
    messages.push_back({reinterpret_cast<HWND>(owner), text, FocusedControl()});
    return MessageResult::kOk;
  }
  void Beep(BeepKind kind) override { beeps.push_back(kind); }
  bool ShowHelp(WindowHandle owner, const std::string& address) override {
    help.emplace_back(reinterpret_cast<HWND>(owner), address);
    return true;
  }
};

// The user's catalogue of the ISBN and currency tests; the other
// categories keep the built-in entries. Lines are listed by name.
constexpr char kCatalogue[] =
    "[ISBN:A Shop]\nshortDescription=A Shop\nlongDescription=Books new and used at A\n"
    "url=https://a.example/isbn/!S\ndefaultSelected=y\n"
    "[ISBN:B Library]\nshortDescription=B Library\nurl=https://b.example/?isbn=!S\n"
    "exclusive=y\ndefaultSelected=y\n"
    "[ISBN:C Store]\nshortDescription=C Store\nlongDescription=The C store's catalogue\n"
    "url=https://c.example/!S\n"
    "[ISBN:D Reviews]\nshortDescription=D Reviews\nurl=https://d.example/!S\n"
    "[CURRENCY:Rates]\nshortDescription=Rates\nurl=https://fx.example/?a=!S&f=!F&t=!L\n"
    "defaultSelected=y\n";

class DialogViewTest : public ::testing::Test {
 protected:
  DialogViewTest()
      : env_("C:\\Apps\\qmkit.dll"),
        ports_{env_, store_, desktop_, shell_, dialogs_, code_page_} {
    // A hidden window stands in for the browser's frame, owner of dialogs.
    frame_ = ::CreateWindowExW(0, L"Static", L"browser", WS_OVERLAPPEDWINDOW, 0, 0,
                               300, 200, nullptr, nullptr, nullptr, nullptr);
    env_.SetUserCurrencyCode("EUR");
    page_->href = u"https://www.example.com/books/";
    page_->hostname = u"www.example.com";
    page_->document = std::make_shared<FakeDocument>();
    page_->document->title = u"A page";
    Select(u"");
    arguments_.window = page_;
    arguments_.frame = reinterpret_cast<WindowHandle>(frame_);
  }
  ~DialogViewTest() override { ::DestroyWindow(frame_); }

  void UseTestCatalogue() { env_.SetFile("C:\\Apps\\qmkit.ini", kCatalogue); }
  void Select(const std::u16string& text) {
    page_->document->selection = FakeTextRange{text, std::nullopt};
  }
  void Click(std::u16string_view word) { qm::Click(word, &arguments_, ports_); }
  std::vector<std::u16string> Opened() const {
    std::vector<std::u16string> urls;
    for (const auto& call : page_->opened) urls.push_back(call.url);
    return urls;
  }

  FakeModuleEnvironment env_;
  MemorySelectionStore store_;
  FocusNotingDesktop desktop_;
  FakeShell shell_;
  Win32DialogHost dialogs_;
  Win32CodePage code_page_;
  HostPorts ports_;
  std::shared_ptr<FakeWindow> page_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
  HWND frame_ = nullptr;
};

// Every choice dialog from its flow, with the built-in catalogue: the
// template's texts as the model gives them, the list's one column, the
// focus on OK, the browser frame as owner; Cancel runs nothing.
TEST_F(DialogViewTest, ChoiceDialogsOpenFromTheirFlows) {
  struct Case {
    const char16_t* word;
    int caption;  // 0: a dialog with the list only
    int prompt;
  };
  const Case cases[] = {
      {u"ISBN", IDS_ISBN_CAPTION, IDS_SITES_PROMPT},
      {u"UPC", IDS_UPC_CAPTION, IDS_SITES_PROMPT},
      {u"STOCK", IDS_STOCK_CAPTION, IDS_STOCK_PROMPT},
      {u"BOOK", IDS_BOOK_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT},
      {u"OTHER", IDS_OTHER_CAPTION, IDS_OTHER_PROMPT},
      {u"EMAIL", 0, IDS_EMAIL_PROMPT},
      {u"TRANSLATE", 0, IDS_TRANSLATE_PROMPT},
      {u"URL", 0, IDS_URL_PROMPT},
  };
  Select(u"0-306-40615-2");
  for (const Case& c : cases) {
    const std::u16string word = c.word;
    SCOPED_TRACE(std::string(word.begin(), word.end()));
    DialogSteps steps({[&](HWND dialog) {
      EXPECT_EQ(::GetWindow(dialog, GW_OWNER), frame_);
      EXPECT_EQ(WindowText(dialog), u"Pellmor Quillmark");
      EXPECT_EQ(FocusedControl(), IDOK);
      EXPECT_EQ(ControlText(dialog, IDC_PROMPT), Text(c.prompt));
      EXPECT_EQ(::GetDlgItem(dialog, IDC_TEXT) != nullptr, c.caption != 0);
      if (c.caption != 0) {
        EXPECT_EQ(ControlText(dialog, IDC_TEXT_GROUP), Text(c.caption));
      }
      EXPECT_FALSE(ListRows(dialog).empty());
      const std::vector<int> images = ListImages(dialog);
      EXPECT_EQ(std::count(images.begin(), images.end(), 2) +
                    std::count(images.begin(), images.end(), 1),
                static_cast<long>(images.size()));
      EXPECT_GE(std::count(images.begin(), images.end(), 2), 1);

      HWND list = ::GetDlgItem(dialog, IDC_SITE_LIST);
      wchar_t title[64] = {};
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.pszText = title;
      column.cchTextMax = 64;
      ASSERT_TRUE(::SendMessageW(list, LVM_GETCOLUMNW, 0, reinterpret_cast<LPARAM>(&column)));
      EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(title)), u"Site or Action");
      // As wide as the list without a vertical bar, less the bar: no
      // horizontal bar once the list scrolls.
      const int bar = ::GetSystemMetrics(SM_CXVSCROLL);
      const bool scrolls = (::GetWindowLongW(list, GWL_STYLE) & WS_VSCROLL) != 0;
      RECT client{};
      ::GetClientRect(list, &client);
      EXPECT_EQ(column.cx, client.right + (scrolls ? bar : 0) - bar);

      std::string name(word.begin(), word.end());
      for (char& ch : name) ch = static_cast<char>(::tolower(ch));
      SaveScreenshot(dialog, name);
      PressButton(dialog, IDCANCEL);
    }});
    Click(word);
  }
  EXPECT_TRUE(Opened().empty());
  EXPECT_TRUE(store_.values().empty());
  EXPECT_TRUE(desktop_.messages.empty());
}

// Double-clicks choose, an exclusive entry stands alone, a single click
// only explains, and the status line follows the line that changed last;
// OK runs the choice and remembers it.
TEST_F(DialogViewTest, DoubleClicksChooseAndExclusiveEntriesStandAlone) {
  UseTestCatalogue();
  Select(u"ISBN 0-306-40615-2");
  DialogSteps steps({
      [&](HWND dialog) {
        EXPECT_EQ(ListRows(dialog), (std::vector<std::u16string>{
                                        u"A Shop", u"B Library", u"C Store", u"D Reviews"}));
        // A and the exclusive B are both chosen by default; the first stays.
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{2, 1, 1, 1}));
        EXPECT_EQ(ControlText(dialog, IDC_TEXT), u"0306406152");
        DoubleClickRow(dialog, 1);
      },
      [&](HWND dialog) {
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 2, 1, 1}));
        EXPECT_EQ(ControlText(dialog, IDC_STATUS_LINE), u"B Library");
        DoubleClickRow(dialog, 2);
      },
      [&](HWND dialog) {
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 1, 2, 1}));
        EXPECT_EQ(ControlText(dialog, IDC_STATUS_LINE), u"The C store's catalogue");
        DoubleClickRow(dialog, 3);
      },
      [&](HWND dialog) {
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 1, 2, 2}));
        DoubleClickBelowRows(dialog);
      },
      [&](HWND dialog) {
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 1, 2, 2}));
        ClickRow(dialog, 0);
      },
      [&](HWND dialog) {
        // A single click explains the line and chooses nothing.
        EXPECT_EQ(ControlText(dialog, IDC_STATUS_LINE), u"Books new and used at A");
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 1, 2, 2}));
        PressButton(dialog, IDOK);
      },
  });
  Click(u"ISBN");
  EXPECT_EQ(Opened(), (std::vector<std::u16string>{u"https://c.example/0306406152",
                                                   u"https://d.example/0306406152"}));
  EXPECT_EQ(store_.values().at("ISBN:B Library"), 0u);
  EXPECT_EQ(store_.values().at("ISBN:C Store"), 1u);
  EXPECT_TRUE(desktop_.messages.empty());
}

// OK checks the ISBN before the choice; each refusal puts the focus where
// its message points before the box appears, over the dialog. Help leaves
// the dialog open; Cancel runs and remembers nothing.
TEST_F(DialogViewTest, RefusalsMoveTheFocusFirstAndCancelKeepsNothing) {
  UseTestCatalogue();
  Select(u"0306406152");
  DialogSteps steps({
      [&](HWND dialog) {
        DoubleClickRow(dialog, 0);  // the only chosen line
      },
      [&](HWND dialog) {
        EXPECT_EQ(ListImages(dialog), (std::vector<int>{1, 1, 1, 1}));
        SetText(dialog, IDC_TEXT, u"0-306-40615-3");
        PressButton(dialog, IDOK);
        ASSERT_EQ(desktop_.messages.size(), 1u);
        EXPECT_EQ(desktop_.messages[0].text, Text(IDS_INVALID_ISBN));
        EXPECT_EQ(desktop_.messages[0].owner, dialog);
        EXPECT_EQ(desktop_.messages[0].focus, IDC_TEXT);
        SetText(dialog, IDC_TEXT, u"0-306-40615-2");
        PressButton(dialog, IDOK);
        ASSERT_EQ(desktop_.messages.size(), 2u);
        EXPECT_EQ(desktop_.messages[1].text, Text(IDS_NO_SITE_CHOSEN));
        EXPECT_EQ(desktop_.messages[1].owner, dialog);
        EXPECT_EQ(desktop_.messages[1].focus, IDC_SITE_LIST);
        PressButton(dialog, IDC_HELP_BUTTON);
      },
      [&](HWND dialog) {
        ASSERT_EQ(desktop_.help.size(), 1u);
        EXPECT_EQ(desktop_.help[0].first, frame_);
        EXPECT_EQ(desktop_.help[0].second, "C:\\Apps\\qmkit.chm::/HelpISBN.htm");
        PressButton(dialog, IDCANCEL);
      },
  });
  Click(u"ISBN");
  EXPECT_TRUE(Opened().empty());
  EXPECT_TRUE(store_.values().empty());
}

// The edit box is a Unicode control: a selection in any script is shown
// and comes back whole, typed characters too, and OK cuts a text to 1023
// units.
TEST_F(DialogViewTest, EditBoxHoldsWideText) {
  RequestContext context(env_);
  SiteEntryList entries(1);
  entries[0].name = "BOOK:Any";
  entries[0].shortDescription = "Any";
  const std::u16string offered = u"\u6771\u4EAC\u306E\u672C\u5C4B \u5317\u4EAC\u56FE\u4E66";
  CAskOtherDlg shown(context, desktop_, code_page_, entries, offered,
                     DialogResources{IDD_ASK_OTHER, HELP_TOPIC_BOOK},
                     IDS_BOOK_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT);
  {
    DialogSteps steps({
        [&](HWND dialog) {
          EXPECT_EQ(ControlText(dialog, IDC_TEXT), offered);
          SaveScreenshot(dialog, "book-cjk");
          HWND edit = ::GetDlgItem(dialog, IDC_TEXT);
          const auto end = static_cast<WPARAM>(offered.size());
          ::SendMessageW(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
          ::PostMessageW(edit, WM_CHAR, 0x66F8, 1);  // typed at the end
        },
        [&](HWND dialog) { PressButton(dialog, IDOK); },
    });
    RunChoiceDialog(frame_, shown);
  }
  EXPECT_EQ(shown.result(), kResultOk);
  EXPECT_EQ(shown.text(), offered + u"\u66F8");

  CAskOtherDlg long_text(context, desktop_, code_page_, entries, u"",
                         DialogResources{IDD_ASK_OTHER, HELP_TOPIC_BOOK},
                         IDS_BOOK_CAPTION, IDS_SITES_OR_ACTIONS_PROMPT);
  {
    DialogSteps steps({[&](HWND dialog) {
      SetText(dialog, IDC_TEXT, std::u16string(1500, u'\u4E2D'));
      PressButton(dialog, IDOK);
    }});
    RunChoiceDialog(frame_, long_text);
  }
  EXPECT_EQ(long_text.text(), std::u16string(1023, u'\u4E2D'));
}

// The currency boxes list every currency and start on the source and
// target the flow worked out; a new "To:" currency reaches the sites'
// templates.
TEST_F(DialogViewTest, CurrencyBoxesCarryTheirCurrencies) {
  UseTestCatalogue();
  Select(u"12.50 EUR");
  const CurrencyInfo* gbp = FindCurrencyByCode("GBP");
  ASSERT_NE(gbp, nullptr);
  DialogSteps steps({
      [&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_TEXT), u"12.50");
        EXPECT_EQ(ComboText(dialog, IDC_FROM_CURRENCY),
                  CurrencyDisplayText(*FindCurrencyByCode("EUR")));
        // Source and local currency are both EUR: the target is USD.
        EXPECT_EQ(ComboText(dialog, IDC_TO_CURRENCY),
                  CurrencyDisplayText(*FindCurrencyByCode("USD")));
        HWND box = ::GetDlgItem(dialog, IDC_TO_CURRENCY);
        EXPECT_EQ(static_cast<std::size_t>(::SendMessageW(box, CB_GETCOUNT, 0, 0)),
                  CurrencyTable().size());
        SaveScreenshot(dialog, "currency");
        EXPECT_TRUE(PickComboRow(dialog, IDC_TO_CURRENCY, CurrencyDisplayText(*gbp)));
      },
      [&](HWND dialog) {
        EXPECT_EQ(ComboText(dialog, IDC_TO_CURRENCY), CurrencyDisplayText(*gbp));
        PressButton(dialog, IDOK);
      },
  });
  Click(u"CURRENCY");
  EXPECT_EQ(Opened(), std::vector<std::u16string>{u"https://fx.example/?a=12.50&f=EUR&t=GBP"});
}

// The converter from its flow: the proposed quantity, a new to-unit, the
// result answering each change, the Calculate button and the Enter key, a
// change of category, a refused amount and Help; nothing is opened.
TEST_F(DialogViewTest, ConverterCalculatesWhatItShows) {
  Select(u"12.5 km");
  DialogSteps steps({
      [&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_UNIT_AMOUNT), u"12.5");
        EXPECT_EQ(ComboText(dialog, IDC_UNIT_CATEGORY), u"distance");
        EXPECT_EQ(ComboText(dialog, IDC_FROM_UNIT), u"kilometres");
        EXPECT_EQ(ComboText(dialog, IDC_TO_UNIT), u"Angstroms");
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"");
        EXPECT_TRUE(PickComboRow(dialog, IDC_TO_UNIT, u"miles"));
      },
      [&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"12.5 kilometres = 7.76714 miles");
        SetText(dialog, IDC_UNIT_AMOUNT, u"2");
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"2 kilometres = 1.24274 miles");
        SetText(dialog, IDC_UNIT_AMOUNT, u"12.5");
        PressButton(dialog, IDC_CALCULATE);
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"12.5 kilometres = 7.76714 miles");
        SaveScreenshot(dialog, "convert");
        EXPECT_TRUE(PickComboRow(dialog, IDC_UNIT_CATEGORY, u"temperature"));
      },
      [&](HWND dialog) {
        EXPECT_EQ(ComboText(dialog, IDC_FROM_UNIT), u"Celsius");
        EXPECT_EQ(ComboText(dialog, IDC_TO_UNIT), u"Celsius");
        EXPECT_EQ(ControlText(dialog, IDC_UNIT_AMOUNT), u"12.5");
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"12.5 Celsius = 12.5 Celsius");
        SetText(dialog, IDC_UNIT_AMOUNT, u"  3");
        PressKey(::GetDlgItem(dialog, IDC_UNIT_AMOUNT), VK_RETURN);
      },
      [&](HWND dialog) {
        EXPECT_EQ(ControlText(dialog, IDC_UNIT_AMOUNT), u"3");
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"3 Celsius = 3 Celsius");
        SetText(dialog, IDC_UNIT_AMOUNT, u"abc");
        PressButton(dialog, IDC_CALCULATE);
        ASSERT_EQ(desktop_.messages.size(), 1u);
        EXPECT_EQ(desktop_.messages[0].text, Text(IDS_AMOUNT_NOT_NUMBER));
        EXPECT_EQ(desktop_.messages[0].owner, dialog);
        EXPECT_EQ(desktop_.messages[0].focus, IDC_UNIT_AMOUNT);
        EXPECT_EQ(ControlText(dialog, IDC_UNIT_AMOUNT), u"abc");
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"");
        PressButton(dialog, IDC_HELP_BUTTON);
        ASSERT_EQ(desktop_.help.size(), 1u);
        EXPECT_EQ(desktop_.help[0].second, "C:\\Apps\\qmkit.chm::/HelpUnits.htm");
        PressButton(dialog, IDOK);
      },
  });
  Click(u"CONVERT");
  EXPECT_TRUE(Opened().empty());
}

// The lists sort their rows themselves, and not as the model does ("co-op"
// comes before "cob" byte by byte, after it in a word sort): a choice
// reaches the model through the row's data, whatever the order.
TEST_F(DialogViewTest, ConverterListsMapRowsThroughTheirData) {
  env_.SetFile("C:\\Apps\\qmkit.ini",
               "[UNIT:Coop]\ncategory=k\na=1\nten+0=co-op\n"
               "[UNIT:Cob]\ncategory=k\na=2\nten+0=cob\n");
  Select(u"1");
  DialogSteps steps({
      [&](HWND dialog) {
        EXPECT_EQ(ComboText(dialog, IDC_FROM_UNIT), u"co-op");
        EXPECT_TRUE(PickComboRow(dialog, IDC_TO_UNIT, u"cob"));
      },
      [&](HWND dialog) {
        PressButton(dialog, IDC_CALCULATE);
        EXPECT_EQ(ControlText(dialog, IDC_RESULT), u"1 co-op = 0.5 cob");
        PressButton(dialog, IDOK);
      },
  });
  Click(u"CONVERT");
}

// The about dialog opens with the focus on OK and ends with the id of what
// closed it; Help and Customization leave it open.
TEST_F(DialogViewTest, AboutDialogResults) {
  struct Case {
    const char* how;
    void (*close)(HWND dialog);
    int result;
  };
  const Case cases[] = {
      {"OK", [](HWND dialog) { PressButton(dialog, IDOK); }, 1},
      {"Escape", [](HWND dialog) { PressKey(::GetDlgItem(dialog, IDOK), VK_ESCAPE); }, 2},
      {"close box", [](HWND dialog) { ::PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }, 2},
      {"Home Page", [](HWND dialog) { PressButton(dialog, IDC_HOME_PAGE); }, 215},
  };
  RequestContext context(env_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.how);
    CAboutDlg about(context, desktop_, DialogResources{0, HELP_TOPIC_INDEX});
    DialogSteps steps({
        [&](HWND dialog) {
          EXPECT_EQ(FocusedControl(), IDOK);
          PressButton(dialog, IDC_HELP_BUTTON);
          PressButton(dialog, IDC_CUSTOMIZATION);
        },
        [&](HWND dialog) { c.close(dialog); },
    });
    RunAboutDialog(frame_, about);
    EXPECT_EQ(about.result(), c.result);
  }
  ASSERT_EQ(desktop_.help.size(), 8u);
  EXPECT_EQ(desktop_.help[0].second, "C:\\Apps\\qmkit.chm::/HelpIndex.htm");
  EXPECT_EQ(desktop_.help[1].second, "C:\\Apps\\qmkit.chm::/HelpCustomize.htm");

  // From the menu: Home Page runs the product's home entry.
  DialogSteps steps({[&](HWND dialog) {
    SaveScreenshot(dialog, "about");
    PressButton(dialog, IDC_HOME_PAGE);
  }});
  Click(u"CONFIG");
  ASSERT_EQ(Opened().size(), 1u);
  EXPECT_EQ(Opened()[0].substr(0, 37), u"https://quillmark.pellmor.example/red");
}

}  // namespace
}  // namespace qm
