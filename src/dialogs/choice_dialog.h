// The behaviour every choice dialog shares: an optional text to look up, the
// site list, and OK, Cancel and Help. Views show a ChoiceDialog and forward
// the user's gestures to it; every rule lives here.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "context/request_context.h"
#include "dialogs/site_choice_list.h"
#include "host/code_page.h"
#include "host/desktop.h"
#include "recognisers/input_check.h"

namespace qm {

// Dialog results, as the control ids that end a dialog.
inline constexpr int kResultOk = 1;
inline constexpr int kResultCancel = 2;

// The control that has the keyboard focus, where a rule moves it.
enum class DialogFocus { kOkButton, kList, kEditBox };

// What a view shows besides the list: texts are wide, ready for display.
struct ChoiceDialogTexts {
  int template_id = 0;
  std::u16string group_caption;  // the frame around the edit box (202)
  std::u16string prompt;         // above the list (223)
  std::string help_topic;        // such as "HelpISBN.htm"
};

class ChoiceDialog {
 public:
  // `text` is the text offered for a dialog with an edit box; dialogs
  // without one pass std::nullopt. The entries belong to the flow; the
  // dialog changes only their `selected` flags.
  ChoiceDialog(RequestContext& context, Desktop& desktop,
               const CodePage& code_page, SiteEntryList& entries,
               std::optional<std::u16string> text, ChoiceDialogTexts texts);
  virtual ~ChoiceDialog() = default;
  ChoiceDialog(const ChoiceDialog&) = delete;
  ChoiceDialog& operator=(const ChoiceDialog&) = delete;

  // Told where a rule moved the focus, before any message the rule shows,
  // so that a window can move its own focus while the box is still to come.
  using FocusListener = std::function<void(DialogFocus)>;

  // The view's own window, owner of the dialog's message boxes, and the
  // view's listener of focus moves (none: the view reads focus() itself).
  void AttachWindow(WindowHandle window, FocusListener on_focus = {}) {
    window_ = window;
    on_focus_ = std::move(on_focus);
  }

  // Opening: the text goes into the edit box, the list is populated, and
  // the focus starts on OK, so Enter confirms what was offered.
  virtual void Open();

  // OK: reads the edit box (at most 1023 UTF-16 units, never half a
  // surrogate pair), checks the text, then the choice; closes with result 1
  // only when both pass. Returns whether the dialog closed.
  virtual bool Ok();
  void Cancel() { result_ = kResultCancel; }
  // Opens the dialog's help topic; the dialog stays open.
  void Help();

  bool has_text() const { return edit_text_.has_value(); }
  // The edit box's content, wide like the page's text, so a selection in
  // any script reaches the sites whole. Views show it and write back what
  // the user typed, unconverted: the terminal as UTF-8, a window as a
  // Unicode edit control.
  const std::u16string& edit_text() const;
  void SetEditText(std::u16string text);

  SiteChoiceList& list() { return list_; }
  const SiteChoiceList& list() const { return list_; }
  const ChoiceDialogTexts& texts() const { return texts_; }
  // The code page of the catalogue's 8-bit texts that the list shows.
  const CodePage& code_page() const { return code_page_; }
  DialogFocus focus() const { return focus_; }
  // kResultOk or kResultCancel once the dialog has ended.
  std::optional<int> result() const { return result_; }
  // The confirmed text after OK (the offered text before).
  const std::u16string& text() const { return text_; }

  // Checks the text on OK and may rewrite it into its normal form. The
  // shared default accepts every text unchanged.
  virtual InputCheck ValidateInput(const std::u16string& text);

 protected:
  // Shows string `message` owned by the dialog, with the exclamation icon.
  void ShowMessage(int message);
  void SetFocus(DialogFocus focus);
  void End(int result) { result_ = result; }
  // Reads the edit box as OK does: at most 1023 UTF-16 units; a surrogate
  // pair that would straddle the limit is left out whole.
  std::u16string ReadEditBox() const;
  // Runs the text check and the choice check, in that order.
  bool CheckTextAndChoice(const std::u16string& text);

  RequestContext& context_;
  Desktop& desktop_;

 private:
  const CodePage& code_page_;
  SiteChoiceList list_;
  std::optional<std::u16string> edit_text_;
  std::u16string text_;
  ChoiceDialogTexts texts_;
  WindowHandle window_ = 0;
  FocusListener on_focus_;
  DialogFocus focus_ = DialogFocus::kOkButton;
  std::optional<int> result_;
};

}  // namespace qm
