// The built-in catalogues are product data: these tests hold them to the
// shape the flows and the converter rely on.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue/site_entries.h"
#include "host/memory_selection_store.h"
#include "resource_ids.h"
#include "support/fake_module_environment.h"
#include "text/ascii_fold.h"

namespace qm {
namespace {

std::string_view DefaultText() {
  static const FakeModuleEnvironment env;
  return env.BuiltInFile(IDR_DEFAULT_CATALOGUE);
}

SiteEntryList Entries(std::string_view prefix) {
  const FakeModuleEnvironment env;
  const MemorySelectionStore store;
  SiteEntryList list;
  CollectSiteEntries(env, store, prefix, false, list);
  return list;
}

TEST(BuiltInCatalogue, BytesAndCategoryCounts) {
  const std::string_view text = DefaultText();
  ASSERT_FALSE(text.empty());
  // Every line ends in CR LF, the last one too.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n') {
      ASSERT_TRUE(i > 0 && text[i - 1] == '\r') << i;
    } else if (text[i] == '\r') {
      ASSERT_TRUE(i + 1 < text.size() && text[i + 1] == '\n') << i;
    }
  }
  EXPECT_EQ(text.substr(text.size() - 2), "\r\n");

  SiteCatalogue all;
  ParseCatalogue(std::string(text), "", all);
  std::map<std::string, int> counts;
  for (const CatalogueSection& s : all.Sections()) {
    const std::size_t colon = s.name().find(':');
    ASSERT_NE(colon, std::string_view::npos) << s.name();
    ++counts[FoldAsciiCopy(s.name().substr(0, colon))];
  }
  const std::map<std::string, int> expected = {
      {"book", 13}, {"currency", 2}, {"email", 3},  {"isbn", 9},
      {"movie", 13}, {"music", 13},  {"other", 4},  {"search", 8},
      {"stock", 9},  {"translate", 19}, {"upc", 3}, {"url", 9},
      {"unit", 67}};
  EXPECT_EQ(counts, expected);
  // Names are unique without regard to case: the raw headers count the same.
  std::size_t headers = 0;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (text[i] == '[' && text[i - 1] == '\n') ++headers;
  }
  EXPECT_EQ(headers, all.size());
}

TEST(BuiltInCatalogue, LookupSitesCanBeCarriedOut) {
  for (const char* prefix : {"BOOK:", "ISBN:", "MOVIE:", "MUSIC:", "STOCK:",
                             "UPC:", "CURRENCY:", "SEARCH:", "URL:"}) {
    const SiteEntryList list = Entries(prefix);
    int ticked = 0;
    for (const SiteEntry& e : list) {
      EXPECT_FALSE(e.shortDescription.empty()) << e.name;
      EXPECT_NE(e.url.find('!'), std::string::npos) << e.name << " " << e.url;
      EXPECT_EQ(e.url.rfind("https://", 0), 0u) << e.name;
      EXPECT_NE(e.windowName, "_blank") << e.name;
      ticked += e.selected;
    }
    EXPECT_GE(ticked, 1) << prefix << ": nothing ticked on first use";
  }
  for (const SiteEntry& e : Entries("CURRENCY:")) {
    EXPECT_EQ(e.width + e.height + e.left + e.top, "50%100%-50%0") << e.name;
    for (const char* p : {"!S", "!F", "!L"}) {
      EXPECT_NE(e.url.find(p), std::string::npos) << e.name << " lacks " << p;
    }
  }
}

TEST(BuiltInCatalogue, TranslateOtherAndEmailEntries) {
  for (const SiteEntry& e : Entries("TRANSLATE:")) {
    EXPECT_NE(e.href.find("!U"), std::string::npos) << e.name;
    EXPECT_TRUE(e.exclusive) << e.name;
    EXPECT_EQ(e.windowName, "_top") << e.name;
  }

  std::map<std::string, SiteEntry> other;
  for (const SiteEntry& e : Entries("OTHER:")) other[e.name] = e;
  ASSERT_EQ(other.count("OTHER:GoTo"), 1u);
  EXPECT_EQ(other["OTHER:GoTo"].url, "!S");
  EXPECT_FALSE(other["OTHER:GoTo"].URLEncode);
  EXPECT_EQ(other["OTHER:GoTo"].shortDescription,
            "Open the selection as a web address");
  int diagnostics = 0;
  for (const auto& [name, e] : other) {
    if (e.command.empty()) continue;
    ++diagnostics;
    EXPECT_NE(e.command.find("!H"), std::string::npos) << name;
    EXPECT_TRUE(e.useConsole && e.leaveConsole && !e.URLEncode) << name;
  }
  EXPECT_EQ(diagnostics, 2);

  std::map<std::string, SiteEntry> mail;
  for (const SiteEntry& e : Entries("EMAIL:")) {
    EXPECT_TRUE(e.isMail && e.exclusive) << e.name;
    EXPECT_TRUE(e.MailCC.empty() && e.MailBCC.empty()) << e.name;
    mail[e.name] = e;
  }
  EXPECT_EQ(mail["EMAIL:Url"].MailTo, "");
  EXPECT_EQ(mail["EMAIL:Url"].MailSubject, "!T");
  EXPECT_EQ(mail["EMAIL:Url"].MailBody, "\\n!U\\n\\n[Email prepared by !C ]");
  EXPECT_EQ(mail["EMAIL:Address"].MailTo, "!s");
  EXPECT_EQ(mail["EMAIL:Address"].MailSubject, "!T");
  EXPECT_EQ(mail["EMAIL:Address"].MailBody, "");
  EXPECT_EQ(mail["EMAIL:Quote"].MailTo, "");
  EXPECT_EQ(mail["EMAIL:Quote"].MailSubject, "!t");
  EXPECT_EQ(mail["EMAIL:Quote"].MailBody,
            "!S\\n\\n[Extracted from web page !u \\nby !C ]");
}

// Sites and mail programs take percent-encoded values as UTF-8 today; an
// entry that inserts values unencoded has nothing to say about it.
TEST(BuiltInCatalogue, EncodingEntriesAskForUtf8) {
  int encoding_entries = 0;
  for (const char* prefix : {"BOOK:", "ISBN:", "MOVIE:", "MUSIC:", "STOCK:",
                             "UPC:", "CURRENCY:", "SEARCH:", "URL:",
                             "TRANSLATE:", "OTHER:", "EMAIL:"}) {
    for (const SiteEntry& e : Entries(prefix)) {
      const bool inserts = !e.url.empty() || !e.href.empty() || e.isMail ||
                           !e.command.empty();
      if (inserts && e.URLEncode) {
        ++encoding_entries;
        EXPECT_EQ(e.charset, UrlCharset::kUtf8) << e.name;
      } else {
        EXPECT_EQ(e.charset, UrlCharset::kWindows1252) << e.name;
      }
    }
  }
  EXPECT_EQ(encoding_entries, 100);
}

TEST(BuiltInCatalogue, UnitSections) {
  const FakeModuleEnvironment env;
  SiteCatalogue units;
  LoadCatalogue(env, "UNIT:", false, units);
  ASSERT_EQ(units.size(), 67u);
  std::set<std::string> categories;
  int written_unit = 0;
  for (const CatalogueSection& s : units.Sections()) {
    ASSERT_TRUE(s.HasValue("category")) << s.name();
    categories.insert(FoldAsciiCopy(s.GetString("category", "")));
    written_unit += s.name().substr(0, 5) == "Unit:";
  }
  EXPECT_EQ(categories.size(), 12u);
  EXPECT_EQ(written_unit, 3);

  CatalogueSection s("", nullptr, 0);
  // A cubic foot, not a board foot.
  ASSERT_TRUE(units.Find("UNIT:CuFt", &s));
  EXPECT_DOUBLE_EQ(s.GetNumber("a", 0), 2.8316846592e-2);
  ASSERT_TRUE(units.Find("unit:fahrenheit", &s));
  EXPECT_DOUBLE_EQ(s.GetNumber("b", 0), -17.77777777777777);
  ASSERT_TRUE(units.Find("UNIT:UKmpg", &s));
  EXPECT_TRUE(s.GetBool("invert", false));
  // Windows-1252 signs in names.
  ASSERT_TRUE(units.Find("UNIT:Centigrade", &s));
  EXPECT_EQ(s.GetString("ten+0", ""), "Celsius,\xB0" "C,C,\xB0" " C,\xBA" "C,\xBA" " C,\xB0" " Celsius");
  ASSERT_TRUE(units.Find("UNIT:Metre", &s));
  EXPECT_EQ(s.GetString("ten-6", ""), "micrometres,micrometre,\xB5m,micrometer");
}

TEST(BuiltInCatalogue, SystemCatalogue) {
  const FakeModuleEnvironment env;
  const std::string_view text = env.BuiltInFile(IDR_SYSTEM_CATALOGUE);
  EXPECT_EQ(text.substr(0, 56),
            "#These are system menu items and should not be edited\r\n[");
  const MemorySelectionStore store;
  SiteEntryList list;
  ASSERT_TRUE(CollectSiteEntries(env, store, "SYSTEM:", true, list));
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].name, "SYSTEM:Home");
  EXPECT_EQ(list[0].shortDescription, "Go to product home page");
  for (const char* part : {"product=qmkit", "version=1.2", "action=home"}) {
    EXPECT_NE(list[0].url.find(part), std::string::npos) << part;
  }
}

}  // namespace
}  // namespace qm
