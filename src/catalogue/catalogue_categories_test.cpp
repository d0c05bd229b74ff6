#include "catalogue/catalogue_categories.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

// The site categories in the order of their words, then units, then the
// system entries: the order `qmkit catalogue` and the linter list them in.
TEST(CatalogueCategories, EachCategoryOnceInItsOrder) {
  std::vector<std::string> words;
  for (const CatalogueCategory& category : CatalogueCategories()) {
    words.emplace_back(category.word);
    EXPECT_EQ(category.prefix, std::string(category.word) + ":");
    const CategoryContent expected =
        category.word == "UNIT"     ? CategoryContent::kUnits
        : category.word == "SYSTEM" ? CategoryContent::kSystemEntries
                                    : CategoryContent::kSiteEntries;
    EXPECT_EQ(category.content, expected) << category.word;
  }
  EXPECT_EQ(words, (std::vector<std::string>{"BOOK", "CURRENCY", "EMAIL", "ISBN", "MOVIE",
                                             "MUSIC", "OTHER", "SEARCH", "STOCK",
                                             "TRANSLATE", "UPC", "URL", "UNIT", "SYSTEM"}));
}

// Words are found in any letter case; a prefix, a blank or a part is no word.
TEST(CatalogueCategories, FindsAWordInAnyLetterCase) {
  ASSERT_NE(FindCatalogueCategory("book"), nullptr);
  EXPECT_EQ(FindCatalogueCategory("book")->word, "BOOK");
  EXPECT_EQ(FindCatalogueCategory("Unit")->content, CategoryContent::kUnits);
  for (const char* other : {"", "BOOK:", "BOOK ", "BOO", "BOOKS", "CONFIG"}) {
    EXPECT_EQ(FindCatalogueCategory(other), nullptr) << other;
  }
}

}  // namespace
}  // namespace qm
