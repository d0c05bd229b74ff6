// Character references in page text and in the links the terminal page
// follows, and a page file read with --page.
#include "html_character_references.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "action_log.h"
#include "page_options.h"
#include "terminal_page.h"
#include "support/qmkit_run.h"
#include "text/utf8.h"

namespace qm {
namespace {

// Compared as UTF-16, where a lone surrogate cannot pass for U+FFFD as it
// would in UTF-8.
std::u16string Decoded(const std::string& html,
                       HtmlTextKind kind = HtmlTextKind::kContent) {
  return DecodeHtmlEntities(FromUtf8(html), kind);
}

TEST(HtmlCharacterReferences, DecodesAsBrowsersDo) {
  constexpr HtmlTextKind kText = HtmlTextKind::kContent;
  constexpr HtmlTextKind kAttr = HtmlTextKind::kAttributeValue;
  struct Case {
    const char* html;
    HtmlTextKind kind;
    const char* text;
  };
  const Case cases[] = {
      // Numbers, decimal and hexadecimal, with or without the ";".
      {"&#8364;12,50", kText, "€12,50"},
      {"&#x20AC;|&#X20ac;|&#x20ac", kText, "€|€|€"},
      {"&#8364 12", kText, "€ 12"},
      {"&#0000065;&#x000041;", kText, "AA"},
      {"&#39;&#x1F600;", kText, "'\U0001F600"},
      // Numbers no character has, and the Windows-1252 block.
      {"&#0;|&#xD800;|&#xDFFF;|&#x110000;|&#1114112;", kText, "�|�|�|�|�"},
      {"&#4294967361;", kText, "�"},  // 2^32 + 65: no wrapping round to "A"
      {"&#x10FFFF;", kText, "\U0010FFFF"},
      {"&#128;|&#x96;|&#x9F;|&#x81;|&#x7F;", kText, "€|–|Ÿ|\u0081|\x7F"},
      // Names, with and without the ";" where HTML allows it.
      {"&euro;&amp;&lt;&gt;&quot;&nbsp;", kText, "€&<>\"\u00A0"},
      {"AT&amp;T &copy 2024 caf&eacute", kText, "AT&T © 2024 café"},
      {"&AElig;&zwnj;", kText, "Æ\u200C"},  // the first and last names
      {"&notin;|&notit;|&not", kText, "∉|¬it;|¬"},
      {"&Afr;", kText, "\U0001D504"},
      // Names of two characters.
      {"&NotEqualTilde;&fjlig;&nvlt;", kText, "\u2242\u0338fj<\u20D2"},
      // Nothing to decode: stays as written.
      {"& &; &#; &#x; &#xG; &#-1; &", kText, "& &; &#; &#x; &#xG; &#-1; &"},
      {"&euro 5 &unknown; &Amp; &ampx", kText, "&euro 5 &unknown; &Amp; &x"},
      {"&&amp;&#&#38;", kText, "&&&#&"},
      // In an attribute a legacy name before a letter, digit or "=" is text.
      {"?a=1&copy=2&not3&amp;b", kAttr, "?a=1&copy=2&not3&b"},
      {"&copy;x &copy x &not", kAttr, "©x © x ¬"},
      {"&#51;&#x34", kAttr, "34"},
      {"?a=1&copy=2", kText, "?a=1©=2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decoded(c.html, c.kind), FromUtf8(c.text)) << c.html;
  }
}

TEST(HtmlCharacterReferences, HostileReferencesCostOnePass) {
  // A number of a million digits is one character; a name of a million
  // letters is no name.
  EXPECT_EQ(Decoded("&#" + std::string(1'000'000, '9') + ";x"), u"\uFFFDx");
  EXPECT_EQ(Decoded("&#x" + std::string(1'000'000, '0') + "41;"), u"A");
  const std::string letters = "&" + std::string(1'000'000, 'a') + ";";
  EXPECT_EQ(Decoded(letters), FromUtf8(letters));
  const std::string ampersands(1'000'000, '&');
  EXPECT_EQ(Decoded(ampersands), FromUtf8(ampersands));
}

TEST(HtmlCharacterReferences, TableLookupIsExact) {
  ASSERT_NE(FindNamedCharacterReference("amp"), nullptr);
  EXPECT_EQ(FindNamedCharacterReference("amp;")->first, U'&');
  EXPECT_EQ(FindNamedCharacterReference("euro"), nullptr);
  EXPECT_EQ(FindNamedCharacterReference("Euro;"), nullptr);
  EXPECT_EQ(FindNamedCharacterReference(""), nullptr);
  const NamedCharacterReference* two = FindNamedCharacterReference("bne;");
  ASSERT_NE(two, nullptr);
  EXPECT_EQ(two->first, U'=');
  EXPECT_EQ(two->second, U'\u20E5');
}

class PageFile : public testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = testing::TempDir() + "qmkit-page-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& html) const {
    const std::string path = dir_ + "/page.html";
    std::ofstream(path, std::ios::binary) << html;
    return path;
  }

  std::string dir_;
};

TEST_F(PageFile, SelectionAndTitleAreDecodedText) {
  const std::string path = Write(
      "<html><head><title>Caf&eacute; &amp; bar</title></head><body>"
      "<p>Only <qm-selection><b>&#8364;</b>12,50 &am<i></i>p; "
      "&lt;i&gt;</qm-selection> today</p></body></html>");
  std::vector<std::string> args = {"--page", path};
  std::vector<char*> argv = {args[0].data(), args[1].data()};
  PageOptions page;
  OptionTable table("qmkit", "");
  AddPageOptions(table, &page);
  const std::optional<int> error = table.Read(2, argv.data(), 0);
  EXPECT_EQ(error, std::nullopt);
  EXPECT_EQ(ToUtf8(page.title), "Café & bar");
  // A tag ends a reference; a decoded "<" is text, not a tag.
  EXPECT_EQ(ToUtf8(page.selection), "€12,50 &amp; <i>");
  EXPECT_EQ(ToUtf8(page.html), "<b>&#8364;</b>12,50 &am<i></i>p; &lt;i&gt;");
}

TEST_F(PageFile, AmountAndCurrencyOfTheSelection) {
  const std::string path =
      Write("<p>Price: <qm-selection>&#8364;12,50</qm-selection></p>\n");
  const auto find = [&](const std::string& what, int* status) {
    const testing_support::ProgramOutcome run =
        testing_support::RunProgram(QMKIT_PROGRAM, {"find", what, "--page", path}, dir_);
    *status = run.status;
    return run.out;
  };
  int status = -1;
  EXPECT_EQ(find("amount", &status), "12.50\n");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(find("currency", &status).substr(0, 4), "EUR ");
  EXPECT_EQ(status, 0);
}

TEST(TerminalPageLink, ClickLogsTheLinksAddressAndTargetAsTheyAre) {
  ActionLog log;
  TerminalPage page(PageOptions{}, log);
  const std::shared_ptr<BrowserDocument> document = page.Window()->Document();
  ASSERT_TRUE(document->InsertLink(
      {u"QMKIT7587", u"https://x.example/?a=1&copy=2&b=3<", u"caf\u00e9", u"x"}));
  ASSERT_TRUE(document->ClickAnchor(u"QMKIT7587"));
  ASSERT_EQ(log.events().size(), 1u);
  const auto& fields = log.events()[0].fields;
  ASSERT_GE(fields.size(), 2u);
  EXPECT_EQ(fields[0].second, "https://x.example/?a=1&copy=2&b=3<");
  EXPECT_EQ(fields[1].second, "café");
}

}  // namespace
}  // namespace qm
