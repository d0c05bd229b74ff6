#include "catalogue_listing.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/memory_selection_store.h"
#include "resource_ids.h"
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
  ASSERT_TRUE(
      WriteCatalogueListing("book", env, store, code_page, ListingFormat::kText, books));
  EXPECT_EQ(books.str(),
            "BOOK: 2 entries from the user's catalogue /opt/qm/qmkit.ini\n"
            "[x] BOOK:ShopCom  (exclusive)\n    US\n    Books in the US\n"
            "[ ] BOOK:ShopCoUk\n    UK\n");

  // Unit sections show their keys, decoded from Windows-1252 into UTF-8.
  std::ostringstream units;
  ASSERT_TRUE(
      WriteCatalogueListing("UNIT:", env, store, code_page, ListingFormat::kText, units));
  EXPECT_NE(units.str().find("ten+0 = Celsius,\xC2\xB0" "C"), std::string::npos)
      << units.str();

  std::ostringstream nothing;
  EXPECT_FALSE(
      WriteCatalogueListing("BOOKS", env, store, code_page, ListingFormat::kJson, nothing));
  EXPECT_TRUE(nothing.str().empty());
}

TEST(CatalogueListing, JsonOfEachForm) {
  FakeModuleEnvironment env("/opt/qm/qmkit");
  env.SetFile("/opt/qm/qmkit.ini",
              "[OTHER:Ping]\nshortDescription=Ping \"it\"\ncommand=ping !H\nexclusive=y\n"
              "[OTHER:Mail]\nMailBody=!S\nlongDescription=caf\xE9\n"
              "[UNIT:Centigrade]\ncategory=temperature\nten+0=Celsius,\xB0" "C\n");
  MemorySelectionStore store;
  ASSERT_TRUE(store.Write({{"OTHER:Ping", 1}}));
  const Windows1252CodePage code_page;

  std::ostringstream other;
  ASSERT_TRUE(
      WriteCatalogueListing("Other", env, store, code_page, ListingFormat::kJson, other));
  EXPECT_EQ(other.str(),
            "{\"category\":\"OTHER\",\"source\":\"user\",\"file\":\"/opt/qm/qmkit.ini\","
            "\"entries\":[{\"name\":\"OTHER:Mail\",\"selected\":false,\"exclusive\":false,"
            "\"shortDescription\":\"\",\"longDescription\":\"caf\xC3\xA9\",\"url\":\"\","
            "\"href\":\"\",\"command\":\"\",\"mail\":true},"
            "{\"name\":\"OTHER:Ping\",\"selected\":true,\"exclusive\":true,"
            "\"shortDescription\":\"Ping \\\"it\\\"\",\"longDescription\":\"\",\"url\":\"\","
            "\"href\":\"\",\"command\":\"ping !H\",\"mail\":false}]}\n");

  // Units have keys rather than entries; a category the file lacks comes
  // from the built-in default, which names no file.
  std::ostringstream units;
  ASSERT_TRUE(
      WriteCatalogueListing("unit", env, store, code_page, ListingFormat::kJson, units));
  EXPECT_EQ(units.str(),
            "{\"category\":\"UNIT\",\"source\":\"user\",\"file\":\"/opt/qm/qmkit.ini\","
            "\"sections\":[{\"name\":\"UNIT:Centigrade\",\"keys\":{\"category\":"
            "\"temperature\",\"ten+0\":\"Celsius,\xC2\xB0" "C\"}}]}\n");
  std::ostringstream stock;
  ASSERT_TRUE(
      WriteCatalogueListing("STOCK", env, store, code_page, ListingFormat::kJson, stock));
  EXPECT_TRUE(stock.str().starts_with(
      "{\"category\":\"STOCK\",\"source\":\"default\",\"file\":null,\"entries\":[{"))
      << stock.str();

  std::ostringstream summary;
  WriteCatalogueSummary(env, ListingFormat::kJson, summary);
  EXPECT_TRUE(summary.str().starts_with(
      "{\"file\":\"/opt/qm/qmkit.ini\",\"categories\":[{\"category\":\"BOOK\","
      "\"entries\":13,\"source\":\"default\"},"))
      << summary.str();
  EXPECT_NE(summary.str().find("{\"category\":\"OTHER\",\"entries\":2,\"source\":\"user\"}"),
            std::string::npos);
  EXPECT_TRUE(summary.str().ends_with(
      "{\"category\":\"SYSTEM\",\"entries\":1,\"source\":\"system\"}]}\n"));
}

TEST(CatalogueListing, SummaryNamesEachCategorySource) {
  FakeModuleEnvironment env("/opt/qm/qmkit");
  env.SetFile("/opt/qm/qmkit.ini", "[STOCK:Mine]\n");
  std::ostringstream out;
  WriteCatalogueSummary(env, ListingFormat::kText, out);
  EXPECT_NE(out.str().find("STOCK        1  the user's catalogue"), std::string::npos)
      << out.str();
  EXPECT_NE(out.str().find("BOOK        13  the built-in default"), std::string::npos);
  EXPECT_NE(out.str().find("SYSTEM       1  the built-in system catalogue"),
            std::string::npos);
}

}  // namespace
}  // namespace qm
