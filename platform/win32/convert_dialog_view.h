// The converter as a window over template 231.
#pragma once

#include <windows.h>

#include "dialogs/ask_convert_dlg.h"

namespace qm {

// Opens the model and shows it modally, owned by `owner`, until OK or
// Escape; the model holds the outcome. The three lists sort their rows
// themselves; each row carries the index of its entry in the model's list,
// so a choice reaches the model whatever order the control keeps.
void RunConvertDialog(HWND owner, CAskConvertDlg& dialog);

}  // namespace qm
