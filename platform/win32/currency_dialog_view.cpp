#include "currency_dialog_view.h"

#include "choice_dialog_window.h"
#include "dialog_controls.h"
#include "resource_ids.h"

namespace qm {
namespace {

class CurrencyDialogWindow final : public ChoiceDialogWindow {
 public:
  explicit CurrencyDialogWindow(CAskCurrencyDlg& model)
      : ChoiceDialogWindow(model), model_(model) {}

 private:
  void OnOpen() override {
    Fill(IDC_FROM_CURRENCY, model_.chosen_source());
    Fill(IDC_TO_CURRENCY, model_.chosen_target());
  }

  void OnCommand(int control, int code) override {
    if (code != CBN_SELCHANGE) return;
    if (control == IDC_FROM_CURRENCY) model_.ChooseSource(Chosen(control));
    if (control == IDC_TO_CURRENCY) model_.ChooseTarget(Chosen(control));
  }

  // A box with no row chosen tells the model none, and it keeps its
  // currency.
  void BeforeOk() override {
    model_.ChooseSource(Chosen(IDC_FROM_CURRENCY));
    model_.ChooseTarget(Chosen(IDC_TO_CURRENCY));
  }

  // The box sorts its rows, so each row's index is only known once it is
  // added; the currency travels with the row.
  void Fill(int control, const CurrencyInfo* chosen) {
    HWND box = ::GetDlgItem(window(), control);
    for (const CurrencyInfo* row : model_.currencies()) {
      AddComboRow(box, CurrencyDisplayText(*row), reinterpret_cast<LPARAM>(row));
    }
    ChooseComboRow(box, reinterpret_cast<LPARAM>(chosen));
  }

  const CurrencyInfo* Chosen(int control) const {
    LPARAM data = 0;
    if (!ChosenComboData(::GetDlgItem(window(), control), &data)) return nullptr;
    return reinterpret_cast<const CurrencyInfo*>(data);
  }

  CAskCurrencyDlg& model_;
};

}  // namespace

void RunCurrencyDialog(HWND owner, CAskCurrencyDlg& dialog) {
  CurrencyDialogWindow(dialog).Run(owner);
}

}  // namespace qm
