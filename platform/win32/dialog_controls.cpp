#include "dialog_controls.h"

#include <vector>

namespace qm {

std::u16string WindowText(HWND window) {
  const int length = ::GetWindowTextLengthW(window);
  if (length <= 0) return {};
  std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1);
  const int copied = ::GetWindowTextW(window, buffer.data(), length + 1);
  return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()),
                        static_cast<std::size_t>(copied > 0 ? copied : 0));
}

void SetControlText(HWND dialog, int control, const std::u16string& text) {
  ::SetDlgItemTextW(dialog, control, WideChars(text));
}

void MoveFocus(HWND dialog, int control) {
  HWND target = ::GetDlgItem(dialog, control);
  if (target != nullptr) {
    ::SendMessageW(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(target), TRUE);
  }
}

int AddComboRow(HWND combo, const std::u16string& text, LPARAM data) {
  const LRESULT index = ::SendMessageW(combo, CB_ADDSTRING, 0,
                                       reinterpret_cast<LPARAM>(WideChars(text)));
  if (index < 0) return -1;
  ::SendMessageW(combo, CB_SETITEMDATA, static_cast<WPARAM>(index), data);
  return static_cast<int>(index);
}

bool ChosenComboData(HWND combo, LPARAM* data) {
  const LRESULT index = ::SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (index == CB_ERR) return false;
  *data = ::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return true;
}

void ChooseComboRow(HWND combo, LPARAM data) {
  const LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
  WPARAM chosen = static_cast<WPARAM>(-1);
  for (LRESULT i = 0; i < count; ++i) {
    if (::SendMessageW(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0) == data) {
      chosen = static_cast<WPARAM>(i);
      break;
    }
  }
  ::SendMessageW(combo, CB_SETCURSEL, chosen, 0);
}

}  // namespace qm
