#include "flows/currency_flow.h"

#include "catalogue/catalogue_categories.h"
#include "catalogue/site_entries.h"
#include "dialogs/ask_currency_dlg.h"
#include "flows/action_runner.h"
#include "recognisers/currency_context.h"
#include "recognisers/currency_table.h"
#include "strings/string_table.h"

namespace qm {

const CurrencyInfo* InitialTargetCurrency(const CurrencyInfo* source,
                                          const CurrencyInfo* local) {
  if (source != local) return local;
  const CurrencyInfo* usd = FindCurrencyByCode("USD");
  return local == usd ? FindCurrencyByCode("CAD") : usd;
}

void RunCurrencyFlow(const CommandWord& command, RequestContext& context,
                     HostPorts& ports) {
  SiteEntryList entries;
  CollectSiteEntries(ports.environment, ports.selections,
                     FindCatalogueCategory(command.category)->prefix, false, entries);
  const CurrencyInfo* source = SourceCurrency(context);
  const CurrencyInfo* local = TargetCurrency(context);
  CAskCurrencyDlg dialog(context, ports.desktop, ports.code_page, entries,
                         ParseAmount(context), source,
                         InitialTargetCurrency(source, local), command.dialog);
  ports.dialogs.RunCurrencyDialog(context.browserWindow(), dialog);
  if (dialog.result() != kResultOk) return;
  context.SetSelectedText(dialog.amount());
  if (!SaveSelections(entries, ports.selections)) {
    // The choice is carried out all the same; only next time's ticks suffer.
    ShowStringMessage(ports.desktop, context.browserWindow(),
                      IDS_SELECTIONS_NOT_REMEMBERED, IDS_PRODUCT_NAME,
                      MessageStyle{});
  }
  SetSourceCurrency(context, dialog.source());
  SetTargetCurrency(context, dialog.target());
  RunChosenEntries(entries, context, ports);
}

}  // namespace qm
