// The catalogue in force for one category, written out for a person or a
// script: the entries in the order the choice dialog shows them, each with
// its tick and description.
#pragma once

#include <ostream>
#include <string_view>

#include "catalogue/site_catalogue.h"
#include "host/code_page.h"
#include "host/module_environment.h"
#include "host/selection_store.h"

namespace qm {

enum class ListingFormat { kText, kJson };

// The category words of the catalogue ("BOOK", "UNIT", "SYSTEM", ...).
bool IsCatalogueCategory(std::string_view word);

// Writes the sections of `catalogue` in order with their keys and values,
// catalogue bytes decoded with `code_page`: as text, "[name]" and then
// "key=value" lines; as JSON, {"sections":[{"name":...,"keys":{...}}]}.
void WriteCatalogueSections(const SiteCatalogue& catalogue, const CodePage& code_page,
                            ListingFormat format, std::ostream& out);

// Writes the entries of `category` (a category word in any letter case, with
// or without its colon) as UTF-8 text or JSON, catalogue bytes decoded with
// `code_page`. Returns false, writing nothing, for an unknown category.
// JSON: {"category":"BOOK","source":"user"|"default"|"system","file":PATH or
// null,"entries":[{"name":...,"selected":true,...}]}; the unit category
// gives "sections" as WriteCatalogueSections does instead of "entries".
bool WriteCatalogueListing(std::string_view category,
                           const ModuleEnvironment& env,
                           const SelectionStore& store,
                           const CodePage& code_page, ListingFormat format,
                           std::ostream& out);

// Writes one line per category: its word, its entry count and where its
// entries come from. JSON: {"file":PATH or null,"categories":[{"category":
// "BOOK","entries":13,"source":"default"},...]}.
void WriteCatalogueSummary(const ModuleEnvironment& env, ListingFormat format,
                           std::ostream& out);

}  // namespace qm
