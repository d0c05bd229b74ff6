#include "dialogs/category_dialogs.h"

#include "recognisers/product_code_input.h"
#include "recognisers/stock_symbol.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// The texts around the list, from the string table; caption 0 is none
// (a dialog with a list only).
ChoiceDialogTexts Texts(const DialogResources& resources, int caption_string,
                        int prompt_string) {
  return ChoiceDialogTexts{
      resources.template_id,
      caption_string == 0 ? std::u16string() : std::u16string(LoadText(caption_string)),
      std::u16string(LoadText(prompt_string)), resources.help_topic};
}

}  // namespace

CAskISBNDlg::CAskISBNDlg(RequestContext& context, Desktop& desktop,
                         const CodePage& code_page, SiteEntryList& entries,
                         std::u16string text, const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(resources, IDS_ISBN_CAPTION, IDS_SITES_PROMPT)) {}

InputCheck CAskISBNDlg::ValidateInput(const std::u16string& text) {
  return CheckISBNInput(text);
}

CAskUPCDlg::CAskUPCDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries,
                       std::u16string text, const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(resources, IDS_UPC_CAPTION, IDS_SITES_PROMPT)) {}

InputCheck CAskUPCDlg::ValidateInput(const std::u16string& text) {
  return CheckUPCInput(text);
}

CAskStockDlg::CAskStockDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text, const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(resources, IDS_STOCK_CAPTION, IDS_STOCK_PROMPT)) {}

InputCheck CAskStockDlg::ValidateInput(const std::u16string& text) {
  return CheckStockInput(text);
}

CAskOtherDlg::CAskOtherDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text, const DialogResources& resources,
                           int caption_string, int prompt_string)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(resources, caption_string, prompt_string)) {}

CAskEmailDlg::CAskEmailDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(resources, 0, IDS_EMAIL_PROMPT)) {}

CAskTranslateDlg::CAskTranslateDlg(RequestContext& context, Desktop& desktop,
                                   const CodePage& code_page,
                                   SiteEntryList& entries,
                                   const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(resources, 0, IDS_TRANSLATE_PROMPT)) {}

CAskURLDlg::CAskURLDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries,
                       const DialogResources& resources)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(resources, 0, IDS_URL_PROMPT)) {}

}  // namespace qm
