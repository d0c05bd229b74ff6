// The currency dialog as a window: the amount, the "From:" and "To:" boxes
// and the site list, over template 229.
#pragma once

#include <windows.h>

#include "dialogs/ask_currency_dlg.h"

namespace qm {

// Opens the model and shows it modally, owned by `owner`; the model holds
// the outcome. Each box lists every currency of the model, sorted by the
// box itself, with the row's currency attached to it.
void RunCurrencyDialog(HWND owner, CAskCurrencyDlg& dialog);

}  // namespace qm
