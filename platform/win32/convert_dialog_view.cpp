#include "convert_dialog_view.h"

#include <string>

#include "dialog_controls.h"
#include "resource_ids.h"
#include "win32_module_environment.h"

namespace qm {
namespace {

class ConvertDialogWindow {
 public:
  explicit ConvertDialogWindow(CAskConvertDlg& model) : model_(model) {}

  void Run(HWND owner) {
    ::DialogBoxParamW(Win32ModuleEnvironment::OwnModule(),
                      MAKEINTRESOURCEW(IDD_ASK_CONVERT), owner, &Procedure,
                      reinterpret_cast<LPARAM>(this));
    model_.AttachWindow(0);
    if (!model_.result()) model_.Cancel();
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wparam,
                                    LPARAM lparam) {
    if (message == WM_INITDIALOG) {
      auto* self = reinterpret_cast<ConvertDialogWindow*>(lparam);
      ::SetWindowLongPtrW(window, DWLP_USER, lparam);
      self->window_ = window;
      self->Open();
      return TRUE;
    }
    auto* self =
        reinterpret_cast<ConvertDialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr || message != WM_COMMAND) return FALSE;
    self->Command(LOWORD(wparam), HIWORD(wparam));
    return TRUE;
  }

  void Open() {
    model_.AttachWindow(reinterpret_cast<WindowHandle>(window_),
                        [this](int control) { MoveFocus(window_, control); });
    model_.Open();
    SetAmountField(model_.amountText());
    Fill(IDC_UNIT_CATEGORY, model_.categories());
    FillUnits();
    SetControlText(window_, IDC_RESULT, Wide(model_.resultText()));
  }

  void Command(int control, int code) {
    switch (control) {
      case IDC_UNIT_CATEGORY:
        if (code != CBN_SELCHANGE) return;
        model_.ChooseCategory(Chosen(IDC_UNIT_CATEGORY));
        FillUnits();
        ShowResult();
        return;
      case IDC_FROM_UNIT:
        if (code != CBN_SELCHANGE) return;
        model_.ChooseFromUnit(Chosen(IDC_FROM_UNIT));
        ShowResult();
        return;
      case IDC_TO_UNIT:
        if (code != CBN_SELCHANGE) return;
        model_.ChooseToUnit(Chosen(IDC_TO_UNIT));
        ShowResult();
        return;
      case IDC_UNIT_AMOUNT:  // the result answers as the person types
        if (code != EN_CHANGE || writing_amount_) return;
        model_.SetAmountText(TypedAmount());
        ShowResult();
        return;
      case IDC_CALCULATE:  // also the Enter key: the default button
        if (code == BN_CLICKED) Calculate();
        return;
      case IDC_HELP_BUTTON:
        if (code == BN_CLICKED) model_.Help();
        return;
      case IDOK:
        if (code != BN_CLICKED) return;
        model_.Ok();
        ::EndDialog(window_, CAskConvertDlg::kIdOk);
        return;
      case IDCANCEL:  // Escape and the close box
        model_.Cancel();
        ::EndDialog(window_, CAskConvertDlg::kIdCancel);
        return;
      default:
        return;
    }
  }

  // Every Calculate reads the fields and lists afresh.
  void Calculate() {
    const std::string typed = TypedAmount();
    model_.SetAmountText(typed);
    model_.ChooseFromUnit(Chosen(IDC_FROM_UNIT));
    model_.ChooseToUnit(Chosen(IDC_TO_UNIT));
    model_.Calculate();
    // A refused amount stays as the user typed it, characters the code page
    // lacks included.
    if (model_.amountText() != typed) SetAmountField(model_.amountText());
    ShowResult();
  }

  std::string TypedAmount() const {
    return model_.code_page().ToNarrow(WindowText(::GetDlgItem(window_, IDC_UNIT_AMOUNT)));
  }

  // Writes the amount field; the change it makes is the view's own, not
  // the person's, so the model is not told of it again.
  void SetAmountField(const std::string& amount) {
    writing_amount_ = true;
    SetControlText(window_, IDC_UNIT_AMOUNT, Wide(amount));
    writing_amount_ = false;
  }

  void ShowResult() { SetControlText(window_, IDC_RESULT, Wide(model_.resultText())); }

  // Refilled both, each with its first entry chosen or the model's choice.
  void FillUnits() {
    Fill(IDC_FROM_UNIT, model_.fromUnits());
    Fill(IDC_TO_UNIT, model_.toUnits());
  }

  template <typename Item>
  void Fill(int control, const ConvertChoiceList<Item>& list) {
    HWND box = ::GetDlgItem(window_, control);
    ::SendMessageW(box, CB_RESETCONTENT, 0, 0);
    for (std::size_t i = 0; i < list.entries.size(); ++i) {
      AddComboRow(box, Wide(list.entries[i].name), static_cast<LPARAM>(i));
    }
    ChooseComboRow(box, list.chosen);
  }

  // The model's index of the chosen row, or ConvertChoiceList's kNone.
  int Chosen(int control) const {
    LPARAM data = 0;
    if (!ChosenComboData(::GetDlgItem(window_, control), &data)) return -1;
    return static_cast<int>(data);
  }

  std::u16string Wide(const std::string& narrow) const {
    return model_.code_page().ToWide(narrow);
  }

  CAskConvertDlg& model_;
  HWND window_ = nullptr;
  bool writing_amount_ = false;
};

}  // namespace

void RunConvertDialog(HWND owner, CAskConvertDlg& dialog) {
  ConvertDialogWindow(dialog).Run(owner);
}

}  // namespace qm
