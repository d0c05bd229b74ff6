#include "flows/convert_flow.h"

#include <cstddef>
#include <string>
#include <string_view>

#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/site_catalogue.h"
#include "dialogs/ask_convert_dlg.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace qm {
namespace {

// The page's top-level domain in lower case ("uk" for www.example.co.uk),
// which decides what a gallon or a pint is. Empty for a host without a dot
// or with characters beyond ASCII in its last label.
std::string PageDomain(std::u16string_view host) {
  const std::size_t dot = host.rfind(u'.');
  if (dot == std::u16string_view::npos) return {};
  std::string domain;
  for (char16_t c : host.substr(dot + 1)) {
    if (c > 0x7F) return {};
    domain += static_cast<char>(c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c);
  }
  return domain;
}

}  // namespace

void RunConvertFlow(RequestContext& context, Desktop& desktop,
                    DialogHost& dialogs, SelectionStore& selections,
                    const CodePage& code_page, const DialogResources& resources) {
  // Destroyed in reverse order of declaration: the dialog, the proposed
  // amount, the table (which the dialog reads until it closes), then the
  // catalogue.
  SiteCatalogue catalogue;
  LoadCatalogue(context.environment(), kUnitSectionPrefix, false, catalogue);
  UnitTable table;
  BuildUnitTable(catalogue, table, PageDomain(context.pageHost()));
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
