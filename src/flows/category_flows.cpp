#include "flows/category_flows.h"

#include <memory>

#include "catalogue/site_entries.h"
#include "dialogs/about_dlg.h"
#include "dialogs/category_dialogs.h"
#include "flows/action_runner.h"
#include "recognisers/product_code_extraction.h"
#include "recognisers/stock_symbol.h"
#include "strings/string_table.h"

namespace qm {
namespace {

// Runs `dialog` over `entries`; after OK remembers the ticks (saying so when
// that fails), makes the confirmed text the selection (dialogs with a text)
// and carries out the choice. Cancel stores nothing and runs nothing.
void RunDialogAndEntries(ChoiceDialog& dialog, SiteEntryList& entries,
                         RequestContext& context, HostPorts& ports) {
  ports.dialogs.RunChoiceDialog(context.browserWindow(), dialog);
  if (dialog.result() != kResultOk) return;
  if (!SaveSelections(entries, ports.selections)) {
    // The choice is carried out all the same; only next time's ticks suffer.
    ShowStringMessage(ports.desktop, context.browserWindow(),
                      IDS_SELECTIONS_NOT_REMEMBERED, IDS_PRODUCT_NAME,
                      MessageStyle{});
  }
  if (dialog.has_text()) context.SetSelectedText(dialog.text());
  RunChosenEntries(entries, context, ports);
}

SiteEntryList Collect(HostPorts& ports, std::string_view prefix) {
  SiteEntryList entries;
  CollectSiteEntries(ports.environment, ports.selections, prefix, false, entries);
  return entries;
}

// The found code, or the tidied selection when nothing was found.
std::u16string OrSelection(std::u16string found, const RequestContext& context) {
  return found.empty() ? context.NormalisedSelection() : found;
}

}  // namespace

void RunSelectedStringFlow(RequestContext& context, HostPorts& ports,
                           const SelectedStringCategory& category) {
  SiteEntryList entries = Collect(ports, category.prefix);
  CAskOtherDlg dialog(context, ports.desktop, ports.code_page, entries,
                      OrSelection(ExtractUPC(context), context),
                      category.help_topic, category.caption_string,
                      category.prompt_string);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunIsbnFlow(RequestContext& context, HostPorts& ports) {
  SiteEntryList entries = Collect(ports, "ISBN:");
  CAskISBNDlg dialog(context, ports.desktop, ports.code_page, entries,
                     OrSelection(ExtractISBN(context), context));
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunUpcFlow(RequestContext& context, HostPorts& ports) {
  SiteEntryList entries = Collect(ports, "UPC:");
  CAskUPCDlg dialog(context, ports.desktop, ports.code_page, entries,
                    OrSelection(ExtractUPC(context), context));
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunStockFlow(RequestContext& context, HostPorts& ports) {
  SiteEntryList entries = Collect(ports, "STOCK:");
  CAskStockDlg dialog(context, ports.desktop, ports.code_page, entries,
                      FindStockSymbol(context.selectedText()));
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunEmailFlow(RequestContext& context, HostPorts& ports) {
  SiteEntryList entries = Collect(ports, "EMAIL:");
  CAskEmailDlg dialog(context, ports.desktop, ports.code_page, entries);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunUrlFlow(RequestContext& context, HostPorts& ports) {
  SiteEntryList entries = Collect(ports, "URL:");
  CAskURLDlg dialog(context, ports.desktop, ports.code_page, entries);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunTranslateFlow(RequestContext& context, HostPorts& ports) {
  if (context.pageHost().find(u'.') == std::u16string::npos) {
    const MessageStyle yes_no_default_no{MessageIcon::kExclamation,
                                         MessageButtons::kYesNo, true};
    if (ShowStringMessage(ports.desktop, 0, IDS_TRANSLATE_NOT_INTERNET,
                          IDS_PRODUCT_NAME,
                          yes_no_default_no) != MessageResult::kYes) {
      return;
    }
  }
  SiteEntryList entries = Collect(ports, "TRANSLATE:");
  CAskTranslateDlg dialog(context, ports.desktop, ports.code_page, entries);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunConfigFlow(RequestContext& context, HostPorts& ports) {
  CAboutDlg dialog(context, ports.desktop);
  ports.dialogs.RunAboutDialog(context.browserWindow(), dialog);
  if (dialog.result() == CAboutDlg::kResultHomePage) {
    RunSystemEntry(context, ports, "SYSTEM:Home");
  }
}

}  // namespace qm
