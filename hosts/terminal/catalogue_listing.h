// The catalogue in force for one category, written out for a person: the
// entries in the order the choice dialog shows them, each with its tick and
// description.
#pragma once

#include <ostream>
#include <string_view>

#include "host/code_page.h"
#include "host/module_environment.h"
#include "host/selection_store.h"

namespace qm {

// The category words of the catalogue ("BOOK", "UNIT", "SYSTEM", ...).
bool IsCatalogueCategory(std::string_view word);

// Writes the entries of `category` (a category word in any letter case, with
// or without its colon) as UTF-8 text, catalogue bytes decoded with
// `code_page`. Returns false, writing nothing, for an unknown category.
bool WriteCatalogueListing(std::string_view category,
                           const ModuleEnvironment& env,
                           const SelectionStore& store,
                           const CodePage& code_page, std::ostream& out);

// Writes one line per category: its word, its entry count and where its
// entries come from.
void WriteCatalogueSummary(const ModuleEnvironment& env,
                           std::ostream& out);

}  // namespace qm
