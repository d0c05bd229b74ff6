#include "catalogue/catalogue_cache.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "resource_ids.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

// Every section with its keys and values, in order, as one text.
std::string Dump(const SiteCatalogue& catalogue) {
  std::string out;
  catalogue.ForEachSection([&out](const CatalogueSection& section) {
    out += "[" + std::string(section.name()) + "]\n";
    for (const CatalogueValue& value : section) {
      out += std::string(value.key) + "=" + std::string(value.value) + "\n";
    }
  });
  return out;
}

constexpr std::string_view kText =
    "[BOOK:One]\nurl=a\nURL=b\n[book:two]\nx=1\n[ISBN:One]\ny=2\n"
    "[BOOK:ONE]\nz=3\n[BOOKS]\nw=4\n[]\nv=5\n";

TEST(CatalogueCache, GivesWhatParsingWithThePrefixGivesAndParsesEachTextOnce) {
  CatalogueCache cache;
  for (const std::string_view prefix : {"", "BOOK:", "book:", "BOOK", "ISBN:", "STOCK:"}) {
    SiteCatalogue parsed;
    ParseCatalogue(std::string(kText), prefix, parsed);
    SiteCatalogue cached;
    cache.Parse(kText, prefix, cached);
    EXPECT_EQ(Dump(cached), Dump(parsed)) << "prefix " << prefix;
  }
  EXPECT_EQ(cache.parses(), 1u);

  // A changed text is parsed as it is now; a kept catalogue outlives the
  // texts pushed out after it.
  SiteCatalogue before;
  cache.Parse(kText, "BOOK:", before);
  const std::string dumped = Dump(before);
  for (int i = 0; i < 5; ++i) {
    SiteCatalogue other;
    cache.Parse("[BOOK:N" + std::to_string(i) + "]\nk=v\n", "BOOK:", other);
    EXPECT_EQ(Dump(other), "[BOOK:N" + std::to_string(i) + "]\nk=v\n");
  }
  EXPECT_EQ(cache.parses(), 6u);
  EXPECT_EQ(Dump(before), dumped);
  SiteCatalogue again;
  cache.Parse(kText, "BOOK:", again);
  EXPECT_EQ(cache.parses(), 7u);  // pushed out by the four texts since
  EXPECT_EQ(Dump(again), dumped);
}

TEST(CatalogueCache, ReadsAFileAgainOnlyWhenItsStampChanged) {
  FakeModuleEnvironment env;
  CatalogueCache cache;
  std::string bytes;
  env.SetFile("a.ini", "one");
  env.SetStamp("a.ini", {3, 100});
  ASSERT_TRUE(cache.ReadFile(env, "a.ini", &bytes));
  ASSERT_TRUE(cache.ReadFile(env, "a.ini", &bytes));
  EXPECT_EQ(bytes, "one");
  EXPECT_EQ(env.reads(), 1);

  env.SetFile("a.ini", "two");  // written again: a new time
  env.SetStamp("a.ini", {3, 101});
  ASSERT_TRUE(cache.ReadFile(env, "a.ini", &bytes));
  EXPECT_EQ(bytes, "two");
  EXPECT_EQ(env.reads(), 2);

  // No stamp: read every time. No file: false, the bytes left alone.
  env.SetFile("b.ini", "three");
  ASSERT_TRUE(cache.ReadFile(env, "b.ini", &bytes));
  ASSERT_TRUE(cache.ReadFile(env, "b.ini", &bytes));
  EXPECT_EQ(env.reads(), 4);
  EXPECT_FALSE(cache.ReadFile(env, "c.ini", &bytes));
  EXPECT_EQ(bytes, "three");
}

TEST(CatalogueCache, LoadCatalogueKeepsTheBuiltInAndFollowsTheUsersFile) {
  FakeModuleEnvironment env("C:\\Apps\\qmkit.dll");
  CatalogueCache cache;
  env.KeepCatalogues(&cache);
  env.SetBuiltIn(IDR_DEFAULT_CATALOGUE, "[BOOK:Built]\nu=1\n[STOCK:Built]\nu=2\n");
  const auto load = [&env](std::string_view prefix) {
    SiteCatalogue catalogue;
    LoadCatalogue(env, prefix, false, catalogue);
    return Dump(catalogue);
  };
  EXPECT_EQ(load("BOOK:"), "[BOOK:Built]\nu=1\n");
  EXPECT_EQ(load("STOCK:"), "[STOCK:Built]\nu=2\n");
  EXPECT_EQ(cache.parses(), 1u);

  env.SetFile("C:\\Apps\\qmkit.ini", "[BOOK:Mine]\nu=3\n");
  env.SetStamp("C:\\Apps\\qmkit.ini", {17, 1});
  EXPECT_EQ(load("BOOK:"), "[BOOK:Mine]\nu=3\n");
  EXPECT_EQ(load("STOCK:"), "[STOCK:Built]\nu=2\n");
  env.SetFile("C:\\Apps\\qmkit.ini", "[BOOK:Edited]\nu=4\n");
  env.SetStamp("C:\\Apps\\qmkit.ini", {19, 2});
  EXPECT_EQ(load("BOOK:"), "[BOOK:Edited]\nu=4\n");
  EXPECT_EQ(cache.parses(), 3u);
}

}  // namespace
}  // namespace qm
