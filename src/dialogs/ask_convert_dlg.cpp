#include "dialogs/ask_convert_dlg.h"

#include <algorithm>
#include <utility>

#include "dialogs/help_topic.h"
#include "strings/string_table.h"
#include "text/ascii_fold.h"
#include "units/quantity.h"

namespace qm {
namespace {

// Sorts the entries as a sorted list control shows them and chooses the
// entry of `preferred`, else the first entry, else none.
template <typename Item>
void SortAndChoose(ConvertChoiceList<Item>& list, const Item* preferred) {
  using Entry = typename ConvertChoiceList<Item>::Entry;
  std::stable_sort(list.entries.begin(), list.entries.end(),
                   [](const Entry& a, const Entry& b) {
                     return CompareFolded(a.name, b.name) < 0;
                   });
  list.chosen = list.entries.empty() ? ConvertChoiceList<Item>::kNone : 0;
  for (std::size_t i = 0; i < list.entries.size(); ++i) {
    if (preferred != nullptr && list.entries[i].item == preferred) {
      list.chosen = static_cast<int>(i);
      break;
    }
  }
}

template <typename Item>
void Choose(ConvertChoiceList<Item>& list, int index) {
  const bool inside =
      index >= 0 && static_cast<std::size_t>(index) < list.entries.size();
  list.chosen = inside ? index : ConvertChoiceList<Item>::kNone;
}

}  // namespace

CAskConvertDlg::CAskConvertDlg(const RequestContext& context, Desktop& desktop,
                               const CodePage& code_page, std::u16string amount,
                               const Unit* unit, const UnitTable& table,
                               const DialogResources& resources)
    : context_(context),
      desktop_(desktop),
      code_page_(code_page),
      proposed_amount_(std::move(amount)),
      proposed_unit_(unit),
      table_(table),
      help_topic_(resources.help_topic) {}

void CAskConvertDlg::Open() {
  amount_ = code_page_.ToNarrow(proposed_amount_);
  result_.clear();
  focus_ = 0;
  result_id_.reset();

  categories_ = {};
  for (const auto& [name, category] : table_.categories()) {
    categories_.entries.push_back({category.name, &category});
  }
  SortAndChoose(categories_, proposed_unit_ != nullptr
                                 ? proposed_unit_->category
                                 : nullptr);
  from_units_ = {};
  to_units_ = {};
  if (const UnitCategory* category = categories_.chosen_item()) {
    FillUnitLists(*category, proposed_unit_);
  }
}

void CAskConvertDlg::FillUnitLists(const UnitCategory& category,
                                   const Unit* from) {
  FillUnits(from_units_, category, from);
  const Unit* to = to_memory_ != nullptr ? to_memory_->Recall(category) : nullptr;
  if (to == from_units_.chosen_item()) to = nullptr;
  FillUnits(to_units_, category, to);
}

void CAskConvertDlg::FillUnits(ConvertChoiceList<Unit>& list,
                               const UnitCategory& category,
                               const Unit* preferred) {
  list = {};
  for (const Unit& unit : category.units) {
    list.entries.push_back({unit.name, &unit});
  }
  SortAndChoose(list, preferred);
}

void CAskConvertDlg::ChooseCategory(int index) {
  Choose(categories_, index);
  const UnitCategory* category = categories_.chosen_item();
  if (category == nullptr) return;
  FillUnitLists(*category, nullptr);
  Recalculate();
}

void CAskConvertDlg::ChooseFromUnit(int index) {
  Choose(from_units_, index);
  Recalculate();
}

void CAskConvertDlg::ChooseToUnit(int index) {
  Choose(to_units_, index);
  if (const Unit* to = to_units_.chosen_item(); to != nullptr && to_memory_ != nullptr) {
    to_memory_->Note(*to);
  }
  Recalculate();
}

void CAskConvertDlg::SetAmountText(std::string text) {
  amount_ = std::move(text);
  Recalculate();
}

void CAskConvertDlg::Recalculate() {
  const Unit* from = from_units_.chosen_item();
  const Unit* to = to_units_.chosen_item();
  Conversion conversion;
  if (from != nullptr && to != nullptr) {
    conversion = ConvertQuantity(amount_, *from, *to, code_page_);
  }
  result_ = conversion.is_number ? std::move(conversion.result) : std::string();
}

void CAskConvertDlg::Calculate() {
  const Unit* from = from_units_.chosen_item();
  const Unit* to = to_units_.chosen_item();
  if (from == nullptr || to == nullptr) {
    desktop_.Beep(BeepKind::kExclamation);
    return;
  }
  Conversion conversion = ConvertQuantity(amount_, *from, *to, code_page_);
  if (!conversion.is_number) {
    focus_ = kIdAmount;
    if (on_focus_) on_focus_(focus_);
    const WindowHandle owner = window_ != 0 ? window_ : context_.browserWindow();
    ShowStringMessage(desktop_, owner, IDS_AMOUNT_NOT_NUMBER,
                      IDS_PRODUCT_NAME,
                      {MessageIcon::kExclamation, MessageButtons::kOk});
    return;
  }
  amount_ = std::move(conversion.amount);
  result_ = std::move(conversion.result);
}

void CAskConvertDlg::Help() {
  OpenHelpTopic(context_, desktop_, help_topic_);
}

}  // namespace qm
