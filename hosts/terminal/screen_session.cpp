#include "screen_session.h"

#ifndef NCURSES_WIDECHAR
#define NCURSES_WIDECHAR 1
#endif
#include <curses.h>
#include <langinfo.h>

#include <algorithm>
#include <clocale>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iostream>

namespace qm {
namespace {

// The signals that end the program; the terminal is given back first.
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};

volatile std::sig_atomic_t g_pending_signal = 0;
struct sigaction g_previous[std::size(kEndingSignals)];
ScreenSession* g_open_session = nullptr;
std::terminate_handler g_previous_terminate = nullptr;

extern "C" void NoteSignal(int signal) { g_pending_signal = signal; }

struct KeyName {
  int curses;
  ScreenKey::Code code;
};
constexpr KeyName kKeys[] = {
    {KEY_UP, ScreenKey::kUp},         {KEY_DOWN, ScreenKey::kDown},
    {KEY_LEFT, ScreenKey::kLeft},     {KEY_RIGHT, ScreenKey::kRight},
    {KEY_HOME, ScreenKey::kHome},     {KEY_END, ScreenKey::kEnd},
    {KEY_PPAGE, ScreenKey::kPageUp},  {KEY_NPAGE, ScreenKey::kPageDown},
    {KEY_BTAB, ScreenKey::kBackTab},  {KEY_ENTER, ScreenKey::kEnter},
    {KEY_BACKSPACE, ScreenKey::kBackspace}, {KEY_DC, ScreenKey::kDelete},
    {KEY_F(1), ScreenKey::kF1},       {KEY_F(4), ScreenKey::kF4},
    {KEY_RESIZE, ScreenKey::kResize},
    {KEY_A1, ScreenKey::kHome},       {KEY_C1, ScreenKey::kEnd},
    {KEY_A3, ScreenKey::kPageUp},     {KEY_C3, ScreenKey::kPageDown},
};
// Control characters that are keys of their own.
constexpr KeyName kControlKeys[] = {
    {'\t', ScreenKey::kTab},  {'\r', ScreenKey::kEnter},    {'\n', ScreenKey::kEnter},
    {27, ScreenKey::kEscape}, {127, ScreenKey::kBackspace}, {8, ScreenKey::kBackspace},
};

attr_t Attributes(ScreenStyle style) {
  switch (style) {
    case ScreenStyle::kNormal: return A_NORMAL;
    case ScreenStyle::kTitle: return A_REVERSE | A_BOLD;
    case ScreenStyle::kFocused: return A_REVERSE;
    case ScreenStyle::kChosen: return A_BOLD;
    case ScreenStyle::kDim: return A_DIM;
    case ScreenStyle::kFrame: return A_NORMAL;
  }
  return A_NORMAL;
}

bool IsUtf8Locale() {
  const char* codeset = ::nl_langinfo(CODESET);
  return codeset != nullptr && std::strcmp(codeset, "UTF-8") == 0;
}

// Ends the program as `signal` would have, the terminal given back.
[[noreturn]] void EndBySignal(int signal) {
  std::signal(signal, SIG_DFL);
  std::raise(signal);
  std::_Exit(128 + signal);
}

}  // namespace

std::unique_ptr<ScreenSession> ScreenSession::Open(std::string* why_not) {
  const char* term = std::getenv("TERM");
  if (term == nullptr || *term == '\0' || std::strcmp(term, "dumb") == 0) {
    *why_not = term == nullptr || *term == '\0' ? "TERM is not set" : "TERM is dumb";
    return nullptr;
  }
  std::unique_ptr<ScreenSession> session(new ScreenSession());
  const char* current = std::setlocale(LC_CTYPE, nullptr);
  session->saved_locale_ = current != nullptr ? current : "C";
  // The screen draws UTF-8, as everything else qmkit writes; the user's
  // own locale first, for its character widths.
  if (std::setlocale(LC_CTYPE, "") == nullptr || !IsUtf8Locale()) {
    if (std::setlocale(LC_CTYPE, "C.UTF-8") == nullptr || !IsUtf8Locale()) {
      std::setlocale(LC_CTYPE, session->saved_locale_.c_str());
      *why_not = "no UTF-8 locale";
      return nullptr;
    }
  }
  std::cout.flush();
  std::fflush(stdout);
  // Ours before the library starts, so that it leaves these signals to us.
  g_pending_signal = 0;
  for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    ::sigaction(kEndingSignals[i], &action, &g_previous[i]);
    // A signal the program was started to ignore (nohup) stays ignored.
    if (g_previous[i].sa_handler == SIG_IGN) ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
  }
  SCREEN* screen = newterm(term, stdout, stdin);
  if (screen == nullptr) {
    for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
      ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
    }
    std::setlocale(LC_CTYPE, session->saved_locale_.c_str());
    *why_not = std::string("the terminal type \"") + term + "\" is unknown";
    return nullptr;
  }
  session->screen_ = screen;
  session->open_ = true;
  g_open_session = session.get();
  g_previous_terminate = std::set_terminate([] {
    if (g_open_session != nullptr) g_open_session->Close();
    if (g_previous_terminate != nullptr) g_previous_terminate();
    std::abort();
  });
  set_escdelay(60);
  cbreak();
  noecho();
  nonl();
  keypad(stdscr, TRUE);
  timeout(100);
  curs_set(0);
  return session;
}

ScreenSession::~ScreenSession() { Close(); }

void ScreenSession::Close() {
  if (!open_) return;
  open_ = false;
  curs_set(1);
  endwin();
  delscreen(static_cast<SCREEN*>(screen_));
  screen_ = nullptr;
  std::fflush(stdout);
  for (std::size_t i = 0; i < std::size(kEndingSignals); ++i) {
    ::sigaction(kEndingSignals[i], &g_previous[i], nullptr);
  }
  std::set_terminate(g_previous_terminate);
  g_open_session = nullptr;
  std::setlocale(LC_CTYPE, saved_locale_.c_str());
  if (g_pending_signal != 0) EndBySignal(g_pending_signal);
}

int ScreenSession::rows() const { return LINES; }
int ScreenSession::columns() const { return COLS; }

void ScreenSession::Clear() { erase(); }

int ScreenSession::Draw(int y, int x, const ScreenLine& line, ScreenStyle style, int width) {
  if (y < 0 || y >= LINES || x < 0 || x >= COLS) return 0;
  const int room = width >= 0 ? std::min(width, COLS - x) : COLS - x;
  if (line.columns <= room) {
    attrset(Attributes(style));
    mvaddnwstr(y, x, line.text.c_str(), static_cast<int>(line.text.size()));
    attrset(A_NORMAL);
    return line.columns;
  }
  return Draw(y, x, FitToWidth(Utf8FromWide(line.text), room), style, room);
}

int ScreenSession::Draw(int y, int x, std::string_view utf8, ScreenStyle style, int width) {
  const int room = width >= 0 ? std::min(width, COLS - x) : COLS - x;
  return Draw(y, x, FitToWidth(utf8, room), style, room);
}

void ScreenSession::Fill(int y, int x, int width, ScreenStyle style) {
  if (y < 0 || y >= LINES || x < 0 || x >= COLS) return;
  attrset(Attributes(style));
  mvhline(y, x, ' ', std::min(width, COLS - x));
  attrset(A_NORMAL);
}

void ScreenSession::Rule(int y, int x, int width) {
  if (y < 0 || y >= LINES || x < 0 || x >= COLS || width <= 0) return;
  mvhline(y, x, ACS_HLINE, std::min(width, COLS - x));
}

void ScreenSession::Frame(int top, int left, int bottom, int right) {
  if (bottom <= top || right <= left) return;
  mvhline(top, left + 1, ACS_HLINE, right - left - 1);
  mvhline(bottom, left + 1, ACS_HLINE, right - left - 1);
  mvvline(top + 1, left, ACS_VLINE, bottom - top - 1);
  mvvline(top + 1, right, ACS_VLINE, bottom - top - 1);
  mvaddch(top, left, ACS_ULCORNER);
  mvaddch(top, right, ACS_URCORNER);
  mvaddch(bottom, left, ACS_LLCORNER);
  mvaddch(bottom, right, ACS_LRCORNER);
}

void ScreenSession::PlaceCaret(int y, int x, bool visible) {
  curs_set(visible ? 1 : 0);
  if (visible) move(y, x);
}

void ScreenSession::Show() { refresh(); }

ScreenKey ScreenSession::ReadKey() {
  while (true) {
    wint_t c = 0;
    const int kind = get_wch(&c);
    if (g_pending_signal != 0) Close();  // ends the program
    if (kind == ERR) continue;
    if (kind == KEY_CODE_YES) {
      for (const KeyName& key : kKeys) {
        if (key.curses == static_cast<int>(c)) return {key.code, 0};
      }
      continue;
    }
    for (const KeyName& key : kControlKeys) {
      if (key.curses == static_cast<int>(c)) return {key.code, 0};
    }
    // Other control characters do nothing; text is text.
    if (c < 0x20 || (c >= 0x7F && c < 0xA0)) continue;
    return {ScreenKey::kCharacter, static_cast<char32_t>(c)};
  }
}

}  // namespace qm
