#include "choice_dialog_window.h"

#include <commctrl.h>

#include <string>

#include "dialog_controls.h"
#include "resource_ids.h"
#include "strings/string_table.h"
#include "win32_module_environment.h"

namespace qm {
namespace {

// The check strip: three images of 11 x 11; black is transparent. State
// image 1 shows a line not chosen, 2 a chosen one.
constexpr int kCheckImageWidth = 11;
constexpr int kNotChosenImage = 1;
constexpr int kChosenImage = 2;

int ControlOf(DialogFocus focus) {
  switch (focus) {
    case DialogFocus::kOkButton: return IDOK;
    case DialogFocus::kList: return IDC_SITE_LIST;
    case DialogFocus::kEditBox: return IDC_TEXT;
  }
  return IDOK;
}

}  // namespace

void ChoiceDialogWindow::Run(HWND owner) {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_LISTVIEW_CLASSES};
  ::InitCommonControlsEx(&classes);
  ::DialogBoxParamW(Win32ModuleEnvironment::OwnModule(),
                    MAKEINTRESOURCEW(model_.texts().template_id), owner,
                    &ChoiceDialogWindow::Procedure, reinterpret_cast<LPARAM>(this));
  // The window is gone: the model must not reach it any more.
  model_.AttachWindow(0);
  if (!model_.result()) model_.Cancel();
}

INT_PTR CALLBACK ChoiceDialogWindow::Procedure(HWND window, UINT message,
                                               WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<ChoiceDialogWindow*>(lparam);
    ::SetWindowLongPtrW(window, DWLP_USER, lparam);
    self->window_ = window;
    self->Open();
    return TRUE;  // the focus starts on the first control: OK
  }
  auto* self =
      reinterpret_cast<ChoiceDialogWindow*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (self == nullptr) return FALSE;
  switch (message) {
    case WM_COMMAND:
      self->Command(LOWORD(wparam), HIWORD(wparam));
      return TRUE;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lparam);
      if (header->idFrom != IDC_SITE_LIST) return FALSE;
      self->Notify(*header);
      ::SetWindowLongPtrW(window, DWLP_MSGRESULT, 0);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

void ChoiceDialogWindow::Open() {
  // Message boxes of the model's checks belong to this window, and the
  // focus moves before each box appears.
  model_.AttachWindow(reinterpret_cast<WindowHandle>(window_), [this](DialogFocus focus) {
    MoveFocus(window_, ControlOf(focus));
  });
  model_.Open();
  const ChoiceDialogTexts& texts = model_.texts();
  if (model_.has_text()) {
    UseWideTextFont(::GetDlgItem(window_, IDC_TEXT));
    SetControlText(window_, IDC_TEXT, model_.edit_text());
    SetControlText(window_, IDC_TEXT_GROUP, texts.group_caption);
  }
  SetControlText(window_, IDC_PROMPT, texts.prompt);

  list_ = ::GetDlgItem(window_, IDC_SITE_LIST);
  showing_ = true;
  check_images_.reset(::ImageList_LoadImageW(
      Win32ModuleEnvironment::OwnModule(), MAKEINTRESOURCEW(IDB_CHECK_IMAGES),
      kCheckImageWidth, 0, RGB(0, 0, 0), IMAGE_BITMAP, 0));
  // Without the images the choice still works; it is only not shown.
  if (check_images_.get() != nullptr) {
    ListView_SetImageList(list_, check_images_.get(), LVSIL_STATE);
  }
  // One column as wide as the list less a vertical scroll bar, so a list
  // that scrolls needs no horizontal bar.
  RECT client{};
  ::GetClientRect(list_, &client);
  std::u16string title(LoadText(IDS_LIST_COLUMN));
  LVCOLUMNW column{};
  column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT;
  column.fmt = LVCFMT_LEFT;
  column.cx = client.right - ::GetSystemMetrics(SM_CXVSCROLL);
  column.pszText = const_cast<wchar_t*>(WideChars(title));
  ::SendMessageW(list_, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

  const SiteChoiceList& lines = model_.list();
  for (std::size_t line = 0; line < lines.size(); ++line) {
    const std::u16string text = model_.code_page().ToWide(lines.entry(line).shortDescription);
    LVITEMW item{};
    item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_STATE;
    item.iItem = static_cast<int>(line);
    item.pszText = const_cast<wchar_t*>(WideChars(text));
    item.lParam = static_cast<LPARAM>(line);
    item.stateMask = LVIS_STATEIMAGEMASK;
    item.state = INDEXTOSTATEIMAGEMASK(lines.IsChosen(line) ? kChosenImage
                                                             : kNotChosenImage);
    ::SendMessageW(list_, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  }
  if (const std::optional<std::size_t> first = lines.scroll_target()) {
    ListView_EnsureVisible(list_, static_cast<int>(*first), FALSE);
  }
  showing_ = false;
  OnOpen();
  ShowChoice();
}

void ChoiceDialogWindow::UseWideTextFont(HWND edit) {
  // The dialog font is a bitmap font that has only the code page's
  // characters. The box holds the page's text in any script, so it takes
  // the shell's TrueType dialog font at the same height, which the system
  // links to fonts of other scripts.
  LOGFONTW font{};
  auto* dialog_font = reinterpret_cast<HFONT>(::SendMessageW(window_, WM_GETFONT, 0, 0));
  if (dialog_font == nullptr || ::GetObjectW(dialog_font, sizeof(font), &font) == 0) return;
  lstrcpynW(font.lfFaceName, L"MS Shell Dlg 2", LF_FACESIZE);
  font.lfCharSet = DEFAULT_CHARSET;
  text_font_.reset(::CreateFontIndirectW(&font));
  if (text_font_.get() != nullptr) {
    ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(text_font_.get()), FALSE);
  }
}

void ChoiceDialogWindow::Command(int control, int code) {
  switch (control) {
    case IDOK:
      if (code != BN_CLICKED) return;
      if (model_.has_text()) {
        model_.SetEditText(WindowText(::GetDlgItem(window_, IDC_TEXT)));
      }
      BeforeOk();
      if (model_.Ok()) ::EndDialog(window_, kResultOk);
      return;
    case IDCANCEL:  // the button, Escape and the close box
      model_.Cancel();
      ::EndDialog(window_, kResultCancel);
      return;
    case IDC_HELP_BUTTON:
      if (code == BN_CLICKED) model_.Help();
      return;
    default:
      OnCommand(control, code);
  }
}

void ChoiceDialogWindow::Notify(const NMHDR& header) {
  if (header.code == LVN_ITEMCHANGED) {
    if (showing_) return;
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    if ((change.uChanged & LVIF_STATE) == 0) return;
    std::optional<std::size_t> line;
    if (change.iItem >= 0) line = static_cast<std::size_t>(change.lParam);
    model_.list().OnItemChanged(line);
    ShowChoice();
  } else if (header.code == NM_DBLCLK) {
    // The point of the click itself, not the cursor's position now: the two
    // differ when the click was a posted message.
    const auto& click = reinterpret_cast<const NMITEMACTIVATE&>(header);
    LVHITTESTINFO hit{};
    hit.pt = click.ptAction;
    const int row = ListView_HitTest(list_, &hit);
    if (row < 0 || (hit.flags & LVHT_ONITEM) == 0) return;
    model_.list().OnDoubleClick(LineOfRow(row));
    ShowChoice();
  }
}

std::optional<std::size_t> ChoiceDialogWindow::LineOfRow(int row) const {
  LVITEMW item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  if (!::SendMessageW(list_, LVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) {
    return std::nullopt;
  }
  return static_cast<std::size_t>(item.lParam);
}

void ChoiceDialogWindow::ShowChoice() {
  showing_ = true;
  const SiteChoiceList& lines = model_.list();
  const int rows = ListView_GetItemCount(list_);
  for (int row = 0; row < rows; ++row) {
    const std::optional<std::size_t> line = LineOfRow(row);
    if (!line || *line >= lines.size()) continue;
    ListView_SetItemState(
        list_, row,
        INDEXTOSTATEIMAGEMASK(lines.IsChosen(*line) ? kChosenImage : kNotChosenImage),
        LVIS_STATEIMAGEMASK);
  }
  showing_ = false;
  SetControlText(window_, IDC_STATUS_LINE,
                 model_.code_page().ToWide(lines.status_line()));
}

}  // namespace qm
