// The categories of the catalogue: the words that begin section names
// ("BOOK:Amazon", "UNIT:Metre"), each with what its sections hold.
#pragma once

#include <span>
#include <string_view>

namespace qm {

// What the sections of a category hold, and so who reads them.
enum class CategoryContent {
  kSiteEntries,    // the sites and actions a command's choice dialog lists
  kUnits,          // unit definitions for the converter
  kSystemEntries,  // entries the system itself runs, from the built-in
                   // system catalogue only, never from the user's file
};

struct CatalogueCategory {
  std::string_view word;    // "BOOK", in capitals
  std::string_view prefix;  // "BOOK:", what the section names begin with
  CategoryContent content;
};

// The prefixes of the two categories the system reads itself.
inline constexpr std::string_view kUnitSectionPrefix = "UNIT:";
inline constexpr std::string_view kSystemSectionPrefix = "SYSTEM:";

// Every category, each once: the site categories in the order of their
// words, then units, then the system entries.
std::span<const CatalogueCategory> CatalogueCategories();

// The category whose word is `word`, compared without regard to ASCII
// letter case; null for any other word (a prefix with its colon is no
// word).
const CatalogueCategory* FindCatalogueCategory(std::string_view word);

}  // namespace qm
