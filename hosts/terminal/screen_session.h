// The terminal taken over for full-screen dialogs: the one place that
// talks to the curses library. While a session is open the terminal is in
// its screen mode; closing it (or destroying it, on any way out, an
// exception included) gives the terminal back as it was. SIGINT, SIGTERM,
// SIGHUP and SIGQUIT give it back too, and then end the program as the
// signal would have.
#pragma once

#include <memory>
#include <string>

#include "screen_keys.h"
#include "screen_text.h"

namespace qm {

enum class ScreenStyle { kNormal, kTitle, kFocused, kChosen, kDim, kFrame };

class ScreenSession {
 public:
  // Takes over the terminal on standard input and output. Returns null,
  // with the reason in *why_not, when TERM is unset, unknown or "dumb",
  // when no UTF-8 locale is available, or when the library cannot start;
  // the terminal is then untouched.
  static std::unique_ptr<ScreenSession> Open(std::string* why_not);

  ~ScreenSession();
  ScreenSession(const ScreenSession&) = delete;
  ScreenSession& operator=(const ScreenSession&) = delete;

  int rows() const;
  int columns() const;

  // Starts a new picture: everything blank.
  void Clear();
  // Draws `line` at row `y`, column `x`, cut at the right edge (or at
  // `x + width` when width >= 0); a line drawn outside the screen is left
  // out. Returns the columns drawn.
  int Draw(int y, int x, const ScreenLine& line, ScreenStyle style, int width = -1);
  // The same for text from anywhere: made safe and measured first.
  int Draw(int y, int x, std::string_view utf8, ScreenStyle style, int width = -1);
  // Fills `width` columns of row `y` from `x` with blanks in `style`.
  void Fill(int y, int x, int width, ScreenStyle style);
  // A horizontal line of `width` columns from row `y`, column `x`.
  void Rule(int y, int x, int width);
  // A frame of lines around the rectangle (inclusive corners).
  void Frame(int top, int left, int bottom, int right);
  // Where the caret shows; hidden when `visible` is false.
  void PlaceCaret(int y, int x, bool visible);
  // Shows what was drawn.
  void Show();

  // Waits for the next key. A resize of the terminal comes as kResize.
  ScreenKey ReadKey();

 private:
  ScreenSession() = default;
  void Close();

  std::string saved_locale_;
  void* screen_ = nullptr;  // the library's SCREEN
  bool open_ = false;
};

}  // namespace qm
