#include "win32_desktop.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>

#include "stub_calls.h"

namespace qm {
namespace {

TEST(Win32Desktop, StylesResultsAndSounds) {
  struct StyleCase {
    MessageStyle style;
    UINT flags;
  };
  const StyleCase styles[] = {
      {{MessageIcon::kExclamation, MessageButtons::kOk, false}, MB_ICONEXCLAMATION | MB_OK},
      {{MessageIcon::kStop, MessageButtons::kOk, false}, MB_ICONSTOP | MB_OK},
      {{MessageIcon::kQuestion, MessageButtons::kYesNo, false}, MB_ICONQUESTION | MB_YESNO},
      {{MessageIcon::kInformation, MessageButtons::kOk, false}, MB_ICONINFORMATION},
      {{MessageIcon::kExclamation, MessageButtons::kYesNo, true},
       MB_ICONEXCLAMATION | MB_YESNO | MB_DEFBUTTON2},
      {{MessageIcon::kNone, MessageButtons::kOk, false}, MB_OK},
  };
  for (const StyleCase& c : styles) {
    EXPECT_EQ(MessageBoxStyle(c.style), c.flags) << std::hex << c.flags;
  }

  struct ResultCase {
    int button;
    MessageResult result;
  };
  // 0 is Windows' answer when no box can be shown, -1 Wine's without a
  // display.
  const ResultCase results[] = {
      {IDOK, MessageResult::kOk},         {IDYES, MessageResult::kYes},
      {IDNO, MessageResult::kNo},         {IDCANCEL, MessageResult::kCancel},
      {0, MessageResult::kFailed},        {-1, MessageResult::kFailed},
      {IDABORT, MessageResult::kFailed},
  };
  for (const ResultCase& c : results) {
    EXPECT_EQ(MessageBoxResult(c.button), c.result) << c.button;
  }

  EXPECT_EQ(BeepSound(BeepKind::kError), static_cast<UINT>(MB_ICONHAND));
  EXPECT_EQ(BeepSound(BeepKind::kExclamation), static_cast<UINT>(MB_ICONEXCLAMATION));
}

// What a test thread saw of a message box before pressing one of its
// buttons.
struct SeenBox {
  HWND owner = nullptr;
  bool has_icon = false;
  bool no_is_default = false;
};

// Waits up to 10 s for the box titled `caption`, notes what it shows and
// presses `button`. False when no box came.
bool PressWhenShown(const wchar_t* caption, int button, SeenBox* seen) {
  for (int i = 0; i < 500; ++i) {
    const HWND box = ::FindWindowW(L"#32770", caption);
    if (box != nullptr && ::IsWindowVisible(box)) {
      seen->owner = ::GetWindow(box, GW_OWNER);
      for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr;
           child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = ::GetWindowLongW(child, GWL_STYLE);
        wchar_t kind[16] = {};
        ::GetClassNameW(child, kind, 16);
        if (std::wstring(kind) == L"Static" && (style & SS_TYPEMASK) == SS_ICON &&
            ::IsWindowVisible(child) && ::SendMessageW(child, STM_GETICON, 0, 0) != 0) {
          seen->has_icon = true;
        }
        if (::GetDlgCtrlID(child) == IDNO) {
          seen->no_is_default = (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
        }
      }
      ::SendMessageW(::GetDlgItem(box, button), BM_CLICK, 0, 0);
      return true;
    }
    ::Sleep(20);
  }
  return false;
}

// A box belongs to the owner, has the style's icon and default button, and
// gives back the button pressed. Where the process can have no windows
// (Wine without a display) no box can be shown either: that is kFailed.
TEST(Win32Desktop, MessageBoxIsOwnedStyledAndAnswered) {
  Win32Desktop desktop;
  const HWND owner = ::CreateWindowExW(0, L"STATIC", L"qm owner", WS_OVERLAPPEDWINDOW,
                                       0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
  if (owner == nullptr) {
    EXPECT_EQ(desktop.ShowMessage(0, u"text", u"qm box", {}), MessageResult::kFailed);
    return;
  }

  SeenBox question;
  bool shown = false;
  std::thread presser([&] { shown = PressWhenShown(L"qm question", IDNO, &question); });
  const MessageResult answer = desktop.ShowMessage(
      reinterpret_cast<WindowHandle>(owner), u"Go on?", u"qm question",
      {MessageIcon::kQuestion, MessageButtons::kYesNo, true});
  presser.join();
  ASSERT_TRUE(shown);
  EXPECT_EQ(answer, MessageResult::kNo);
  EXPECT_EQ(question.owner, owner);
  EXPECT_TRUE(question.has_icon);
  EXPECT_TRUE(question.no_is_default);

  // Owned by the desktop window: no window of the process owns it.
  SeenBox notice;
  presser = std::thread([&] { shown = PressWhenShown(L"qm notice", IDOK, &notice); });
  const MessageResult ok = desktop.ShowMessage(
      0, u"Done.", u"qm notice", {MessageIcon::kNone, MessageButtons::kOk, false});
  presser.join();
  ASSERT_TRUE(shown);
  EXPECT_EQ(ok, MessageResult::kOk);
  EXPECT_EQ(notice.owner, nullptr);
  EXPECT_FALSE(notice.has_icon);
  ::DestroyWindow(owner);
}

// Help goes to the HTML Help control's entry point with the owner, the
// topic address, HH_DISPLAY_TOPIC and 0; no window back is a failure.
TEST(Win32Desktop, ShowHelpCallsTheControl) {
  HtmlHelpLoader help({HKEY_CURRENT_USER, "Software\\qmkit-tests\\no-such-key",
                       "qm_help_control_stub.dll", 14});
  Win32Desktop desktop(help);
  TakeStubRecord("QM_HELP_STUB_CALLS");
  EXPECT_TRUE(desktop.ShowHelp(0x123, "C:\\Dir\\qmkit.chm::/HelpUnits.htm"));
  ::SetEnvironmentVariableA("QM_HELP_STUB_RESULT", "0");
  EXPECT_FALSE(desktop.ShowHelp(0x123, "C:\\Dir\\qmkit.chm::/HelpUnits.htm"));
  ::SetEnvironmentVariableA("QM_HELP_STUB_RESULT", nullptr);
  const std::string call =
      "qm_help_control_stub.dll owner=0x123 file=C:\\Dir\\qmkit.chm::/HelpUnits.htm "
      "command=0 data=0\n";
  EXPECT_EQ(TakeStubRecord("QM_HELP_STUB_CALLS"), call + call);
}

}  // namespace
}  // namespace qm
