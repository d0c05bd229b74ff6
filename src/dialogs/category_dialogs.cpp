#include "dialogs/category_dialogs.h"

#include "recognisers/product_code_input.h"
#include "recognisers/stock_symbol.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// The texts around the list, from the string table; caption 0 is none
// (a dialog with a list only).
ChoiceDialogTexts Texts(int template_id, int caption_string, int prompt_string,
                        std::string help) {
  return ChoiceDialogTexts{
      template_id,
      caption_string == 0 ? std::u16string() : std::u16string(LoadText(caption_string)),
      std::u16string(LoadText(prompt_string)), std::move(help)};
}

}  // namespace

CAskISBNDlg::CAskISBNDlg(RequestContext& context, Desktop& desktop,
                         const CodePage& code_page, SiteEntryList& entries,
                         std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(IDD_ASK_ISBN, IDS_ISBN_CAPTION, IDS_SITES_PROMPT,
                         HELP_TOPIC_ISBN)) {}

InputCheck CAskISBNDlg::ValidateInput(const std::u16string& text) {
  return CheckISBNInput(text);
}

CAskUPCDlg::CAskUPCDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries,
                       std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(IDD_ASK_UPC, IDS_UPC_CAPTION, IDS_SITES_PROMPT,
                         HELP_TOPIC_UPC)) {}

InputCheck CAskUPCDlg::ValidateInput(const std::u16string& text) {
  return CheckUPCInput(text);
}

CAskStockDlg::CAskStockDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(IDD_ASK_STOCK, IDS_STOCK_CAPTION, IDS_STOCK_PROMPT,
                         HELP_TOPIC_STOCK)) {}

InputCheck CAskStockDlg::ValidateInput(const std::u16string& text) {
  return CheckStockInput(text);
}

CAskOtherDlg::CAskOtherDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text, std::string help_topic,
                           int caption_string, int prompt_string)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(IDD_ASK_OTHER, caption_string, prompt_string,
                         std::move(help_topic))) {}

CAskEmailDlg::CAskEmailDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(IDD_ASK_EMAIL, 0, IDS_EMAIL_PROMPT, HELP_TOPIC_EMAIL)) {}

CAskTranslateDlg::CAskTranslateDlg(RequestContext& context, Desktop& desktop,
                                   const CodePage& code_page,
                                   SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(IDD_ASK_TRANSLATE, 0, IDS_TRANSLATE_PROMPT,
                         HELP_TOPIC_TRANSLATE)) {}

CAskURLDlg::CAskURLDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(IDD_ASK_URL, 0, IDS_URL_PROMPT, HELP_TOPIC_URL)) {}

}  // namespace qm
