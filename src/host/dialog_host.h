// The port that shows the dialog models: each runs modally in the host's
// own view and hands the user's gestures to its model.
#pragma once

#include "host/browser_window.h"

namespace qm {

class CAboutDlg;
class CAskConvertDlg;
class CAskCurrencyDlg;
class ChoiceDialog;

class DialogHost {
 public:
  virtual ~DialogHost() = default;

  // Each shows its model modally, owned by `owner`, forwards the user's
  // gestures to it and returns when the model has ended; the model holds
  // the outcome.
  virtual void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) = 0;
  virtual void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) = 0;
  virtual void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) = 0;
  virtual void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) = 0;
};

// A DialogHost that passes every call to another, so that a wrapper
// overrides only the calls it changes.
// REQUIRES: `target` outlives the wrapper.
class DialogHostWrapper : public DialogHost {
 public:
  explicit DialogHostWrapper(DialogHost* target) : target_(target) {}

  DialogHost* target() const { return target_; }

  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override {
    target_->RunChoiceDialog(owner, dialog);
  }
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override {
    target_->RunCurrencyDialog(owner, dialog);
  }
  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override {
    target_->RunConvertDialog(owner, dialog);
  }
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override {
    target_->RunAboutDialog(owner, dialog);
  }

 private:
  DialogHost* target_;
};

}  // namespace qm
