// Dialogs drawn as text for the terminal, and their contents as logged
// fields.
#pragma once

#include <ostream>

#include "action_log.h"
#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"

namespace qm {

// Draws the dialog: title, the framed text, the prompt, the numbered list
// with its check marks, the status line and the buttons, then the gestures
// it takes.
void DrawDialog(const ChoiceDialog& dialog, std::ostream& out);
void DrawDialog(const CAskCurrencyDlg& dialog, std::ostream& out);
void DrawDialog(const CAskConvertDlg& dialog, std::ostream& out);
void DrawDialog(const CAboutDlg& dialog, std::ostream& out);

// The dialog's contents and result as a "dialog" event.
void LogDialog(const ChoiceDialog& dialog, ActionLog& log);
void LogDialog(const CAskCurrencyDlg& dialog, ActionLog& log);
void LogDialog(const CAskConvertDlg& dialog, ActionLog& log);
void LogDialog(const CAboutDlg& dialog, ActionLog& log);

}  // namespace qm
