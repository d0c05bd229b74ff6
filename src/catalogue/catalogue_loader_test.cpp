#include "catalogue/catalogue_loader.h"

#include <gtest/gtest.h>

#include "resource_ids.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

TEST(CataloguePath, ReplacesTheExtension) {
  EXPECT_EQ(CataloguePath(FakeModuleEnvironment("C:\\Apps\\qmkit.dll")),
            "C:\\Apps\\qmkit.ini");
  EXPECT_EQ(CataloguePath(FakeModuleEnvironment("C:\\A.B\\qm.kit.dll")),
            "C:\\A.B\\qm.kit.ini");
  // A dot in a folder name is no extension of the file.
  EXPECT_EQ(CataloguePath(FakeModuleEnvironment("/home/u/.local/bin/qmkit")),
            "/home/u/.local/bin/qmkit.ini");
  EXPECT_EQ(CataloguePath(FakeModuleEnvironment("C:\\x.y\\qmkit")),
            "C:\\x.y\\qmkit.ini");
  EXPECT_EQ(CataloguePath(FakeModuleEnvironment("")), "");
}

class LoadCatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    env_.SetBuiltIn(IDR_DEFAULT_CATALOGUE,
                    "[BOOK:Default]\nshortDescription=built-in book\n"
                    "[STOCK:Default]\nshortDescription=built-in stock\n");
    env_.SetBuiltIn(IDR_SYSTEM_CATALOGUE,
                    "#These are system menu items and should not be edited\n"
                    "[SYSTEM:Home]\nshortDescription=Go to product home page\n");
  }

  std::vector<std::string> Load(std::string_view prefix, bool system,
                                CatalogueSource* source) {
    SiteCatalogue catalogue;
    *source = LoadCatalogue(env_, prefix, system, catalogue);
    std::vector<std::string> names;
    for (const CatalogueSection& s : catalogue.Sections()) {
      names.push_back(std::string(s.name()) + "|" +
                      s.GetString("shortDescription", ""));
    }
    return names;
  }

  FakeModuleEnvironment env_{"C:\\Apps\\qmkit.dll"};
};

TEST_F(LoadCatalogueTest, UserFileReplacesADefaultCategoryWholly) {
  env_.SetFile("C:\\Apps\\qmkit.ini",
               "[BOOK:Mine]\nshortDescription=my book\n"
               "[SYSTEM:Home]\nshortDescription=hijacked\n");
  CatalogueSource source;
  EXPECT_EQ(Load("BOOK:", false, &source),
            std::vector<std::string>{"BOOK:Mine|my book"});
  EXPECT_EQ(source, CatalogueSource::kUserFile);
  // A category the file lacks still comes from the default.
  EXPECT_EQ(Load("STOCK:", false, &source),
            std::vector<std::string>{"STOCK:Default|built-in stock"});
  EXPECT_EQ(source, CatalogueSource::kBuiltInDefault);
  // System entries never come from the user's file.
  EXPECT_EQ(Load("SYSTEM:", true, &source),
            std::vector<std::string>{"SYSTEM:Home|Go to product home page"});
  EXPECT_EQ(source, CatalogueSource::kBuiltInSystem);
}

TEST_F(LoadCatalogueTest, MissingOrEmptyFileFallsBack) {
  CatalogueSource source;
  EXPECT_EQ(Load("BOOK:", false, &source),
            std::vector<std::string>{"BOOK:Default|built-in book"});
  env_.SetFile("C:\\Apps\\qmkit.ini", "");
  EXPECT_EQ(Load("BOOK:", false, &source),
            std::vector<std::string>{"BOOK:Default|built-in book"});
  EXPECT_EQ(source, CatalogueSource::kBuiltInDefault);
}

TEST_F(LoadCatalogueTest, FileIsReadOnEveryLoad) {
  env_.SetFile("C:\\Apps\\qmkit.ini", "[BOOK:Old]\n");
  CatalogueSource source;
  Load("BOOK:", false, &source);
  env_.SetFile("C:\\Apps\\qmkit.ini", "[BOOK:New]\n");
  EXPECT_EQ(Load("BOOK:", false, &source), std::vector<std::string>{"BOOK:New|"});
  EXPECT_EQ(env_.reads(), 2);
}

// Editors that save UTF-8 put the byte-order mark first; the file is then
// read as UTF-8 and its text converted to the system code page.
TEST_F(LoadCatalogueTest, ByteOrderMarkReadsTheFileAsUtf8) {
  env_.SetFile("C:\\Apps\\qmkit.ini",
               "\xEF\xBB\xBF[BOOK:B\xC3\xBC" "cher]\r\n"
               "shortDescription=\xE2\x82\xAC 5 \xE4\xB8\xAD \xFF.\r\n"
               "[BOOK:Two]\nshortDescription=x\n");
  CatalogueSource source;
  EXPECT_EQ(Load("BOOK:", false, &source),
            (std::vector<std::string>{"BOOK:B\xFC" "cher|\x80 5 ? ?.", "BOOK:Two|x"}));
  EXPECT_EQ(source, CatalogueSource::kUserFile);

  // Only at the very start is it a mark; without one no byte is touched.
  env_.SetFile("C:\\Apps\\qmkit.ini", "\n\xEF\xBB\xBF[BOOK:A]\n[BOOK:B\xC3\xBC]\n");
  EXPECT_EQ(Load("BOOK:", false, &source),
            std::vector<std::string>{"BOOK:B\xC3\xBC|"});
}

}  // namespace
}  // namespace qm
