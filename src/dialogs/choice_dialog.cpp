#include "dialogs/choice_dialog.h"

#include "dialogs/help_topic.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// The edit boxes are read into a buffer of 1024 UTF-16 units.
constexpr std::size_t kEditBoxLimit = 1023;

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

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
  if (edit_text_) *edit_text_ = text_;
  list_.Populate();
  focus_ = DialogFocus::kOkButton;
}

const std::u16string& ChoiceDialog::edit_text() const {
  static const std::u16string kNone;
  return edit_text_ ? *edit_text_ : kNone;
}

void ChoiceDialog::SetEditText(std::u16string text) {
  if (edit_text_) *edit_text_ = std::move(text);
}

std::u16string ChoiceDialog::ReadEditBox() const {
  const std::u16string& box = edit_text();
  if (box.size() <= kEditBoxLimit) return box;
  std::size_t cut = kEditBoxLimit;
  // Half a character would reach the sites as a broken one.
  if (IsHighSurrogate(box[cut - 1]) && IsLowSurrogate(box[cut])) --cut;
  return box.substr(0, cut);
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
  ShowStringMessage(desktop_, window_, message, IDS_PRODUCT_NAME,
                    MessageStyle{});
}

}  // namespace qm
