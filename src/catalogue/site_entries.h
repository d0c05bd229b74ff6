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

// Remembers the `selected` flag of the entries of `list` whose tick differs
// from the one remembered when they were read, and of those that had none,
// so that afterwards every entry has a remembered tick and defaultSelected
// no longer matters for them. An entry left as it was is not written, and
// one that had none and still holds its default is written only if it still
// has none: two dialogs of one category confirmed at about the same time
// then keep each other's changes. Returns false when some value could not
// be stored; telling the user is the caller's.
bool SaveSelections(const SiteEntryList& list, SelectionStore& store);

}  // namespace qm
