// The currency dialog: the amount, the two currencies and the list of
// converter sites.
#pragma once

#include <optional>
#include <vector>

#include "dialogs/choice_dialog.h"
#include "dialogs/dialog_resources.h"
#include "recognisers/currency_table.h"

namespace qm {

class CAskCurrencyDlg final : public ChoiceDialog {
 public:
  // `source` and `target` are the currencies the two boxes start at (either
  // may be null: the box then starts with nothing chosen).
  CAskCurrencyDlg(RequestContext& context, Desktop& desktop,
                  const CodePage& code_page, SiteEntryList& entries,
                  std::u16string amount, const CurrencyInfo* source,
                  const CurrencyInfo* target, const DialogResources& resources);

  // The rows of the two boxes: every currency of the table, in table order,
  // which is also the order of their CurrencyDisplayText. A view shows them
  // by that text in this order (a list that sorts them keeps it).
  const std::vector<const CurrencyInfo*>& currencies() const { return rows_; }
  // The row chosen in each box, if any.
  const CurrencyInfo* chosen_source() const { return chosen_source_; }
  const CurrencyInfo* chosen_target() const { return chosen_target_; }
  void ChooseSource(const CurrencyInfo* row) { chosen_source_ = row; }
  void ChooseTarget(const CurrencyInfo* row) { chosen_target_ = row; }

  // OK: the amount from the edit box, each box's chosen row as its
  // currency, then the amount check and the choice check.
  bool Ok() override;

  // After OK: the amount exactly as typed, and the two currencies.
  const std::u16string& amount() const { return text(); }
  const CurrencyInfo* source() const { return source_; }
  const CurrencyInfo* target() const { return target_; }

  // Accepts a text that begins with a decimal number ("12abc" included) and
  // keeps it as typed; refuses anything else with string 142.
  InputCheck ValidateInput(const std::u16string& text) override;

 private:
  std::vector<const CurrencyInfo*> rows_;
  const CurrencyInfo* chosen_source_;
  const CurrencyInfo* chosen_target_;
  const CurrencyInfo* source_;
  const CurrencyInfo* target_;
};

}  // namespace qm
