// The dialogs as the extension shows them: the model is sent, as data, to
// the extension's dialog window, which draws it and answers with the
// person's next gesture; the gesture is played on the model and the new
// state sent again, until the model has ended. A dialog window closed by
// the person is Cancel.
#pragma once

#include "host/dialog_host.h"

namespace qm {

class ExtensionDialogs final : public DialogHost {
 public:
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override;
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override;
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override;
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override;
};

}  // namespace qm
