#include "choice_dialog_view.h"

#include "choice_dialog_window.h"

namespace qm {

void RunChoiceDialog(HWND owner, ChoiceDialog& dialog) {
  ChoiceDialogWindow(dialog).Run(owner);
}

}  // namespace qm
