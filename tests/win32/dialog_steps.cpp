#include "dialog_steps.h"

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>

#include <gtest/gtest.h>

#include "dialog_controls.h"
#include "resource_ids.h"
#include "window_picture.h"

namespace qm {
namespace {

DialogSteps* playing = nullptr;

// Ticks without a dialog to play on before the test gives up on it.
constexpr int kPatience = 500;
constexpr UINT kTickMs = 10;

HWND ListOf(HWND dialog) { return ::GetDlgItem(dialog, IDC_SITE_LIST); }

void PostDoubleClick(HWND control, POINT at) {
  const LPARAM where = MAKELPARAM(at.x, at.y);
  ::PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(control, WM_LBUTTONUP, 0, where);
  ::PostMessageW(control, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
  ::PostMessageW(control, WM_LBUTTONUP, 0, where);
}

RECT RowLabel(HWND dialog, int row) {
  RECT rect{};
  rect.left = LVIR_LABEL;
  EXPECT_TRUE(::SendMessageW(ListOf(dialog), LVM_GETITEMRECT, static_cast<WPARAM>(row),
                             reinterpret_cast<LPARAM>(&rect)))
      << "no row " << row;
  return rect;
}

}  // namespace

DialogSteps::DialogSteps(std::vector<Step> steps, const std::u16string& title)
    : steps_(std::move(steps)), title_(title) {
  playing = this;
  timer_ = ::SetTimer(nullptr, 0, kTickMs, &DialogSteps::Tick);
}

DialogSteps::~DialogSteps() {
  ::KillTimer(nullptr, timer_);
  playing = nullptr;
  EXPECT_EQ(next_, steps_.size()) << "the dialog closed (or never opened) before step "
                                  << next_ + 1 << " of " << steps_.size();
}

void CALLBACK DialogSteps::Tick(HWND, UINT, UINT_PTR, DWORD) {
  if (playing != nullptr) playing->Play();
}

void DialogSteps::Play() {
  HWND dialog = ::FindWindowW(L"#32770", WideChars(title_));
  if (dialog == nullptr || !::IsWindowVisible(dialog)) {
    if (++idle_ticks_ == kPatience) {
      ADD_FAILURE() << "no dialog to play step " << next_ + 1 << " on";
    }
    return;
  }
  if (next_ < steps_.size()) {
    steps_[next_++](dialog);
    return;
  }
  if (idle_ticks_ >= 0) {
    ADD_FAILURE() << "the dialog is still open after the last step";
    idle_ticks_ = -kPatience;  // said once
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  }
}

void ClickRow(HWND dialog, int row) {
  const RECT label = RowLabel(dialog, row);
  const LPARAM where = MAKELPARAM((label.left + label.right) / 2, (label.top + label.bottom) / 2);
  ::PostMessageW(ListOf(dialog), WM_LBUTTONDOWN, MK_LBUTTON, where);
  ::PostMessageW(ListOf(dialog), WM_LBUTTONUP, 0, where);
}

void DoubleClickRow(HWND dialog, int row) {
  const RECT label = RowLabel(dialog, row);
  PostDoubleClick(ListOf(dialog), {(label.left + label.right) / 2,
                                   (label.top + label.bottom) / 2});
}

void DoubleClickBelowRows(HWND dialog) {
  HWND list = ListOf(dialog);
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  const RECT last = RowLabel(dialog, rows - 1);
  RECT client{};
  ::GetClientRect(list, &client);
  const POINT below{(last.left + last.right) / 2, last.bottom + (last.bottom - last.top)};
  ASSERT_LT(below.y, client.bottom) << "the list is full: no room below its rows";
  PostDoubleClick(list, below);
}

void PressButton(HWND dialog, int control) {
  ::SendMessageW(::GetDlgItem(dialog, control), BM_CLICK, 0, 0);
}

void PressKey(HWND control, UINT key) {
  ::PostMessageW(control, WM_KEYDOWN, key, 1);
  ::PostMessageW(control, WM_KEYUP, key, 0xC0000001);
}

void SetText(HWND dialog, int control, const std::u16string& text) {
  ::SendMessageW(::GetDlgItem(dialog, control), WM_SETTEXT, 0,
                 reinterpret_cast<LPARAM>(WideChars(text)));
}

bool PickComboRow(HWND dialog, int control, const std::u16string& text) {
  HWND box = ::GetDlgItem(dialog, control);
  const LRESULT row = ::SendMessageW(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(WideChars(text)));
  if (row == CB_ERR) return false;
  // Stand on a neighbour and step onto the row with the arrow keys, so the
  // box itself reports the change.
  const bool from_above = row > 0;
  ::SendMessageW(box, CB_SETCURSEL, static_cast<WPARAM>(from_above ? row - 1 : row + 1), 0);
  PressKey(box, from_above ? VK_DOWN : VK_UP);
  return true;
}

std::u16string ControlText(HWND dialog, int control) {
  return WindowText(::GetDlgItem(dialog, control));
}

std::u16string ComboText(HWND dialog, int control) {
  HWND box = ::GetDlgItem(dialog, control);
  const LRESULT row = ::SendMessageW(box, CB_GETCURSEL, 0, 0);
  if (row == CB_ERR) return {};
  const LRESULT length = ::SendMessageW(box, CB_GETLBTEXTLEN, static_cast<WPARAM>(row), 0);
  std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
  ::SendMessageW(box, CB_GETLBTEXT, static_cast<WPARAM>(row),
                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

std::vector<std::u16string> ListRows(HWND dialog) {
  HWND list = ListOf(dialog);
  std::vector<std::u16string> rows;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    wchar_t buffer[512] = {};
    LVITEMW item{};
    item.pszText = buffer;
    item.cchTextMax = 512;
    ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                   reinterpret_cast<LPARAM>(&item));
    rows.emplace_back(reinterpret_cast<const char16_t*>(buffer));
  }
  return rows;
}

std::vector<int> ListImages(HWND dialog) {
  HWND list = ListOf(dialog);
  std::vector<int> images;
  const int count = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < count; ++row) {
    const auto state = static_cast<UINT>(::SendMessageW(
        list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK));
    images.push_back(static_cast<int>(state >> 12));
  }
  return images;
}

int FocusedControl() {
  HWND focus = ::GetFocus();
  return focus == nullptr ? 0 : ::GetDlgCtrlID(focus);
}

void SaveScreenshot(HWND window, const std::string& name) {
  const char* folder = std::getenv("QM_SCREENSHOT_DIR");
  if (folder == nullptr || *folder == '\0') return;
  const std::string path = std::string(folder) + "\\" + name + ".bmp";
  ASSERT_TRUE(SaveWindowsPicture({window}, std::wstring(path.begin(), path.end())))
      << "cannot write " << path;
}

}  // namespace qm
