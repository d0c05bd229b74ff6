#include "flows/category_flows.h"

#include <memory>

#include "catalogue/catalogue_categories.h"
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

// The entries of the command's category.
SiteEntryList Collect(HostPorts& ports, const CommandWord& command) {
  SiteEntryList entries;
  CollectSiteEntries(ports.environment, ports.selections,
                     FindCatalogueCategory(command.category)->prefix, false, entries);
  return entries;
}

// The found code, or the tidied selection when nothing was found.
std::u16string OrSelection(std::u16string found, const RequestContext& context) {
  return found.empty() ? context.NormalisedSelection() : found;
}

}  // namespace

void RunSelectedStringFlow(const CommandWord& command, RequestContext& context,
                           HostPorts& ports, int caption_string, int prompt_string) {
  SiteEntryList entries = Collect(ports, command);
  CAskOtherDlg dialog(context, ports.desktop, ports.code_page, entries,
                      OrSelection(ExtractUPC(context), context), command.dialog,
                      caption_string, prompt_string);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunIsbnFlow(const CommandWord& command, RequestContext& context,
                 HostPorts& ports) {
  SiteEntryList entries = Collect(ports, command);
  CAskISBNDlg dialog(context, ports.desktop, ports.code_page, entries,
                     OrSelection(ExtractISBN(context), context), command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunUpcFlow(const CommandWord& command, RequestContext& context,
                HostPorts& ports) {
  SiteEntryList entries = Collect(ports, command);
  CAskUPCDlg dialog(context, ports.desktop, ports.code_page, entries,
                    OrSelection(ExtractUPC(context), context), command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunStockFlow(const CommandWord& command, RequestContext& context,
                  HostPorts& ports) {
  SiteEntryList entries = Collect(ports, command);
  CAskStockDlg dialog(context, ports.desktop, ports.code_page, entries,
                      FindStockSymbol(context.selectedText()), command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunEmailFlow(const CommandWord& command, RequestContext& context,
                  HostPorts& ports) {
  SiteEntryList entries = Collect(ports, command);
  CAskEmailDlg dialog(context, ports.desktop, ports.code_page, entries,
                      command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunUrlFlow(const CommandWord& command, RequestContext& context,
                HostPorts& ports) {
  // On a link, the person asks about where it leads, not the page it is on.
  if (!context.linkHref().empty()) context.SetPageAddress(context.linkHref());
  SiteEntryList entries = Collect(ports, command);
  CAskURLDlg dialog(context, ports.desktop, ports.code_page, entries, command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunTranslateFlow(const CommandWord& command, RequestContext& context,
                      HostPorts& ports) {
  if (context.pageHost().find(u'.') == std::u16string::npos) {
    const MessageStyle yes_no_default_no{MessageIcon::kExclamation,
                                         MessageButtons::kYesNo, true};
    if (ShowStringMessage(ports.desktop, 0, IDS_TRANSLATE_NOT_INTERNET,
                          IDS_PRODUCT_NAME,
                          yes_no_default_no) != MessageResult::kYes) {
      return;
    }
  }
  SiteEntryList entries = Collect(ports, command);
  CAskTranslateDlg dialog(context, ports.desktop, ports.code_page, entries,
                          command.dialog);
  RunDialogAndEntries(dialog, entries, context, ports);
}

void RunConfigFlow(const CommandWord& command, RequestContext& context,
                   HostPorts& ports) {
  CAboutDlg dialog(context, ports.desktop, command.dialog);
  ports.dialogs.RunAboutDialog(context.browserWindow(), dialog);
  if (dialog.result() == CAboutDlg::kResultHomePage) {
    RunSystemEntry(context, ports, "SYSTEM:Home");
  }
}

}  // namespace qm
