// The keys the full-screen dialogs act on, apart from the terminal library
// that reads them, so that the editing and list rules can be tested alone.
#pragma once

namespace qm {

struct ScreenKey {
  enum Code {
    kNone,       // nothing typed before the wait ended
    kCharacter,  // a printable character, in `character`
    kUp, kDown, kLeft, kRight, kHome, kEnd, kPageUp, kPageDown,
    kTab, kBackTab, kEnter, kEscape, kBackspace, kDelete, kF1,
    kF4,         // opens a drop-down list, as in Windows
    kResize,     // the terminal changed its size: draw again
  };
  Code code = kNone;
  char32_t character = 0;
};

}  // namespace qm
