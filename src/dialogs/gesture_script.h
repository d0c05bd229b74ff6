// A person's gestures on a dialog, written as text so that scripts and tests
// can play them:
//   "toggle 3; text 0306406152; ok"
// Gestures are separated by ";" or line breaks, so a file of answers may
// hold one gesture per line. A gesture is a word, then an optional
// argument: the rest of the gesture with blanks around it removed, or a text
// in double quotes (where \" and \\ stand for " and \). Arguments are UTF-8.
//
// Choice dialogs: toggle N (double-click line N, counted from 1),
// highlight N (a single click), text T (the edit box), ok, cancel, help.
// The currency dialog adds amount T (the same as text), from CODE, to CODE.
// The converter: category NAME, from NAME, to NAME (a name as listed, or
// its line number counted from 1), amount T, calculate, ok, cancel, help.
// The about dialog: ok, cancel, help, customize, home.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"

namespace qm {

struct Gesture {
  std::string word;
  std::string argument;
};

// Splits a script into gestures. On a malformed script (an unterminated
// quote) returns false and describes the fault in *error.
bool ParseGestures(std::string_view script, std::vector<Gesture>* gestures,
                   std::string* error);

// Plays gestures on an open dialog until the script ends or the dialog
// ends; gestures after the end are not played. Returns false, with a
// description in *error, at the first gesture the dialog does not know or
// whose argument does not fit (a line that does not exist, an unknown
// currency code); the gestures before it have been played.
bool PlayGestures(ChoiceDialog& dialog, const std::vector<Gesture>& gestures,
                  std::string* error);
bool PlayGestures(CAskCurrencyDlg& dialog,
                  const std::vector<Gesture>& gestures, std::string* error);
bool PlayGestures(CAskConvertDlg& dialog,
                  const std::vector<Gesture>& gestures, std::string* error);
bool PlayGestures(CAboutDlg& dialog, const std::vector<Gesture>& gestures,
                  std::string* error);

}  // namespace qm
