#include "dialogs/choice_dialog.h"

#include "dialogs/help_topic.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// The edit boxes are read into a buffer of 1024 characters.
constexpr std::size_t kEditBoxLimit = 1023;

}  // namespace

ChoiceDialog::ChoiceDialog(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::optional<std::u16string> text,
                           ChoiceDialogTexts texts)
    : context_(context),
      desktop_(desktop),
      code_page_(code_page),
      list_(entries),
      text_(text.value_or(u"")),
      texts_(std::move(texts)) {
  if (text) edit_text_.emplace();
}

void ChoiceDialog::Open() {
  if (edit_text_) *edit_text_ = code_page_.ToNarrow(text_);
  list_.Populate();
  focus_ = DialogFocus::kOkButton;
}

const std::string& ChoiceDialog::edit_text() const {
  static const std::string kNone;
  return edit_text_ ? *edit_text_ : kNone;
}

void ChoiceDialog::SetEditText(std::string text) {
  if (edit_text_) *edit_text_ = std::move(text);
}

std::u16string ChoiceDialog::ReadEditBox() const {
  const std::string& box = edit_text();
  return code_page_.ToWide(std::string_view(box).substr(0, kEditBoxLimit));
}

bool ChoiceDialog::Ok() {
  if (edit_text_) {
    text_ = ReadEditBox();
  }
  if (!CheckTextAndChoice(text_)) return false;
  End(kResultOk);
  return true;
}

bool ChoiceDialog::CheckTextAndChoice(const std::u16string& text) {
  if (edit_text_) {
    InputCheck check = ValidateInput(text);
    if (!check.accepted) {
      focus_ = DialogFocus::kEditBox;
      ShowMessage(check.message);
      return false;
    }
    text_ = std::move(check.text);
  }
  if (!list_.ConfirmChoice(desktop_, window_)) {
    focus_ = DialogFocus::kList;
    return false;
  }
  return true;
}

void ChoiceDialog::Help() { OpenHelpTopic(context_, desktop_, texts_.help_topic); }

InputCheck ChoiceDialog::ValidateInput(const std::u16string& text) {
  return InputCheck::Accept(text);
}

void ChoiceDialog::ShowMessage(int message) {
  ShowStringMessage(desktop_, window_, message, kStringProductName,
                    MessageStyle{});
}

}  // namespace qm
