// The converter dialog (template 231) as a model: a category list, an
// amount field, from- and to-unit lists, Calculate and a result line. A view
// calls Open() once its window exists, shows the lists and fields below and
// forwards the user's gestures; every rule lives here.
//
//   Open() on "12.5" and kilometres: amount "12.5", category "distance",
//   from "kilometres", to "Angstroms" (the first distance unit A-Z);
//   ChooseToUnit(index of "miles"), Calculate():
//   result "12.5 kilometres = 7.76714 miles".
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "context/request_context.h"
#include "dialogs/dialog_resources.h"
#include "dialogs/to_unit_memory.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "units/unit_table.h"
#include "resource_ids.h"

namespace qm {

// A drop-down list as the dialog shows it: entries sorted by name with A-Z
// folded to lower case, other bytes in byte order and equal names in the
// order they were added, each entry carrying its category or unit. A view
// shows the entries in this order (its own list must not sort them again)
// and reports choices by index.
template <typename Item>
struct ConvertChoiceList {
  struct Entry {
    std::string name;  // 8-bit text in the system code page
    const Item* item = nullptr;
  };
  static constexpr int kNone = -1;

  std::vector<Entry> entries;
  int chosen = kNone;  // index into entries, or kNone

  const Item* chosen_item() const {
    return chosen == kNone ? nullptr : entries[static_cast<std::size_t>(chosen)].item;
  }
};

class CAskConvertDlg {
 public:
  // Dialog 231's controls, for views and for focus().
  static constexpr int kIdOk = 1;
  static constexpr int kIdCancel = 2;  // the Escape key
  static constexpr int kIdHelp = IDC_HELP_BUTTON;
  static constexpr int kIdCategoryList = IDC_UNIT_CATEGORY;
  static constexpr int kIdCalculate = IDC_CALCULATE;
  static constexpr int kIdResult = IDC_RESULT;
  static constexpr int kIdFromList = IDC_FROM_UNIT;
  static constexpr int kIdToList = IDC_TO_UNIT;
  static constexpr int kIdAmount = IDC_UNIT_AMOUNT;

  // `amount` and `unit` are what the selection proposes (ParseQuantity);
  // `unit`, when not null, belongs to `table`. The context, desktop, code
  // page and table must outlive the dialog; the table is not owned.
  CAskConvertDlg(const RequestContext& context, Desktop& desktop,
                 const CodePage& code_page, std::u16string amount,
                 const Unit* unit, const UnitTable& table,
                 const DialogResources& resources);
  CAskConvertDlg(const CAskConvertDlg&) = delete;
  CAskConvertDlg& operator=(const CAskConvertDlg&) = delete;

  // The "To" units the person last used, recalled when a category's units
  // are listed and noted when the person picks one; none by default. Set
  // it before Open; the memory must outlive the dialog.
  void UseToUnitMemory(ToUnitMemory* memory) { to_memory_ = memory; }

  // The initialisation: the amount field gets the proposed amount, the
  // category list every category with the proposed unit's chosen (else its
  // first entry), the from-unit list that category's units with the
  // proposed unit chosen (else the first) and the to-unit list the same
  // units with the category's remembered "To" unit chosen (else the
  // first; the first too when the remembered one is the from-unit). An
  // empty table leaves all lists empty and unchosen. The result field
  // starts empty.
  void Open();

  // The user picks entry `index` of a list; an index outside the list
  // leaves it without a choice, as a list control does. A new category
  // refills both unit lists with its units, the first entry chosen in the
  // from-unit list and in the to-unit list as Open chooses; the amount
  // field keeps its text. A to-unit picked is noted in the memory.
  void ChooseCategory(int index);
  void ChooseFromUnit(int index);
  void ChooseToUnit(int index);

  // The user edits the amount field (8-bit text, any length).
  void SetAmountText(std::string text);

  // After each of the changes above the result field answers at once, as
  // the person types: the conversion of the amount as typed, or empty while
  // the amount is no number or a unit is not chosen. Unlike Calculate, it
  // neither rewrites the amount, nor beeps, nor shows a message, nor moves
  // the focus.

  // Button 207, and the Enter key. Without a chosen from- or to-unit: an
  // exclamation beep, nothing else. An amount that is not a number: focus
  // on the amount field and message 144; the fields keep their text.
  // Otherwise the amount field is rewritten with every digit of the amount
  // (FormatAmount) and the result field shows the conversion or its
  // failure text.
  void Calculate();

  // Opens the help topic of the dialog's resources ("HelpUnits.htm") owned
  // by the browser window; the dialog stays open.
  void Help();

  // End the dialog with kIdOk or kIdCancel.
  void Ok() { result_id_ = kIdOk; }
  void Cancel() { result_id_ = kIdCancel; }

  // Told the control to which a rule moved the focus, before any message
  // the rule shows, so that a window can move its own focus first.
  using FocusListener = std::function<void(int control)>;

  // The view's own window, owner of the dialog's message boxes (until a
  // view attaches one, the browser window owns them), and the view's
  // listener of focus moves.
  void AttachWindow(WindowHandle window, FocusListener on_focus = {}) {
    window_ = window;
    on_focus_ = std::move(on_focus);
  }

  const ConvertChoiceList<UnitCategory>& categories() const { return categories_; }
  const ConvertChoiceList<Unit>& fromUnits() const { return from_units_; }
  const ConvertChoiceList<Unit>& toUnits() const { return to_units_; }
  const std::string& amountText() const { return amount_; }
  const std::string& resultText() const { return result_; }
  // The code page of the amount field and the lists' names.
  const CodePage& code_page() const { return code_page_; }

  // The control the model put the focus on, or 0 while it has placed none
  // (the view's own default).
  int focus() const { return focus_; }

  // kIdOk or kIdCancel once the dialog has ended.
  std::optional<int> result() const { return result_id_; }

 private:
  void FillUnits(ConvertChoiceList<Unit>& list, const UnitCategory& category,
                 const Unit* preferred);
  // Fills both unit lists with the units of `category`.
  void FillUnitLists(const UnitCategory& category, const Unit* from);
  void Recalculate();

  const RequestContext& context_;
  Desktop& desktop_;
  const CodePage& code_page_;
  std::u16string proposed_amount_;
  const Unit* proposed_unit_;
  const UnitTable& table_;
  const char* help_topic_;

  WindowHandle window_ = 0;
  FocusListener on_focus_;
  ToUnitMemory* to_memory_ = nullptr;
  ConvertChoiceList<UnitCategory> categories_;
  ConvertChoiceList<Unit> from_units_;
  ConvertChoiceList<Unit> to_units_;
  std::string amount_;
  std::string result_;
  int focus_ = 0;
  std::optional<int> result_id_;
};

}  // namespace qm
