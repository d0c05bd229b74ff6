#include "catalogue/catalogue_categories.h"

#include <array>

#include "text/ascii_fold.h"

namespace qm {
namespace {

using enum CategoryContent;

constexpr std::array<CatalogueCategory, 14> kCategories = {{
    {"BOOK", "BOOK:", kSiteEntries},
    {"CURRENCY", "CURRENCY:", kSiteEntries},
    {"EMAIL", "EMAIL:", kSiteEntries},
    {"ISBN", "ISBN:", kSiteEntries},
    {"MOVIE", "MOVIE:", kSiteEntries},
    {"MUSIC", "MUSIC:", kSiteEntries},
    {"OTHER", "OTHER:", kSiteEntries},
    {"SEARCH", "SEARCH:", kSiteEntries},
    {"STOCK", "STOCK:", kSiteEntries},
    {"TRANSLATE", "TRANSLATE:", kSiteEntries},
    {"UPC", "UPC:", kSiteEntries},
    {"URL", "URL:", kSiteEntries},
    {"UNIT", kUnitSectionPrefix, kUnits},
    {"SYSTEM", kSystemSectionPrefix, kSystemEntries},
}};

constexpr bool PrefixesAreWordsWithColons() {
  for (const CatalogueCategory& c : kCategories) {
    if (c.prefix.size() != c.word.size() + 1 || !c.prefix.starts_with(c.word) ||
        c.prefix.back() != ':') {
      return false;
    }
  }
  return true;
}
static_assert(PrefixesAreWordsWithColons());

}  // namespace

std::span<const CatalogueCategory> CatalogueCategories() { return kCategories; }

const CatalogueCategory* FindCatalogueCategory(std::string_view word) {
  for (const CatalogueCategory& category : kCategories) {
    if (CompareFolded(category.word, word) == 0) return &category;
  }
  return nullptr;
}

}  // namespace qm
