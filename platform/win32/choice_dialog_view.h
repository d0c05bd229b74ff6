// The category dialogs as windows: each ChoiceDialog model over its own
// template (its texts().template_id).
#pragma once

#include <windows.h>

#include "dialogs/choice_dialog.h"

namespace qm {

// Opens the model and shows it modally, owned by `owner`, until OK passes
// the model's checks or the user cancels; the model holds the outcome. A
// template that cannot be shown leaves the model cancelled.
void RunChoiceDialog(HWND owner, ChoiceDialog& dialog);

}  // namespace qm
