// A DialogHost that plays each dialog from a script of gestures and records
// what each dialog showed.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"
#include "dialogs/gesture_script.h"
#include "host/dialog_host.h"

namespace qm {

class FakeDialogHost final : public DialogHost {
 public:
  // Every dialog run, first first: its owner and, for the choice and
  // currency dialogs, what the view would show around the list.
  struct ShownDialog {
    WindowHandle owner;
    ChoiceDialogTexts texts;
  };
  std::vector<ShownDialog> shown;

  // Plays the user's part in the converter; without it the dialog is run
  // and left as it opened.
  std::function<void(CAskConvertDlg&)> convert_script;
  int dialogs_run = 0;

  // Gesture scripts for the next choice, currency and about dialogs, one
  // per dialog, first first (see dialogs/gesture_script.h). A dialog with
  // no script left, or still open after its script, is cancelled. A script
  // the dialog cannot play fails the test through `script_errors`.
  std::deque<std::string> scripts;
  std::vector<std::string> script_errors;
  // The dialogs as they were when their scripts ended.
  std::vector<std::u16string> dialog_texts;

  void RunConvertDialog(WindowHandle owner, CAskConvertDlg& dialog) override {
    shown.push_back({owner, {}});
    ++dialogs_run;
    if (convert_script) convert_script(dialog);
  }
  void RunChoiceDialog(WindowHandle owner, ChoiceDialog& dialog) override {
    shown.push_back({owner, dialog.texts()});
    dialog.Open();
    Play(dialog);
    dialog_texts.push_back(dialog.text());
  }
  void RunCurrencyDialog(WindowHandle owner, CAskCurrencyDlg& dialog) override {
    shown.push_back({owner, dialog.texts()});
    dialog.Open();
    Play(dialog);
  }
  void RunAboutDialog(WindowHandle owner, CAboutDlg& dialog) override {
    shown.push_back({owner, {}});
    Play(dialog);
  }

 private:
  template <typename Dialog>
  void Play(Dialog& dialog) {
    ++dialogs_run;
    if (!scripts.empty()) {
      std::vector<Gesture> gestures;
      std::string error;
      if (!ParseGestures(scripts.front(), &gestures, &error) ||
          !PlayGestures(dialog, gestures, &error)) {
        script_errors.push_back(error);
      }
      scripts.pop_front();
    }
    if (!dialog.result()) dialog.Cancel();
  }
};

}  // namespace qm
