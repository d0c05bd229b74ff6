// The dialogs of the Windows module: each model shown in its own window over
// the templates that the module carries in its resources.
#pragma once

#include "host/dialog_host.h"

namespace qm {

// `owner` is the window handle of the owner (the browser's frame), or 0.
class Win32DialogHost final : public DialogHost {
 public:
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override;
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override;
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override;
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override;
};

}  // namespace qm
