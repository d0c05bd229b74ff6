#include "catalogue/site_entries.h"

namespace qm {

bool CollectSiteEntries(const ModuleEnvironment& env,
                        const SelectionStore& store, std::string_view prefix,
                        bool system, SiteEntryList& list,
                        CatalogueSource* source) {
  SiteCatalogue catalogue;
  const CatalogueSource from = LoadCatalogue(env, prefix, system, catalogue);
  if (source != nullptr) *source = from;
  catalogue.ForEachSection([&](const CatalogueSection& section) {
    list.push_back(ReadSiteEntry(section, store));
  });
  return !list.empty();
}

bool SaveSelections(const SiteEntryList& list, SelectionStore& store) {
  std::vector<RememberedValue> values;
  values.reserve(list.size());
  for (const SiteEntry& entry : list) {
    if (entry.remembered == entry.selected) continue;
    // A tick still at its default was not the user's choice: another
    // command may have stored one for the entry since the dialog opened.
    const bool left_at_default =
        !entry.remembered && entry.selected == entry.defaultSelected;
    values.push_back({entry.name, entry.selected ? 1u : 0u, left_at_default});
  }
  return store.Write(values);
}

}  // namespace qm
