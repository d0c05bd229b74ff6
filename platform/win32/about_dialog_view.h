// The about and configure dialog as a window over template 105.
#pragma once

#include <windows.h>

#include "dialogs/about_dlg.h"

namespace qm {

// Shows the dialog modally, owned by `owner`, with the focus on OK, until
// OK, Escape or Home Page ends it; the model holds which. Help and
// Customization leave it open.
void RunAboutDialog(HWND owner, CAboutDlg& dialog);

}  // namespace qm
