#include "win32_desktop.h"

namespace qm {

static_assert(sizeof(wchar_t) == sizeof(char16_t),
              "UTF-16 text is handed to the W functions as it is");

UINT MessageBoxStyle(MessageStyle style) {
  UINT flags = 0;
  switch (style.icon) {
    case MessageIcon::kNone: break;
    case MessageIcon::kExclamation: flags |= MB_ICONEXCLAMATION; break;
    case MessageIcon::kStop: flags |= MB_ICONSTOP; break;
    case MessageIcon::kQuestion: flags |= MB_ICONQUESTION; break;
    case MessageIcon::kInformation: flags |= MB_ICONINFORMATION; break;
  }
  flags |= style.buttons == MessageButtons::kYesNo ? MB_YESNO : MB_OK;
  if (style.second_button_default) flags |= MB_DEFBUTTON2;
  return flags;
}

MessageResult MessageBoxResult(int result) {
  switch (result) {
    case IDOK: return MessageResult::kOk;
    case IDYES: return MessageResult::kYes;
    case IDNO: return MessageResult::kNo;
    case IDCANCEL: return MessageResult::kCancel;
    default: return MessageResult::kFailed;
  }
}

UINT BeepSound(BeepKind kind) {
  return kind == BeepKind::kError ? MB_ICONHAND : MB_ICONEXCLAMATION;
}

MessageResult Win32Desktop::ShowMessage(WindowHandle owner,
                                        const std::u16string& text,
                                        const std::u16string& caption,
                                        MessageStyle style) {
  const HWND window =
      owner != 0 ? reinterpret_cast<HWND>(owner) : ::GetDesktopWindow();
  return MessageBoxResult(::MessageBoxW(
      window, reinterpret_cast<const wchar_t*>(text.c_str()),
      reinterpret_cast<const wchar_t*>(caption.c_str()), MessageBoxStyle(style)));
}

void Win32Desktop::Beep(BeepKind kind) { ::MessageBeep(BeepSound(kind)); }

bool Win32Desktop::ShowHelp(WindowHandle owner, const std::string& address) {
  return help_.HtmlHelpA(reinterpret_cast<HWND>(owner), address.c_str(),
                         kHhDisplayTopic, 0) != nullptr;
}

}  // namespace qm
