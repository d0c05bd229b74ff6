#include "catalogue_listing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/memory_selection_store.h"
#include "host/resource_ids.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

TEST(CatalogueListing, ShowsEntriesInDialogOrderWithTicks) {
  FakeModuleEnvironment env("/opt/qm/qmkit");
  env.SetFile("/opt/qm/qmkit.ini",
              "[BOOK:ShopCoUk]\nshortDescription=UK\ndefaultSelected=y\n"
              "[BOOK:ShopCom]\nshortDescription=US\n"
              "longDescription=Books in the US\nexclusive=y\n"
              "[UNIT:Centigrade]\ncategory=temperature\nten+0=Celsius,\xB0" "C\n");
  MemorySelectionStore store;
  ASSERT_TRUE(store.Write({{"BOOK:ShopCoUk", 0}, {"BOOK:ShopCom", 1}}));
  const Windows1252CodePage code_page;

  std::ostringstream books;
  ASSERT_TRUE(WriteCatalogueListing("book", env, store, code_page, books));
  EXPECT_EQ(books.str(),
            "BOOK: 2 entries from the user's catalogue /opt/qm/qmkit.ini\n"
            "[x] BOOK:ShopCom  (exclusive)\n    US\n    Books in the US\n"
            "[ ] BOOK:ShopCoUk\n    UK\n");

  // Unit sections show their keys, decoded from Windows-1252 into UTF-8.
  std::ostringstream units;
  ASSERT_TRUE(WriteCatalogueListing("UNIT:", env, store, code_page, units));
  EXPECT_NE(units.str().find("ten+0 = Celsius,\xC2\xB0" "C"), std::string::npos)
      << units.str();

  std::ostringstream nothing;
  EXPECT_FALSE(WriteCatalogueListing("BOOKS", env, store, code_page, nothing));
  EXPECT_TRUE(nothing.str().empty());
}

TEST(CatalogueListing, SummaryNamesEachCategorySource) {
  FakeModuleEnvironment env("/opt/qm/qmkit");
  env.SetFile("/opt/qm/qmkit.ini", "[STOCK:Mine]\n");
  std::ostringstream out;
  WriteCatalogueSummary(env, out);
  EXPECT_NE(out.str().find("STOCK        1  the user's catalogue"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("BOOK        13  the built-in default"), std::string::npos);
  EXPECT_NE(out.str().find("SYSTEM       1  the built-in system catalogue"),
            std::string::npos);
}

}  // namespace
}  // namespace qm
