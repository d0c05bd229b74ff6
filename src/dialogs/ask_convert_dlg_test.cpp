#include "dialogs/ask_convert_dlg.h"

#include <functional>

#include <gtest/gtest.h>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "support/fake_browser.h"
#include "support/fake_desktop.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"
#include "units/quantity.h"

namespace qm {
namespace {

constexpr WindowHandle kBrowserFrame = 0x5150;

template <typename Item>
std::vector<std::string> Names(const ConvertChoiceList<Item>& list) {
  std::vector<std::string> names;
  for (const auto& entry : list.entries) names.push_back(entry.name);
  return names;
}

template <typename Item>
std::string Chosen(const ConvertChoiceList<Item>& list) {
  if (list.chosen == ConvertChoiceList<Item>::kNone) return "(none)";
  return list.entries[static_cast<std::size_t>(list.chosen)].name;
}

template <typename Item>
int IndexOf(const ConvertChoiceList<Item>& list, std::string_view name) {
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    if (list.entries[i].name == name) return static_cast<int>(i);
  }
  ADD_FAILURE() << "no entry " << name;
  return -1;
}

class ConvertDialogTest : public ::testing::Test {
 protected:
  ConvertDialogTest() {
    LoadCatalogue(env_, "UNIT:", false, catalogue_);
    BuildUnitTable(catalogue_, table_);
    window_->document = std::make_shared<FakeDocument>();
    arguments_.window = window_;
    arguments_.frame = kBrowserFrame;
    EXPECT_TRUE(BuildRequestContext(context_, &arguments_));
  }

  // A dialog opened on what `selection` proposes.
  std::unique_ptr<CAskConvertDlg> OpenOn(std::u16string_view selection) {
    const ParsedQuantity q = ParseQuantity(selection, table_, code_page_);
    auto dialog = std::make_unique<CAskConvertDlg>(context_, desktop_, code_page_,
                                                   q.amount, q.unit, table_,
                                                   DialogResources{0, HELP_TOPIC_UNITS});
    dialog->Open();
    return dialog;
  }

  FakeModuleEnvironment env_;
  SiteCatalogue catalogue_;
  UnitTable table_;
  std::shared_ptr<FakeWindow> window_ = std::make_shared<FakeWindow>();
  FakeMenuArguments arguments_;
  RequestContext context_{env_};
  FakeDesktop desktop_;
  Windows1252CodePage code_page_;
};

TEST_F(ConvertDialogTest, OpensOnTheProposedUnit) {
  const auto dialog = OpenOn(u"12.5 km");
  EXPECT_EQ(dialog->amountText(), "12.5");
  EXPECT_EQ(Names(dialog->categories()),
            (std::vector<std::string>{"angle", "area", "distance", "energy",
                                      "fuel consumption", "mass", "power",
                                      "pressure", "speed", "temperature",
                                      "time", "volume"}));
  EXPECT_EQ(Chosen(dialog->categories()), "distance");
  EXPECT_EQ(dialog->categories().chosen_item()->name, "distance");
  // Both unit lists sorted without regard to letter case.
  const std::vector<std::string> distance{
      "Angstroms", "centimetres", "fathoms", "feet", "inches", "kilometres",
      "metres", "micrometres", "miles", "millimetres", "nanometres",
      "nautical miles (INTL)", "yards"};
  EXPECT_EQ(Names(dialog->fromUnits()), distance);
  EXPECT_EQ(Names(dialog->toUnits()), distance);
  EXPECT_EQ(Chosen(dialog->fromUnits()), "kilometres");
  EXPECT_EQ(Chosen(dialog->toUnits()), "Angstroms");
  EXPECT_EQ(dialog->toUnits().entries[3].item->name, "feet");
  EXPECT_EQ(dialog->resultText(), "");
  EXPECT_EQ(dialog->focus(), 0);
  EXPECT_FALSE(dialog->result());
  EXPECT_TRUE(desktop_.beeps.empty() && desktop_.messages.empty());
}

TEST_F(ConvertDialogTest, OpensOnTheFirstCategoryWithoutAUnit) {
  // No digits: amount 1, the alphabetically first category and unit.
  auto dialog = OpenOn(u"about a mile");
  EXPECT_EQ(dialog->amountText(), "1");
  EXPECT_EQ(Chosen(dialog->categories()), "angle");
  EXPECT_EQ(Chosen(dialog->fromUnits()), "degrees");
  EXPECT_EQ(Chosen(dialog->toUnits()), "degrees");
  // A number without a known unit keeps its amount.
  dialog = OpenOn(u"1234567.25 zorkmids");
  EXPECT_EQ(dialog->amountText(), "1234567.25");
  EXPECT_EQ(Chosen(dialog->categories()), "angle");
}

TEST_F(ConvertDialogTest, ChoosingACategoryRefillsBothUnitLists) {
  const auto dialog = OpenOn(u"12.5 km");
  dialog->ChooseToUnit(IndexOf(dialog->toUnits(), "miles"));
  dialog->Calculate();
  ASSERT_EQ(dialog->resultText(), "12.5 kilometres = 7.76714 miles");
  dialog->ChooseCategory(IndexOf(dialog->categories(), "temperature"));
  EXPECT_EQ(Names(dialog->fromUnits()),
            (std::vector<std::string>{"Celsius", "Fahrenheit", "Kelvin"}));
  EXPECT_EQ(Chosen(dialog->fromUnits()), "Celsius");
  EXPECT_EQ(Chosen(dialog->toUnits()), "Celsius");
  // The amount keeps its text, and the result answers for the new units.
  EXPECT_EQ(dialog->amountText(), "12.5");
  EXPECT_EQ(dialog->resultText(), "12.5 Celsius = 12.5 Celsius");
  // Choosing a category again starts both lists afresh.
  dialog->ChooseFromUnit(IndexOf(dialog->fromUnits(), "Kelvin"));
  dialog->ChooseCategory(dialog->categories().chosen);
  EXPECT_EQ(Chosen(dialog->fromUnits()), "Celsius");
  // A category list without a choice changes nothing else.
  dialog->ChooseCategory(99);
  EXPECT_EQ(Chosen(dialog->categories()), "(none)");
  EXPECT_EQ(Chosen(dialog->fromUnits()), "Celsius");
}

TEST_F(ConvertDialogTest, Calculate) {
  const auto dialog = OpenOn(u"30 mpg (UK)");
  EXPECT_EQ(Chosen(dialog->fromUnits()), "miles per gallon (UK)");
  dialog->ChooseToUnit(IndexOf(dialog->toUnits(), "litres/100Km"));
  // Leading blanks and trailing text go; the amount is rewritten.
  dialog->SetAmountText("  3");
  dialog->Calculate();
  EXPECT_EQ(dialog->amountText(), "3");
  EXPECT_EQ(dialog->resultText(), "3 miles per gallon (UK) = 94.1603 litres/100Km");
  // Failures of the arithmetic are results, and the dialog goes on.
  dialog->SetAmountText("0.0 mpg");
  dialog->Calculate();
  EXPECT_EQ(dialog->amountText(), "0");
  EXPECT_EQ(dialog->resultText(), "Cannot calculate answer (Division by zero)");
  // Not a number: message 144 over the dialog, focus on the amount, the
  // fields as they were.
  dialog->SetAmountText("abc");
  dialog->Calculate();
  ASSERT_EQ(desktop_.messages.size(), 1u);
  const FakeDesktop::Message& message = desktop_.messages[0];
  EXPECT_EQ(message.text, u"The amount should be a decimal number, such as 1.00");
  EXPECT_EQ(message.caption, u"Pellmor Quillmark");
  EXPECT_EQ(message.style.icon, MessageIcon::kExclamation);
  EXPECT_EQ(message.owner, kBrowserFrame);
  EXPECT_EQ(dialog->focus(), CAskConvertDlg::kIdAmount);
  EXPECT_EQ(dialog->amountText(), "abc");
  EXPECT_EQ(dialog->resultText(), "");
  // Once the view has a window, the message belongs to it, and the view
  // is told to move the focus before the box shows.
  std::vector<std::pair<int, std::size_t>> moves;
  dialog->AttachWindow(0xD1A, [&](int control) {
    moves.emplace_back(control, desktop_.messages.size());
  });
  dialog->Calculate();
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(moves, (std::vector<std::pair<int, std::size_t>>{{CAskConvertDlg::kIdAmount, 1}}));
  EXPECT_EQ(desktop_.messages[1].owner, 0xD1Au);
  EXPECT_TRUE(desktop_.beeps.empty());
  // No chosen unit: a beep and nothing else.
  dialog->SetAmountText("5");
  dialog->ChooseFromUnit(-1);
  dialog->Calculate();
  dialog->ChooseFromUnit(0);
  dialog->ChooseToUnit(static_cast<int>(dialog->toUnits().entries.size()));
  dialog->Calculate();
  EXPECT_EQ(desktop_.beeps,
            (std::vector<BeepKind>{BeepKind::kExclamation, BeepKind::kExclamation}));
  EXPECT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(dialog->amountText(), "5");
  EXPECT_EQ(dialog->resultText(), "");
}

// The result answers every change at once, quietly; Calculate still
// tidies the amount and tells what is wrong.
TEST_F(ConvertDialogTest, TheResultAnswersEachChange) {
  const auto dialog = OpenOn(u"12.5 km");
  EXPECT_EQ(dialog->resultText(), "");  // nothing changed yet
  struct Step {
    std::function<void(CAskConvertDlg&)> change;
    std::string result;
  };
  const auto to = [](std::string_view unit) {
    return [unit](CAskConvertDlg& d) { d.ChooseToUnit(IndexOf(d.toUnits(), unit)); };
  };
  const auto amount = [](std::string text) {
    return [text](CAskConvertDlg& d) { d.SetAmountText(text); };
  };
  const Step steps[] = {
      {to("miles"), "12.5 kilometres = 7.76714 miles"},
      {amount("  2"), "2 kilometres = 1.24274 miles"},  // as typed: the field keeps "  2"
      {amount("2i"), "2 kilometres = 1.24274 miles"},   // " %lf" reads the number before
      {amount(""), ""},
      {amount("x"), ""},
      {amount("1000"), "1000 kilometres = 621.371 miles"},
      {[](CAskConvertDlg& d) { d.ChooseFromUnit(IndexOf(d.fromUnits(), "metres")); },
       "1000 metres = 0.621371 miles"},
      {[](CAskConvertDlg& d) { d.ChooseToUnit(-1); }, ""},  // no to-unit chosen
      {[](CAskConvertDlg& d) { d.ChooseCategory(IndexOf(d.categories(), "temperature")); },
       "1000 Celsius = 1000 Celsius"},
  };
  for (const Step& step : steps) {
    step.change(*dialog);
    EXPECT_EQ(dialog->resultText(), step.result);
  }
  EXPECT_EQ(dialog->amountText(), "1000");
  EXPECT_EQ(dialog->focus(), 0);
  EXPECT_TRUE(desktop_.beeps.empty());
  EXPECT_TRUE(desktop_.messages.empty());
}

TEST_F(ConvertDialogTest, HelpOkAndEscape) {
  const auto dialog = OpenOn(u"1 m");
  dialog->Help();
  EXPECT_EQ(desktop_.help_topics,
            std::vector<std::string>{"C:\\Apps\\qmkit.chm::/HelpUnits.htm"});
  EXPECT_FALSE(dialog->result());
  dialog->Ok();
  EXPECT_EQ(dialog->result(), CAskConvertDlg::kIdOk);
  const auto escaped = OpenOn(u"1 m");
  escaped->Cancel();
  EXPECT_EQ(escaped->result(), CAskConvertDlg::kIdCancel);
}

TEST_F(ConvertDialogTest, SortOrderAndEqualNames) {
  SiteCatalogue catalogue;
  ParseCatalogue(
      "[UNIT:1]\ncategory=k\nten+0=beta\nten+1=same\nten+2=Alpha\n"
      "ten+3=_under\nten+4=alpha\nten+5=same\nten+6=\xE9t\xE9\nten+7=Zed\n",
      "UNIT:", catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table);
  const auto& units = table.categories().at("k").units;
  // Folded letters, other bytes by value, equal names as they were added.
  CAskConvertDlg dialog(context_, desktop_, code_page_, u"2", &units[5], table,
                        DialogResources{0, HELP_TOPIC_UNITS});
  dialog.Open();
  EXPECT_EQ(Names(dialog.fromUnits()),
            (std::vector<std::string>{"_under", "Alpha", "alpha", "beta", "same",
                                      "same", "Zed", "\xE9t\xE9"}));
  // The proposed unit itself is chosen, not the first of its name.
  EXPECT_EQ(dialog.fromUnits().chosen, 5);
  EXPECT_EQ(dialog.fromUnits().chosen_item(), &units[5]);
  EXPECT_EQ(dialog.toUnits().chosen, 0);
}

}  // namespace
}  // namespace qm
