// A category's entries: collected from the catalogue in name order, their
// ticks remembered per user.
#pragma once

#include <string_view>

#include "catalogue/catalogue_loader.h"
#include "catalogue/site_entry.h"
#include "host/module_environment.h"
#include "host/selection_store.h"

namespace qm {

// Loads the catalogue for `prefix` (see LoadCatalogue) and appends one entry
// per section to `list`, in the case-insensitive order of the section names.
// No section is skipped. Returns whether `list` is non-empty. When `source`
// is given, stores where the entries came from.
bool CollectSiteEntries(const ModuleEnvironment& env,
                        const SelectionStore& store, std::string_view prefix,
                        bool system, SiteEntryList& list,
                        CatalogueSource* source = nullptr);

// Remembers the `selected` flag of every entry of `list`, ticked or not, so
// that defaultSelected no longer matters for them. Returns false when some
// value could not be stored; nothing is reported to the user.
bool SaveSelections(const SiteEntryList& list, SelectionStore& store);

}  // namespace qm
