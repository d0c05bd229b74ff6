#include "about_dialog_view.h"

#include "resource_ids.h"
#include "win32_module_environment.h"

namespace qm {
namespace {

INT_PTR CALLBACK AboutProcedure(HWND window, UINT message, WPARAM wparam,
                                LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    ::SetWindowLongPtrW(window, DWLP_USER, lparam);
    ::SetFocus(::GetDlgItem(window, IDOK));
    return FALSE;  // the focus is placed
  }
  auto* dialog = reinterpret_cast<CAboutDlg*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (dialog == nullptr || message != WM_COMMAND || HIWORD(wparam) != BN_CLICKED) {
    return FALSE;
  }
  switch (LOWORD(wparam)) {
    case IDOK: dialog->Ok(); break;
    case IDCANCEL: dialog->Cancel(); break;  // Escape and the close box
    case IDC_HOME_PAGE: dialog->HomePage(); break;
    case IDC_HELP_BUTTON: dialog->Help(); break;
    case IDC_CUSTOMIZATION: dialog->Customization(); break;
    default: return FALSE;
  }
  if (dialog->result()) ::EndDialog(window, *dialog->result());
  return TRUE;
}

}  // namespace

void RunAboutDialog(HWND owner, CAboutDlg& dialog) {
  ::DialogBoxParamW(Win32ModuleEnvironment::OwnModule(), MAKEINTRESOURCEW(IDD_ABOUT),
                    owner, &AboutProcedure, reinterpret_cast<LPARAM>(&dialog));
  if (!dialog.result()) dialog.Cancel();
}

}  // namespace qm
