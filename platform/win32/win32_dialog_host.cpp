#include "win32_dialog_host.h"

#include <windows.h>

#include "about_dialog_view.h"
#include "choice_dialog_view.h"
#include "convert_dialog_view.h"
#include "currency_dialog_view.h"

namespace qm {
namespace {

HWND Window(WindowHandle handle) { return reinterpret_cast<HWND>(handle); }

}  // namespace

void Win32DialogHost::RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) {
  qm::RunChoiceDialog(Window(owner), dialog);
}

void Win32DialogHost::RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) {
  qm::RunCurrencyDialog(Window(owner), dialog);
}

void Win32DialogHost::RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) {
  qm::RunConvertDialog(Window(owner), dialog);
}

void Win32DialogHost::RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) {
  qm::RunAboutDialog(Window(owner), dialog);
}

}  // namespace qm
