#include "dialogs/ask_currency_dlg.h"

#include "strings/string_table.h"
#include "text/number_scan.h"

namespace qm {

CAskCurrencyDlg::CAskCurrencyDlg(RequestContext& context, Desktop& desktop,
                                 const CodePage& code_page,
                                 SiteEntryList& entries, std::u16string amount,
                                 const CurrencyInfo* source,
                                 const CurrencyInfo* target,
                                 const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(amount),
                   ChoiceDialogTexts{resources.template_id, u"",
                                     std::u16string(LoadText(IDS_CURRENCY_PROMPT)),
                                     resources.help_topic}),
      chosen_source_(source),
      chosen_target_(target),
      source_(source),
      target_(target) {
  for (const CurrencyInfo& row : CurrencyTable()) rows_.push_back(&row);
}

bool CAskCurrencyDlg::Ok() {
  // A box with nothing chosen keeps its currency.
  if (chosen_source_ != nullptr) source_ = chosen_source_;
  if (chosen_target_ != nullptr) target_ = chosen_target_;
  return ChoiceDialog::Ok();
}

InputCheck CAskCurrencyDlg::ValidateInput(const std::u16string& text) {
  double value = 0;
  std::size_t consumed = 0;
  if (!ScanDouble(text, &value, &consumed)) {
    return InputCheck::Refuse(IDS_CURRENCY_AMOUNT_NOT_NUMBER);
  }
  return InputCheck::Accept(text);
}

}  // namespace qm
