// qmkit-standin: a small browser for trying the module without the real
// one. It shows a page (title, address, a text with a selection, a link and
// a frame, all from the command line), offers on right-click the context
// menu entries registered for the current user, and runs a picked entry's
// script page in the system's script engine with a browser's safety
// settings. Whatever the module asks of the page is answered by the page's
// objects; windows opened and links followed are lines in a log file.
//
//   qmkit-standin [page options] [--pick TEXT] [--log FILE] ...
//
// kUsage lists the options.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "address_parts.h"
#include "menu_entries.h"
#include "menu_registry.h"
#include "page_objects.h"
#include "script_host.h"
#include "script_page.h"
#include "window_picture.h"

namespace qm::standin {
namespace {

// The terminal host's exit statuses, for the same outcomes.
constexpr int kDone = 0;
constexpr int kNothingFound = 1;  // the picked entry is not on the menu
constexpr int kBadUsage = 2;
constexpr int kActionFailed = 4;  // the entry's page or the engine failed

constexpr wchar_t kUsage[] =
    L"usage: qmkit-standin [options]\n"
    L"  --address URL          the page's address\n"
    L"  --title TEXT           the page's title\n"
    L"  --name NAME            the page window's name\n"
    L"  --text TEXT            the page's text\n"
    L"  --selection TEXT       the part of the text shown selected\n"
    L"  --link URL             a link on the page ...\n"
    L"  --link-text TEXT       ... and its text\n"
    L"  --frame-address URL    a frame on the page ...\n"
    L"  --frame-title TEXT     ... and its title\n"
    L"  --pick MENUTEXT        pick this menu entry at once, then quit\n"
    L"  --context WHERE        where the menu opens: default, selection,\n"
    L"                         anchor or frame (default: selection when the\n"
    L"                         page has one)\n"
    L"  --log FILE             append the page's events to FILE\n"
    L"  --answer-dialogs ok|cancel  press that button on each dialog\n"
    L"  --refuse-objects       the security manager refuses every object\n"
    L"  --menu-shot FILE.bmp   open the menu, take its picture, close it\n"
    L"  --dialog-shot FILE.bmp take a picture of the first dialog shown\n";

enum class Where { kAuto, kDefault, kSelection, kAnchor, kFrame };

struct Options {
  PageData page;
  PageData frame;
  std::wstring text = L"Select some text on this page and right-click it.";
  std::wstring selection;
  std::wstring pick, log, menu_shot, dialog_shot;
  bool has_pick = false;
  Where where = Where::kAuto;
  int answer = 0;  // IDOK, IDCANCEL or none
  bool refuse_objects = false;
};

std::optional<Options> ParseOptions(int argc, wchar_t** argv, std::wstring* error) {
  Options options;
  options.page.address = L"about:blank";
  for (int i = 1; i < argc; ++i) {
    const std::wstring option = argv[i];
    if (option == L"--refuse-objects") {
      options.refuse_objects = true;
      continue;
    }
    if (i + 1 >= argc) {
      *error = option + L": unknown option or missing value";
      return std::nullopt;
    }
    const std::wstring value = argv[++i];
    if (option == L"--address") options.page.address = value;
    else if (option == L"--title") options.page.title = value;
    else if (option == L"--name") options.page.name = value;
    else if (option == L"--text") options.text = value;
    else if (option == L"--selection") options.selection = value;
    else if (option == L"--link") options.page.link_href = value;
    else if (option == L"--link-text") options.page.link_text = value;
    else if (option == L"--frame-address") options.frame.address = value;
    else if (option == L"--frame-title") options.frame.title = value;
    else if (option == L"--log") options.log = value;
    else if (option == L"--menu-shot") options.menu_shot = value;
    else if (option == L"--dialog-shot") options.dialog_shot = value;
    else if (option == L"--pick") {
      options.pick = value;
      options.has_pick = true;
    } else if (option == L"--context") {
      if (value == L"default") options.where = Where::kDefault;
      else if (value == L"selection") options.where = Where::kSelection;
      else if (value == L"anchor") options.where = Where::kAnchor;
      else if (value == L"frame") options.where = Where::kFrame;
      else {
        *error = L"--context: " + value + L" is none of default, selection, anchor, frame";
        return std::nullopt;
      }
    } else if (option == L"--answer-dialogs") {
      if (value == L"ok") options.answer = IDOK;
      else if (value == L"cancel") options.answer = IDCANCEL;
      else {
        *error = L"--answer-dialogs: " + value + L" is neither ok nor cancel";
        return std::nullopt;
      }
    } else {
      *error = option + L": unknown option";
      return std::nullopt;
    }
  }
  if (!options.selection.empty() && options.text.find(options.selection) == std::wstring::npos) {
    *error = L"--selection: not part of the page's text";
    return std::nullopt;
  }
  if (options.page.link_text.empty()) options.page.link_text = options.page.link_href;
  if (options.where == Where::kAuto) {
    options.where = options.selection.empty() ? Where::kDefault : Where::kSelection;
  }
  if (options.where == Where::kAnchor && options.page.link_href.empty()) {
    *error = L"--context anchor: the page has no --link";
    return std::nullopt;
  }
  if (options.where == Where::kFrame && options.frame.address.empty()) {
    *error = L"--context frame: the page has no --frame-address";
    return std::nullopt;
  }
  return options;
}

constexpr UINT kPickMessage = WM_APP + 1;
constexpr UINT kMenuShotMessage = WM_APP + 2;
constexpr UINT_PTR kTickMs = 50;
// Ticks to wait for a window to be drawn before its picture is taken, and
// for the menu to appear at all.
constexpr int kSettleTicks = 6;
constexpr int kPatienceTicks = 200;

struct Browser {
  Options options;
  std::vector<MenuEntry> entries;
  EventLog* log = nullptr;
  HWND window = nullptr;
  HWND address_box = nullptr;
  HWND text_box = nullptr;
  HWND link_label = nullptr;
  HWND frame_pane = nullptr;
  PageView view;        // the top-level page
  PageView frame_view;  // the frame: no text of its own
  int status = kDone;
  // The menu being photographed, and the dialogs seen so far.
  int menu_ticks = -1;
  std::vector<HWND> dialogs_seen;
  int dialog_ticks = 0;
  bool dialog_shot_taken = false;
};

Browser* browser = nullptr;

// The script page's bytes: 8-bit text in the system code page.
std::optional<std::wstring> ReadScript(const std::wstring& path) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string bytes;
  char buffer[4096];
  DWORD got = 0;
  // A script page is a few lines; a huge file is not one.
  while (bytes.size() < (1u << 20) && ::ReadFile(file, buffer, sizeof buffer, &got, nullptr) &&
         got > 0) {
    bytes.append(buffer, got);
  }
  ::CloseHandle(file);
  const std::optional<std::string> script = ScriptOfPage(bytes);
  if (!script) return std::nullopt;
  if (script->empty()) return std::wstring();
  const int size = ::MultiByteToWideChar(CP_ACP, 0, script->data(),
                                         static_cast<int>(script->size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, script->data(), static_cast<int>(script->size()),
                        wide.data(), size);
  return wide;
}

MenuContext ContextOf(Where where) {
  switch (where) {
    case Where::kSelection: return MenuContext::kSelection;
    case Where::kAnchor: return MenuContext::kAnchor;
    default: return MenuContext::kDefault;
  }
}

// Runs one entry's script page on the page (or frame) under the mouse.
bool RunEntry(Browser& b, const MenuEntry& entry, Where where) {
  b.log->Write("pick", entry.text);
  const std::optional<std::wstring> path = FileOfAddress(entry.address);
  const std::optional<std::wstring> script = path ? ReadScript(*path) : std::nullopt;
  if (!script) {
    b.log->Write("no-script", entry.address);
    return false;
  }
  b.view.on_anchor = where == Where::kAnchor;
  ComPtr<IHTMLWindow2> top = MakePageWindow(b.options.page, &b.view, b.log, nullptr);
  ComPtr<IHTMLWindow2> target = top;
  if (where == Where::kFrame) {
    target = MakePageWindow(b.options.frame, &b.frame_view, b.log, top.get());
  }
  ScriptRun run;
  run.script = *script;
  run.menu_arguments = target.get();
  run.refuse_objects = b.options.refuse_objects;
  run.window = b.window;
  run.log = b.log;
  const HRESULT result = RunPageScript(run);
  if (FAILED(result)) {
    wchar_t code[16];
    std::swprintf(code, 16, L"%08lx", static_cast<unsigned long>(result));
    b.log->Write("engine-failed", code);
    return false;
  }
  b.log->Write("done", entry.text);
  return true;
}

HMENU BuildMenu(const std::vector<MenuEntry>& offered) {
  HMENU menu = ::CreatePopupMenu();
  for (std::size_t i = 0; i < offered.size(); ++i) {
    ::AppendMenuW(menu, MF_STRING, i + 1, offered[i].text.c_str());
  }
  if (offered.empty()) ::AppendMenuW(menu, MF_STRING | MF_GRAYED, 0, L"(no entries)");
  return menu;
}

void ShowMenu(Browser& b, Where where, POINT at) {
  const std::vector<MenuEntry> offered = EntriesFor(b.entries, ContextOf(where));
  HMENU menu = BuildMenu(offered);
  ::SetForegroundWindow(b.window);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenu(
      menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0,
      b.window, nullptr));
  ::DestroyMenu(menu);
  if (chosen >= 1 && chosen <= offered.size()) RunEntry(b, offered[chosen - 1], where);
}

// Where a menu opened on `control` is: the selection only when the text
// box has one.
Where WhereOf(Browser& b, HWND control) {
  if (control == b.link_label && b.link_label != nullptr) return Where::kAnchor;
  if (control == b.frame_pane && b.frame_pane != nullptr) return Where::kFrame;
  if (control == b.text_box) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(b.text_box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    return start < end ? Where::kSelection : Where::kDefault;
  }
  return Where::kDefault;
}

HWND ControlFor(Browser& b, Where where) {
  switch (where) {
    case Where::kSelection: return b.text_box;
    case Where::kAnchor: return b.link_label;
    case Where::kFrame: return b.frame_pane;
    default: return b.text_box;
  }
}

// Where a person would right-click: on the selected text, or on the
// control that stands for the place.
POINT MenuPointFor(Browser& b, Where where) {
  if (where == Where::kSelection) {
    DWORD start = 0;
    DWORD end = 0;
    ::SendMessageW(b.text_box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                   reinterpret_cast<LPARAM>(&end));
    const LRESULT at = ::SendMessageW(b.text_box, EM_POSFROMCHAR, start, 0);
    POINT point{static_cast<short>(LOWORD(at)) + 12, static_cast<short>(HIWORD(at)) + 10};
    ::ClientToScreen(b.text_box, &point);
    return point;
  }
  RECT rect{};
  ::GetWindowRect(ControlFor(b, where), &rect);
  // On the page: below the first lines of its text.
  if (where == Where::kDefault) return {rect.left + (rect.right - rect.left) / 3, rect.top + 48};
  return {rect.left + 40, rect.top + 12};
}

BOOL CALLBACK CollectDialog(HWND window, LPARAM dialogs) {
  wchar_t class_name[16] = {};
  ::GetClassNameW(window, class_name, 16);
  if (::lstrcmpW(class_name, L"#32770") == 0 && ::IsWindowVisible(window)) {
    reinterpret_cast<std::vector<HWND>*>(dialogs)->push_back(window);
  }
  return TRUE;
}

// The dialogs of this thread that the module shows: answered, and the
// first one photographed, after a few ticks to be drawn.
void CALLBACK DialogTick(HWND, UINT, UINT_PTR, DWORD) {
  Browser& b = *browser;
  std::vector<HWND> dialogs;
  ::EnumThreadWindows(::GetCurrentThreadId(), &CollectDialog,
                      reinterpret_cast<LPARAM>(&dialogs));
  if (dialogs.empty()) {
    b.dialog_ticks = 0;
    return;
  }
  HWND dialog = dialogs.front();
  bool seen = false;
  for (HWND earlier : b.dialogs_seen) seen = seen || earlier == dialog;
  if (!seen) {
    b.dialogs_seen.push_back(dialog);
    wchar_t title[256] = {};
    ::GetWindowTextW(dialog, title, 256);
    b.log->Write("dialog", title);
    b.dialog_ticks = 0;
  }
  if (++b.dialog_ticks < kSettleTicks) return;
  if (!b.options.dialog_shot.empty() && !b.dialog_shot_taken) {
    b.dialog_shot_taken = true;
    if (!SaveWindowsPicture({dialog}, b.options.dialog_shot)) {
      b.log->Write("shot-failed", b.options.dialog_shot);
    }
  }
  if (b.options.answer != 0) {
    b.log->Write("answer", b.options.answer == IDOK ? L"ok" : L"cancel");
    b.dialog_ticks = -kPatienceTicks;  // pressed once; wait for it to close
    ::SendMessageW(::GetDlgItem(dialog, b.options.answer), BM_CLICK, 0, 0);
  }
}

// While the menu is open: its picture with the page behind it, then the
// menu closes.
void CALLBACK MenuTick(HWND, UINT, UINT_PTR timer, DWORD) {
  Browser& b = *browser;
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  const bool shown = menu != nullptr && ::IsWindowVisible(menu);
  ++b.menu_ticks;
  if (!shown && b.menu_ticks < kPatienceTicks) return;
  if (shown && b.menu_ticks < kSettleTicks) return;
  // The entry about to be picked is shown under the mouse.
  if (shown && b.menu_ticks == kSettleTicks && b.options.has_pick) {
    const std::vector<MenuEntry> offered = EntriesFor(b.entries, ContextOf(b.options.where));
    for (std::size_t i = 0; i < offered.size(); ++i) {
      if (offered[i].text != b.options.pick) continue;
      // As a person would: one arrow key to the first item, one per item.
      for (std::size_t step = 0; step <= i; ++step) {
        ::PostMessageW(b.window, WM_KEYDOWN, VK_DOWN, 1);
        ::PostMessageW(b.window, WM_KEYUP, VK_DOWN, 0xC0000001);
      }
    }
    return;
  }
  ::KillTimer(nullptr, timer);
  if (!shown || !SaveWindowsPicture({b.window, menu}, b.options.menu_shot)) {
    b.log->Write("shot-failed", b.options.menu_shot);
    b.status = kActionFailed;
  }
  ::EndMenu();
}

LRESULT CALLBACK ForwardContextMenu(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                                    UINT_PTR, DWORD_PTR) {
  // The edit control would show its own Cut/Copy/Paste menu.
  if (message == WM_CONTEXTMENU) {
    return ::SendMessageW(::GetParent(window), WM_CONTEXTMENU,
                          reinterpret_cast<WPARAM>(window), lparam);
  }
  return ::DefSubclassProc(window, message, wparam, lparam);
}

void Layout(Browser& b) {
  RECT client{};
  ::GetClientRect(b.window, &client);
  const int width = client.right - 16;
  int y = 8;
  ::MoveWindow(b.address_box, 8, y, width, 24, TRUE);
  y += 32;
  int text_height = client.bottom - y - 8;
  if (b.link_label != nullptr) text_height -= 32;
  if (b.frame_pane != nullptr) text_height -= 88;
  ::MoveWindow(b.text_box, 8, y, width, text_height > 40 ? text_height : 40, TRUE);
  y += (text_height > 40 ? text_height : 40) + 8;
  if (b.link_label != nullptr) {
    ::MoveWindow(b.link_label, 8, y, width, 24, TRUE);
    y += 32;
  }
  if (b.frame_pane != nullptr) ::MoveWindow(b.frame_pane, 8, y, width, 80, TRUE);
}

LRESULT CALLBACK PageProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  Browser* b = browser;
  switch (message) {
    case WM_SIZE:
      if (b != nullptr && b->text_box != nullptr) Layout(*b);
      return 0;
    case WM_CONTEXTMENU: {
      const Where where = WhereOf(*b, reinterpret_cast<HWND>(wparam));
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      if (lparam == -1) at = MenuPointFor(*b, where);
      ShowMenu(*b, where, at);
      return 0;
    }
    case WM_CTLCOLORSTATIC:
      if (b != nullptr && reinterpret_cast<HWND>(lparam) == b->link_label) {
        ::SetTextColor(reinterpret_cast<HDC>(wparam), RGB(0, 0, 204));
        ::SetBkMode(reinterpret_cast<HDC>(wparam), TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_WINDOW));
      }
      break;
    case kPickMessage: {
      const std::vector<MenuEntry> offered = EntriesFor(b->entries, ContextOf(b->options.where));
      const MenuEntry* chosen = nullptr;
      for (const MenuEntry& entry : offered) {
        if (entry.text == b->options.pick) chosen = &entry;
      }
      if (chosen == nullptr) {
        b->log->Write("not-offered", b->options.pick);
        b->status = kNothingFound;
      } else if (!RunEntry(*b, *chosen, b->options.where)) {
        b->status = kActionFailed;
      }
      ::DestroyWindow(window);
      return 0;
    }
    case kMenuShotMessage:
      b->menu_ticks = 0;
      ::SetTimer(nullptr, 0, kTickMs, &MenuTick);
      ShowMenu(*b, b->options.where, MenuPointFor(*b, b->options.where));
      if (b->options.has_pick) {
        ::PostMessageW(window, kPickMessage, 0, 0);
      } else {
        ::DestroyWindow(window);
      }
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(window, message, wparam, lparam);
}

HWND MakeControl(HWND parent, const wchar_t* kind, DWORD style, DWORD ex_style,
                 const std::wstring& text) {
  HWND control = ::CreateWindowExW(ex_style, kind, text.c_str(), WS_CHILD | WS_VISIBLE | style,
                                   0, 0, 10, 10, parent, nullptr, ::GetModuleHandleW(nullptr),
                                   nullptr);
  ::SendMessageW(control, WM_SETFONT,
                 reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);
  return control;
}

bool OpenWindow(Browser& b) {
  WNDCLASSW page_class{};
  page_class.lpfnWndProc = PageProc;
  page_class.hInstance = ::GetModuleHandleW(nullptr);
  page_class.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  page_class.hbrBackground = ::GetSysColorBrush(COLOR_WINDOW);
  page_class.lpszClassName = L"QmkitStandinPage";
  if (::RegisterClassW(&page_class) == 0) return false;

  const std::wstring caption =
      (b.options.page.title.empty() ? b.options.page.address : b.options.page.title) +
      L" - page stand-in";
  b.window = ::CreateWindowExW(0, page_class.lpszClassName, caption.c_str(),
                               WS_OVERLAPPEDWINDOW, 40, 40, 640, 360, nullptr, nullptr,
                               page_class.hInstance, nullptr);
  if (b.window == nullptr) return false;
  b.address_box = MakeControl(b.window, L"EDIT", ES_AUTOHSCROLL | ES_READONLY, WS_EX_CLIENTEDGE,
                              b.options.page.address);
  b.text_box = MakeControl(b.window, L"EDIT",
                           ES_MULTILINE | ES_READONLY | ES_NOHIDESEL | WS_VSCROLL,
                           WS_EX_CLIENTEDGE, b.options.text);
  ::SetWindowSubclass(b.text_box, ForwardContextMenu, 1, 0);
  ::SetWindowSubclass(b.address_box, ForwardContextMenu, 1, 0);
  if (!b.options.page.link_href.empty()) {
    b.link_label = MakeControl(b.window, L"STATIC", SS_NOTIFY, 0, b.options.page.link_text);
  }
  if (!b.options.frame.address.empty()) {
    b.frame_pane = MakeControl(b.window, L"STATIC", SS_NOTIFY, WS_EX_CLIENTEDGE,
                               L"Frame: " + b.options.frame.title + L"\r\n" +
                                   b.options.frame.address);
  }
  if (!b.options.selection.empty()) {
    const std::size_t at = b.options.text.find(b.options.selection);
    ::SendMessageW(b.text_box, EM_SETSEL, at, at + b.options.selection.size());
  }
  b.view.frame = b.window;
  b.view.text_box = b.text_box;
  b.frame_view.frame = b.window;
  Layout(b);
  ::ShowWindow(b.window, SW_SHOW);
  ::UpdateWindow(b.window);
  ::SetFocus(b.text_box);
  return true;
}

int Run(int argc, wchar_t** argv) {
  std::wstring error;
  std::optional<Options> options = ParseOptions(argc, argv, &error);
  if (!options) {
    std::fwprintf(stderr, L"qmkit-standin: %ls\n%ls", error.c_str(), kUsage);
    return kBadUsage;
  }
  EventLog log(options->log);
  if (!log.ok()) {
    std::fwprintf(stderr, L"qmkit-standin: cannot write the log %ls\n", options->log.c_str());
    return kBadUsage;
  }
  Browser b;
  b.options = std::move(*options);
  b.entries = ReadMenuEntries();
  b.log = &log;
  browser = &b;

  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  if (FAILED(::OleInitialize(nullptr))) return kActionFailed;
  int status = kDone;
  if (!OpenWindow(b)) {
    status = kActionFailed;
  } else {
    if (b.options.answer != 0 || !b.options.dialog_shot.empty()) {
      ::SetTimer(nullptr, 0, kTickMs, &DialogTick);
    }
    if (!b.options.menu_shot.empty()) {
      ::PostMessageW(b.window, kMenuShotMessage, 0, 0);
    } else if (b.options.has_pick) {
      ::PostMessageW(b.window, kPickMessage, 0, 0);
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    status = b.status;
  }
  browser = nullptr;
  ::OleUninitialize();
  return status;
}

}  // namespace
}  // namespace qm::standin

int wmain(int argc, wchar_t** argv) { return qm::standin::Run(argc, argv); }
