#include "flows/convert_flow.h"

#include <gtest/gtest.h>

#include "dialogs/ask_convert_dlg.h"
#include "host/memory_selection_store.h"
#include "support/fake_browser.h"
#include "support/fake_desktop.h"
#include "support/fake_dialog_host.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

constexpr WindowHandle kBrowserFrame = 0xB0B;

class ConvertFlowTest : public ::testing::Test {
 protected:
  ConvertFlowTest() {
    window_->document = std::make_shared<FakeDocument>();
    arguments_.window = window_;
    arguments_.frame = kBrowserFrame;
  }

  void Run(std::u16string selection) {
    window_->document->selection = FakeTextRange{std::move(selection), u""};
    RequestContext context(env_);
    ASSERT_TRUE(BuildRequestContext(context, &arguments_));
    RunConvertFlow(context, desktop_, dialogs_, selections_, code_page_,
                   {0, HELP_TOPIC_UNITS});
  }

  FakeModuleEnvironment env_;
  std::shared_ptr<FakeWindow> window_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
  FakeDesktop desktop_;
  FakeDialogHost dialogs_;
  MemorySelectionStore selections_;
  Windows1252CodePage code_page_;
};

std::string ChosenName(const ConvertChoiceList<Unit>& list) {
  const Unit* unit = list.chosen_item();
  return unit ? unit->name : "(none)";
}

template <typename Item>
void ChooseByName(const ConvertChoiceList<Item>& list, std::string_view name,
                  const std::function<void(int)>& choose) {
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    if (list.entries[i].name == name) return choose(static_cast<int>(i));
  }
  ADD_FAILURE() << "no entry " << name;
}

TEST_F(ConvertFlowTest, ProposesTheSelectionAndConverts) {
  std::string result;
  dialogs_.convert_script = [&](CAskConvertDlg& dialog) {
    dialog.Open();
    EXPECT_EQ(dialog.amountText(), "12.5");
    EXPECT_EQ(ChosenName(dialog.fromUnits()), "kilometres");
    const auto& to = dialog.toUnits().entries;
    for (std::size_t i = 0; i < to.size(); ++i) {
      if (to[i].name == "miles") dialog.ChooseToUnit(static_cast<int>(i));
    }
    dialog.Calculate();
    result = dialog.resultText();
    // Messages belong to the browser window until a view attaches its own.
    dialog.SetAmountText("abc");
    dialog.Calculate();
    dialog.Ok();
  };
  // The selection as captured: the blanks around it do not matter.
  Run(u"  12.5 km\r\n");
  EXPECT_EQ(result, "12.5 kilometres = 7.76714 miles");
  EXPECT_EQ(dialogs_.dialogs_run, 1);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].owner, kBrowserFrame);
  // The converter opens nothing (it is given no shell to start things with).
  EXPECT_TRUE(desktop_.beeps.empty());
  EXPECT_TRUE(window_->opened.empty());
}

TEST_F(ConvertFlowTest, TheLastToUnitOfEachCategoryIsOfferedNextTime) {
  struct Step {
    const char16_t* selection;
    const char* offered_to;  // the to-unit chosen when the dialog opens
    const char* category;    // then pick this category, when not null,
    const char* offered_after_category;  // which offers this to-unit,
    const char* pick;        // and pick this to-unit, when not null
  };
  const Step steps[] = {
      // Nothing remembered: the first row, as always.
      {u"12.5 km", "Angstroms", nullptr, nullptr, "miles"},
      // Remembered although the dialog ended with Cancel.
      {u"3 km", "miles", nullptr, nullptr, "yards"},
      {u"3 km", "yards", "temperature", "Celsius", "Fahrenheit"},
      {u"20 C", "Fahrenheit", "distance", "yards", nullptr},
      // Never the from-unit itself.
      {u"5 yards", "Angstroms", nullptr, nullptr, nullptr},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(std::string(step.offered_to));
    std::string offered, offered_after_category;
    dialogs_.convert_script = [&](CAskConvertDlg& dialog) {
      dialog.Open();
      offered = ChosenName(dialog.toUnits());
      if (step.category != nullptr) {
        ChooseByName(dialog.categories(), step.category,
                     [&](int i) { dialog.ChooseCategory(i); });
        offered_after_category = ChosenName(dialog.toUnits());
        EXPECT_EQ(offered_after_category, step.offered_after_category);
      }
      if (step.pick != nullptr) {
        ChooseByName(dialog.toUnits(), step.pick,
                     [&](int i) { dialog.ChooseToUnit(i); });
      }
      dialog.Cancel();
    };
    Run(step.selection);
    EXPECT_EQ(offered, step.offered_to);
  }
  // One unit per category is the last used; the ones before it are not.
  const std::map<std::string, std::uint32_t, FoldedLess> expected = {
      {"ConvertTo:distance:miles", 0},
      {"ConvertTo:distance:yards", 1},
      {"ConvertTo:temperature:Fahrenheit", 1}};
  EXPECT_EQ(selections_.values(), expected);
}

TEST_F(ConvertFlowTest, UserUnitsReplaceTheBuiltInOnesAtTheNextCommand) {
  std::vector<std::string> categories;
  std::string from;
  dialogs_.convert_script = [&](CAskConvertDlg& dialog) {
    dialog.Open();
    categories.clear();
    for (const auto& entry : dialog.categories().entries) {
      categories.push_back(entry.name);
    }
    from = ChosenName(dialog.fromUnits());
  };
  Run(u"3 w");
  EXPECT_EQ(categories.size(), 12u);
  EXPECT_EQ(from, "degrees");  // no built-in unit is called "w"
  // One section whose name begins "unit:" in any case replaces them all.
  env_.SetFile("C:\\Apps\\qmkit.ini",
               "[BOOK:Shop]\nshortDescription=books\n"
               "[unit:Widget]\ncategory=Stuff\nten+0=widgets,w\n");
  Run(u"3 w");
  EXPECT_EQ(categories, std::vector<std::string>{"stuff"});
  EXPECT_EQ(from, "widgets");
  EXPECT_EQ(dialogs_.dialogs_run, 2);
}

// The page's country decides what a gallon is; the amount keeps every digit
// through Calculate, and only the result is cut to six.
TEST_F(ConvertFlowTest, PageDomainAndFullPrecision) {
  std::string from;
  std::string amount;
  std::string result;
  dialogs_.convert_script = [&](CAskConvertDlg& dialog) {
    dialog.Open();
    from = ChosenName(dialog.fromUnits());
    amount = dialog.amountText();
    const auto& to = dialog.toUnits().entries;
    for (std::size_t i = 0; i < to.size(); ++i) {
      if (to[i].name == "hectares") dialog.ChooseToUnit(static_cast<int>(i));
    }
    dialog.Calculate();
    result = dialog.resultText();
    dialog.Ok();
  };
  const std::pair<const char16_t*, const char*> pages[] = {
      {u"shop.example.co.uk", "gallons (UK)"}, {u"WWW.EXAMPLE.IE", "gallons (UK)"},
      {u"www.example.com", "gallons (US)"}, {u"www.example.de", "gallons (US)"},
      {u"localhost", "gallons (US)"}, {u"example.\u0440\u0444", "gallons (US)"},
  };
  for (const auto& [host, gallon] : pages) {
    window_->hostname = host;
    Run(u"5 gallons");
    EXPECT_EQ(from, gallon) << gallon;
  }
  Run(u"1234.5678 acres");
  EXPECT_EQ(amount, "1234.5678");
  EXPECT_EQ(result, "1234.5678 acres = 499.612 hectares");
}

TEST_F(ConvertFlowTest, NoUsableUnitsGiveEmptyListsAndABeep) {
  env_.SetFile("C:\\Apps\\qmkit.ini", "[UNIT:Broken]\ncategory=\nten+0=x\n");
  bool empty = false;
  dialogs_.convert_script = [&](CAskConvertDlg& dialog) {
    dialog.Open();
    empty = dialog.categories().entries.empty() &&
            dialog.fromUnits().entries.empty() && dialog.toUnits().entries.empty();
    dialog.Calculate();
    dialog.Cancel();
  };
  Run(u"12 x");
  EXPECT_TRUE(empty);
  EXPECT_EQ(desktop_.beeps, std::vector<BeepKind>{BeepKind::kExclamation});
}

}  // namespace
}  // namespace qm
