// The dialogs of the site categories: each is the shared choice dialog with
// its own texts and check of the typed text, shown with the template and
// help topic its command names (`resources`).
#pragma once

#include <string>

#include "dialogs/choice_dialog.h"
#include "dialogs/dialog_resources.h"

namespace qm {

// Dialogs with a text to look up.

class CAskISBNDlg final : public ChoiceDialog {
 public:
  CAskISBNDlg(RequestContext& context, Desktop& desktop,
              const CodePage& code_page, SiteEntryList& entries,
              std::u16string text, const DialogResources& resources);
  // Accepts an ISBN-10, or an EAN-13 of a book, and hands on the ISBN-10
  // (a 979 book, which has none, as its thirteen digits).
  InputCheck ValidateInput(const std::u16string& text) override;
};

class CAskUPCDlg final : public ChoiceDialog {
 public:
  CAskUPCDlg(RequestContext& context, Desktop& desktop,
             const CodePage& code_page, SiteEntryList& entries,
             std::u16string text, const DialogResources& resources);
  // Accepts a UPC-A, also without its leading zeros; never completes a
  // check digit the user left out.
  InputCheck ValidateInput(const std::u16string& text) override;
};

class CAskStockDlg final : public ChoiceDialog {
 public:
  CAskStockDlg(RequestContext& context, Desktop& desktop,
               const CodePage& code_page, SiteEntryList& entries,
               std::u16string text, const DialogResources& resources);
  // Trims blanks and line breaks; refuses an empty symbol.
  InputCheck ValidateInput(const std::u16string& text) override;
};

// The book, movie, music, other and search dialog: any text will do; the
// caption and prompt come from the string table.
class CAskOtherDlg final : public ChoiceDialog {
 public:
  CAskOtherDlg(RequestContext& context, Desktop& desktop,
               const CodePage& code_page, SiteEntryList& entries,
               std::u16string text, const DialogResources& resources,
               int caption_string, int prompt_string);
};

// Dialogs with a list only.

class CAskEmailDlg final : public ChoiceDialog {
 public:
  CAskEmailDlg(RequestContext& context, Desktop& desktop,
               const CodePage& code_page, SiteEntryList& entries,
               const DialogResources& resources);
};

class CAskTranslateDlg final : public ChoiceDialog {
 public:
  CAskTranslateDlg(RequestContext& context, Desktop& desktop,
                   const CodePage& code_page, SiteEntryList& entries,
                   const DialogResources& resources);
};

class CAskURLDlg final : public ChoiceDialog {
 public:
  CAskURLDlg(RequestContext& context, Desktop& desktop,
             const CodePage& code_page, SiteEntryList& entries,
             const DialogResources& resources);
};

}  // namespace qm
