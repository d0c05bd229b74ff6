#include "dialogs/category_dialogs.h"

#include "recognisers/product_code_input.h"
#include "recognisers/stock_symbol.h"
#include "strings/string_table.h"

namespace qm {
namespace {

constexpr char16_t kSitesPrompt[] =
    u"At one or more of the following sites\n(Double-click sites to select them)";

ChoiceDialogTexts Texts(int template_id, std::u16string caption,
                        std::u16string prompt, std::string help) {
  return ChoiceDialogTexts{template_id, std::move(caption), std::move(prompt),
                           std::move(help)};
}

}  // namespace

CAskISBNDlg::CAskISBNDlg(RequestContext& context, Desktop& desktop,
                         const CodePage& code_page, SiteEntryList& entries,
                         std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(222, u"Look for the book ISBN", kSitesPrompt,
                         "HelpISBN.htm")) {}

InputCheck CAskISBNDlg::ValidateInput(const std::u16string& text) {
  return CheckISBNInput(text);
}

CAskUPCDlg::CAskUPCDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries,
                       std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(224, u"Look for the item with UPC", kSitesPrompt,
                         "HelpUPC.htm")) {}

InputCheck CAskUPCDlg::ValidateInput(const std::u16string& text) {
  return CheckUPCInput(text);
}

CAskStockDlg::CAskStockDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(230, u"Look for the stock with symbol",
                         u"At one or more of the following sites\n"
                         u"(Double-click actions or sites to select them)",
                         "HelpStock.htm")) {}

InputCheck CAskStockDlg::ValidateInput(const std::u16string& text) {
  return CheckStockInput(text);
}

CAskOtherDlg::CAskOtherDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries,
                           std::u16string text, std::string help_topic,
                           int caption_string, int prompt_string)
    : ChoiceDialog(context, desktop, code_page, entries, std::move(text),
                   Texts(226, std::u16string(LoadText(caption_string)),
                         std::u16string(LoadText(prompt_string)),
                         std::move(help_topic))) {}

CAskEmailDlg::CAskEmailDlg(RequestContext& context, Desktop& desktop,
                           const CodePage& code_page, SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(228, u"",
                         u"Send an email\n(Double click on the type of email "
                         u"required)",
                         "HelpEmail.htm")) {}

CAskTranslateDlg::CAskTranslateDlg(RequestContext& context, Desktop& desktop,
                                   const CodePage& code_page,
                                   SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(227, u"",
                         u"Translate publicly accessible web page\n(Double "
                         u"click on the translation required)",
                         "HelpTranslate.htm")) {}

CAskURLDlg::CAskURLDlg(RequestContext& context, Desktop& desktop,
                       const CodePage& code_page, SiteEntryList& entries)
    : ChoiceDialog(context, desktop, code_page, entries, std::nullopt,
                   Texts(232, u"",
                         u"Find information about this URL\n(Double click on "
                         u"the site or action required)",
                         "HelpURL.htm")) {}

}  // namespace qm
