#include "flows/convert_flow.h"

#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_catalogue.h"
#include "dialogs/ask_convert_dlg.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace qm {

void RunConvertFlow(RequestContext& context, Desktop& desktop,
                    DialogHost& dialogs, SelectionStore& selections,
                    const CodePage& code_page, const DialogResources& resources) {
  // Destroyed in reverse order of declaration: the dialog, the proposed
  // amount, the table (which the dialog reads until it closes), then the
  // catalogue.
  SiteCatalogue catalogue;
  LoadCatalogue(context.environment(), kUnitSectionPrefix, false, catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table);
  ParsedQuantity proposed = ParseQuantity(context.selectedText(), table, code_page);
  ToUnitMemory to_units(selections);
  CAskConvertDlg dialog(context, desktop, code_page, proposed.amount,
                        proposed.unit, table, resources);
  dialog.UseToUnitMemory(&to_units);
  dialogs.RunConvertDialog(context.browserWindow(), dialog);
  // A memory that cannot be stored costs only the next dialog's default.
  to_units.Save();
}

}  // namespace qm
