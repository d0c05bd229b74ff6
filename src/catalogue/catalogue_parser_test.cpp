#include "catalogue/catalogue_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qm {
namespace {

SiteCatalogue Parse(const std::string& text, std::string_view prefix = "") {
  SiteCatalogue catalogue;
  ParseCatalogue(text, prefix, catalogue);
  return catalogue;
}

std::vector<std::string> Names(const SiteCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const CatalogueSection& s : catalogue.Sections()) {
    names.emplace_back(s.name());
  }
  return names;
}

// The key/value pairs of one section as "key=value" strings.
std::vector<std::string> Pairs(const SiteCatalogue& catalogue,
                               std::string_view name) {
  CatalogueSection section("", nullptr, 0);
  EXPECT_TRUE(catalogue.Find(name, &section)) << name;
  std::vector<std::string> pairs;
  for (const CatalogueValue& v : section) {
    pairs.push_back(std::string(v.key) + "=" + std::string(v.value));
  }
  return pairs;
}

TEST(CatalogueParser, LineEndsAndLeadingBlanks) {
  // CR LF, LF and CR all end lines; the end of the text ends the last line;
  // blanks before a key are skipped, blanks after a value are kept.
  const auto c = Parse("[A:x]\r\n  k1=v1\n\tk2=v2 \rk3=v3\r\n\r\nexclusive=y");
  EXPECT_EQ(Pairs(c, "A:x"),
            (std::vector<std::string>{"exclusive=y", "k1=v1", "k2=v2 ",
                                      "k3=v3"}));
}

TEST(CatalogueParser, KeyLines) {
  const auto c = Parse(
      "[S]\n"
      "ShortDescription=Go to product home page\n"
      "=odd=value\n"          // a leading "=" belongs to the key
      "url=a=b=c\n"           // later "=" belong to the value
      "spaced = both \n"      // nothing trimmed: key "spaced ", value " both "
      "no equals sign here\n"  // dropped
      "note=a;b#c\n"          // ";" and "#" inside a value are ordinary
      "empty=\n");
  EXPECT_EQ(Pairs(c, "S"),
            (std::vector<std::string>{"=odd=value", "empty=", "note=a;b#c",
                                      "shortdescription=Go to product home page",
                                      "spaced = both ", "url=a=b=c"}));
}

TEST(CatalogueParser, CommentsAndStrayKeys) {
  const auto c = Parse(
      "before=header\n"        // no section yet: ignored
      "# comment=1\n"
      "  ; comment=2\n"
      "[S]\n"
      "#k=v\n"
      "k=v\n");
  EXPECT_EQ(Names(c), std::vector<std::string>{"S"});
  EXPECT_EQ(Pairs(c, "S"), std::vector<std::string>{"k=v"});
}

TEST(CatalogueParser, Headers) {
  // No "]": the name runs to the line end. Text after "]" is ignored. Blanks
  // inside the brackets are part of the name.
  const auto c = Parse(
      "[Open\nk=1\n"
      "[Closed] trailing=x\nk=2\n"
      "[ Spaced]\nk=3\n"
      "[]\nk=4\n");
  EXPECT_EQ(Names(c), (std::vector<std::string>{"", " Spaced", "Closed", "Open"}));
  EXPECT_EQ(Pairs(c, "Open"), std::vector<std::string>{"k=1"});
  EXPECT_EQ(Pairs(c, "Closed"), std::vector<std::string>{"k=2"});
  EXPECT_EQ(Pairs(c, ""), std::vector<std::string>{"k=4"});
}

TEST(CatalogueParser, RepeatsReplace) {
  // A repeated key replaces the value; a repeated section name in other
  // letter case replaces the whole section, the spelling of its name too.
  const auto c = Parse(
      "[BOOK:Shop]\na=1\nb=2\nA=3\n"
      "[OTHER:x]\nk=v\n"
      "[book:SHOP]\nc=4\nc=5\n");
  EXPECT_EQ(Names(c), (std::vector<std::string>{"book:SHOP", "OTHER:x"}));
  EXPECT_EQ(Pairs(c, "BOOK:shop"), std::vector<std::string>{"c=5"});
}

TEST(CatalogueParser, PrefixSelectsSections) {
  // The prefix is compared without regard to case; keys of other sections
  // do not leak into the kept ones; a name shorter than the prefix misses.
  const auto c = Parse(
      "[UNIT:Metre]\na=1\n"
      "[Unit:TonUK]\na=2\n"
      "[BOOK:x]\nleak=yes\n"
      "[UNIT]\na=3\n"
      "[unit:kelvin]\nb=-273.15\n",
      "UNIT:");
  EXPECT_EQ(Names(c), (std::vector<std::string>{"unit:kelvin", "UNIT:Metre",
                                                "Unit:TonUK"}));
  EXPECT_EQ(Pairs(c, "Unit:TonUK"), std::vector<std::string>{"a=2"});
}

TEST(CatalogueParser, FoldedNameOrder) {
  // A-Z fold to lower case and bytes compare unsigned: "m" < "u", "_"
  // before letters, high bytes after ASCII.
  const auto c = Parse(
      "[BOOK:ShopCoUk]\n[BOOK:ShopCom]\n[BOOK:ShopCa]\n[BOOK:Shop_]\n"
      "[BOOK:\xE9t\xE9]\n[BOOK:Zed]\n");
  EXPECT_EQ(Names(c),
            (std::vector<std::string>{"BOOK:Shop_", "BOOK:ShopCa",
                                      "BOOK:ShopCom", "BOOK:ShopCoUk",
                                      "BOOK:Zed", "BOOK:\xE9t\xE9"}));
}

TEST(CatalogueParser, BinaryBytes) {
  // NUL and high bytes are ordinary characters; keys fold only A-Z.
  const std::string text("[S\0x]\nK\xC9y\0=v\0al\n", 17);
  const auto c = Parse(text);
  ASSERT_EQ(c.size(), 1u);
  const CatalogueSection s = c.Sections().front();
  EXPECT_EQ(s.name(), std::string_view("S\0x", 3));
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s.begin()->key, std::string_view("k\xC9y\0", 4));
  EXPECT_EQ(s.begin()->value, std::string_view("v\0al", 4));
}

TEST(CatalogueParser, DegenerateTexts) {
  EXPECT_TRUE(Parse("").empty());
  EXPECT_TRUE(Parse("====\n===\n=").empty());
  EXPECT_TRUE(Parse("[[[[").size() == 1);
  // Only "=" signs: the first is the key, the second splits.
  const auto equals = Parse("[S]\n====");
  const CatalogueSection s = equals.Sections().front();
  ASSERT_EQ(s.size(), 1u);
  EXPECT_EQ(s.begin()->key, "=");
  EXPECT_EQ(s.begin()->value, "==");
  // A 1 MB value without a line end is kept whole.
  const std::string big(1 << 20, 'x');
  EXPECT_EQ(Pairs(Parse("[S]\nk=" + big), "S").front().size(), big.size() + 2);
}

TEST(CatalogueSection, Queries) {
  const auto c = Parse(
      "[S]\n"
      "Yes=yes\nNo=no\nTrue=True\nOne=1\nZero=0\nOff=off\nEmpty=\n"
      "a=2.5e-3 metres\nb=  -17.77\nbad=x1\n");
  CatalogueSection s("", nullptr, 0);
  ASSERT_TRUE(c.Find("s", &s));
  // Keys are asked for in any letter case.
  EXPECT_TRUE(s.HasValue("YES"));
  EXPECT_FALSE(s.HasValue("empty"));  // present but empty
  EXPECT_FALSE(s.HasValue("missing"));
  EXPECT_EQ(s.GetString("Empty", "dflt"), "");
  EXPECT_EQ(s.GetString("missing", "dflt"), "dflt");
  // Flags by first character; anything else keeps the default.
  EXPECT_TRUE(s.GetBool("yes", false));
  EXPECT_TRUE(s.GetBool("true", false));
  EXPECT_TRUE(s.GetBool("one", false));
  EXPECT_FALSE(s.GetBool("no", true));
  EXPECT_FALSE(s.GetBool("zero", true));
  EXPECT_TRUE(s.GetBool("off", true));
  EXPECT_FALSE(s.GetBool("off", false));
  EXPECT_TRUE(s.GetBool("empty", true));
  EXPECT_FALSE(s.GetBool("missing", false));
  // Numbers as "%lf" reads them.
  EXPECT_DOUBLE_EQ(s.GetNumber("a", 1), 2.5e-3);
  EXPECT_DOUBLE_EQ(s.GetNumber("B", 0), -17.77);
  EXPECT_DOUBLE_EQ(s.GetNumber("bad", 1), 1);
  EXPECT_DOUBLE_EQ(s.GetNumber("empty", 7), 7);
  EXPECT_DOUBLE_EQ(s.GetNumber("missing", 0.5), 0.5);
}

}  // namespace
}  // namespace qm
