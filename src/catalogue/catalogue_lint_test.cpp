#include "catalogue/catalogue_lint.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "catalogue/site_entry.h"
#include "resource_ids.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace qm {
namespace {

using Findings = std::vector<LintFinding>;
using LineNumbers = std::vector<std::size_t>;

// A finding's message in Windows-1252, as the catalogue's own text is.
std::string Narrow(const LintFinding& f) { return Windows1252CodePage().ToNarrow(f.message); }

// "LINE: severity: message" per finding, for readable failures.
std::vector<std::string> Described(const Findings& findings) {
  std::vector<std::string> lines;
  for (const LintFinding& f : findings) {
    lines.push_back(std::to_string(f.line) + ": " + LintSeverityName(f.severity) + ": " +
                    Narrow(f));
  }
  return lines;
}

// The findings of `text` less those about whole entries (no action, no
// shortDescription), for the tests of lines, keys and values whose
// sections are bare.
Findings LintWithoutEntryFindings(std::string_view text) {
  Findings findings = LintCatalogue(text);
  std::erase_if(findings, [](const LintFinding& f) { return Narrow(f).starts_with("entry \""); });
  return findings;
}

// The line numbers of the findings whose message contains `part`.
LineNumbers LinesWith(const Findings& findings, std::string_view part) {
  LineNumbers lines;
  for (const LintFinding& f : findings) {
    if (Narrow(f).find(part) != std::string::npos) lines.push_back(f.line);
  }
  return lines;
}

TEST(CatalogueLint, CleanCatalogueHasNoFindings) {
  EXPECT_TRUE(LintCatalogue("").empty());
  EXPECT_TRUE(LintCatalogue("\r\n\n  \t\n# only comments\n; and these\n").empty());
  const Findings findings = LintCatalogue(
      "[BOOK:Shop]\n"
      "  ShortDescription=Shop\n"  // indented, any letter case
      "url=https://shop.example/?q=!s&r=!U&c=!F!L&n=\\!x&z=!!x\n"
      "URLENCODE=yes\nexclusive=0\ncharset= UTF-8 \nwindowName=\n"
      "MailBody=!S!-!O!o!u!w!W!h!H!d!D!t!T!f!l!C!c!I!i trailing !\n"
      // Every other key a site entry reads.
      "longDescription=x\nhref=x\ncommand=x\nMailTo=x\nMailCC=x\nMailBCC=x\n"
      "MailSubject=x\nleft=1\ntop=1\nwidth=1\nheight=1\nuseConsole=Y\nleaveConsole=t\n"
      "directories=T\nfullScreen=1\nlocation=N\nmenuBar=f\nresizable=F\n"
      "scrollBars=n\nstatus=y\ntoolBar=0\ndefaultSelected=true\n"
      "[Unit:TonUK]\ncategory=mass\na=1016.046909\ninvert=n\nten+0=long ton (UK),tonne\n"
      "ten-18=a\nten+18=b\n"
      "[SYSTEM:Home]\nurl=https://x.example/\n");
  EXPECT_TRUE(findings.empty()) << testing::PrintToString(Described(findings));
}

TEST(CatalogueLint, LinesTheParserDrops) {
  // Line numbers: CR, LF and CR LF each end one line.
  const Findings findings = LintWithoutEntryFindings(
      "url=before any header\r\n"   // 1
      "[BOOK:A]\r"                  // 2
      "no equals sign\n"            // 3
      "[BOOK:B\r\n"                 // 4: no "]"
      "[BOOK:C]  trailing words\n"  // 5
      "[BOOK:D] ; a comment\n"      // 6: a comment after "]" is fine
      "=url=x");                    // 7: last line, no line end
  EXPECT_EQ(LinesWith(findings, "before any section header"), LineNumbers{1});
  EXPECT_EQ(LinesWith(findings, "without \"=\""), LineNumbers{3});
  EXPECT_EQ(LinesWith(findings, "header without \"]\""), LineNumbers{4});
  EXPECT_EQ(LinesWith(findings, "text after \"]\" is ignored: \"trailing words\""),
            LineNumbers{5});
  // A leading "=" belongs to the key, which runs to the second "=".
  EXPECT_EQ(LinesWith(findings, "key \"=url\" is read by no entry"), LineNumbers{7});
  EXPECT_EQ(findings.size(), 5u) << testing::PrintToString(Described(findings));
}

TEST(CatalogueLint, SectionNames) {
  const Findings findings = LintWithoutEntryFindings(
      "[BOOK:Shop]\n"        // 1
      "[OTHER:x]\n"          // 2
      "[book:SHOP]\n"        // 3: replaces line 1
      "[OTHER:x]\n"          // 4: repeats line 2
      "[BOK:Typo]\n"         // 5
      "[ BOOK:Spaced]\n"     // 6
      "[]\n"                 // 7
      "[translate:lower]\n"  // 8: prefixes ignore letter case
      "[BOOK]\n");           // 9: no colon
  EXPECT_EQ(LinesWith(findings, "replaces section \"BOOK:Shop\" of line 1"),
            LineNumbers{3});
  EXPECT_EQ(LinesWith(findings, "repeats line 2"), LineNumbers{4});
  EXPECT_EQ(LinesWith(findings, "loaded by no command"), (LineNumbers{5, 6, 7, 9}));
  EXPECT_EQ(LinesWith(findings, "blank after \"[\""), LineNumbers{6});
  EXPECT_EQ(findings.size(), 6u) << testing::PrintToString(Described(findings));
}

TEST(CatalogueLint, SiteKeysAndValues) {
  const Findings findings = LintWithoutEntryFindings(
      "[URL:A]\n"                   // 1
      "url=https://a.example/\n"    // 2
      "URL=https://b.example/\n"    // 3: the same key
      "shortDescriptoin=typo\n"     // 4
      "url =https://c.example/\n"   // 5: the blank is part of the key
      "category=distance\n"         // 6: a unit key in a site section
      "exclusive=on\n"              // 7
      "URLEncode=off\n"             // 8
      "defaultSelected=\n"          // 9: empty keeps the default silently
      "charset=latin1\n"            // 10
      "[URL:B]\n"                   // 11: keys repeat only within a section
      "url=https://a.example/\n");  // 12
  EXPECT_EQ(LinesWith(findings, "repeats line 2"), LineNumbers{3});
  EXPECT_EQ(LinesWith(findings, "read by no entry"), (LineNumbers{4, 5, 6}));
  EXPECT_EQ(LinesWith(findings, "blanks before \"=\""), LineNumbers{5});
  // The message names the default that stays.
  EXPECT_EQ(LinesWith(findings, "\"exclusive\" value \"on\" decides nothing"),
            LineNumbers{7});
  EXPECT_EQ(LinesWith(findings, "the default, no, stays"), LineNumbers{7});
  EXPECT_EQ(LinesWith(findings, "the default, yes, stays"), LineNumbers{8});
  EXPECT_EQ(LinesWith(findings, "charset \"latin1\""), LineNumbers{10});
  EXPECT_EQ(findings.size(), 7u) << testing::PrintToString(Described(findings));
}

TEST(CatalogueLint, KnowsEveryKeyAnEntryReads) {
  // A key the entries learn to read must not be reported as unread.
  std::string text = "[BOOK:All]\n";
  for (const SiteEntryKey& key : SiteEntryKeys()) {
    text += std::string(key.name) + "=" + (key.name == "charset" ? "utf-8" : "y") + "\n";
  }
  for (const LintFinding& f : LintCatalogue(text)) {
    EXPECT_EQ(Narrow(f).find("is read by no entry"), std::string::npos) << f.line << ": " << Narrow(f);
  }
}

TEST(CatalogueLint, Placeholders) {
  const Findings findings = LintWithoutEntryFindings(
      "[SEARCH:A]\n"
      "url=https://a.example/#!/x?q=!s&y=!Y\n"  // 2: two unknown
      "href=!S\\!Z\n"                           // 3: escaped, fine
      "command=run !!Z\n"                       // 4: "!!" then "Z", fine
      "MailSubject=!x\n"                        // 5
      "MailTo=ends in !\n"                      // 6: a final "!" is text
      "longDescription=!x is no template\n"     // 7: not a template key
      "windowName=!x\n");                       // 8: nor this
  EXPECT_EQ(LinesWith(findings, "\"!/\", \"!Y\" are no placeholders"), LineNumbers{2});
  EXPECT_EQ(LinesWith(findings, "key \"MailSubject\": \"!x\" is no placeholder"),
            LineNumbers{5});
  EXPECT_EQ(findings.size(), 2u) << testing::PrintToString(Described(findings));
}

TEST(CatalogueLint, UnitSections) {
  const Findings findings = LintCatalogue(
      "[UNIT:NoCategory]\n"                                        // 1
      "ten+0=things\n"                                             // 2
      "[UNIT:EmptyCategory]\n"                                     // 3
      "category=\n"                                                // 4
      "ten+0=things\n"                                             // 5
      "[UNIT:Powers]\n"                                            // 6
      "category=stuff\n"                                           // 7
      "ten0=a\nten-0=b\nTEN+03=c\nten+19=d\nten-100000000000=e\n"  // 8-12
      "tenth=f\n"                                 // 13: no power key at all
      "ten+1= ,g\n"                               // 14: blank first name
      "ten+2=\n"                                  // 15: empty
      "a=big\nb=-273.15 K\n"                      // 16, 17: only the first is no number
      "invert=maybe\n"                            // 18
      "shortDescription=x\n"                      // 19: no unit section reads it
      "ten+3 =h\n"                                // 20
      "[UNIT:Fine]\ncategory=stuff\nten+0=i\n");  // 21-23
  EXPECT_EQ(LinesWith(findings, "has no category and defines no unit"),
            (LineNumbers{1, 3}));
  EXPECT_EQ(LinesWith(findings, "\"UNIT:Powers\" defines no unit: no power key"),
            LineNumbers{6});
  EXPECT_EQ(LinesWith(findings, "is not recognised: write it ten+0"),
            (LineNumbers{8, 9}));
  EXPECT_EQ(LinesWith(findings, "\"TEN+03\" is not recognised: write it ten+3"),
            LineNumbers{10});
  EXPECT_EQ(LinesWith(findings, "powers run from ten-18 to ten+18"),
            (LineNumbers{11, 12}));
  EXPECT_EQ(LinesWith(findings, "first name is blank"), (LineNumbers{14, 15}));
  EXPECT_EQ(LinesWith(findings, "\"a\" value \"big\" is no number; 1 stays"),
            LineNumbers{16});
  EXPECT_EQ(LinesWith(findings, "\"invert\" value \"maybe\""), LineNumbers{18});
  EXPECT_EQ(LinesWith(findings, "read by no unit section"), (LineNumbers{13, 19, 20}));
  EXPECT_EQ(LinesWith(findings, "blanks before \"=\""), LineNumbers{20});
  EXPECT_EQ(findings.size(), 15u) << testing::PrintToString(Described(findings));
}

// The messages that name what a unit section reads, in full.
TEST(CatalogueLint, UnitSectionMessagesNameTheKeysAndDefaults) {
  EXPECT_EQ(Described(LintCatalogue("[UNIT:U]\ncategory=c\nten+0=u\nb=x\ninvert=on\n"
                                    "tenth=f\n")),
            (std::vector<std::string>{
                "4: warning: key \"b\" value \"x\" is no number; 0 stays",
                "5: warning: flag \"invert\" value \"on\" decides nothing (the first character"
                " must be one of YyTt1NnFf0); the default, no, stays",
                "6: error: key \"tenth\" is read by no unit section (its keys are category, a,"
                " b, invert, regionalNames, regions and ten-18 ... ten+18)"}));
}

TEST(CatalogueLint, FindingsWithTheirSeverityAndLine) {
  using enum LintSeverity;
  using namespace std::string_literals;
  struct Case {
    std::string text;
    std::string_view part;  // of the message
    LineNumbers lines;      // of the findings with `part`; none for no finding
    LintSeverity severity;
  };
  // One site section per key that makes an entry act: none of them is idle.
  std::string one_action_each;
  for (std::string_view key :
       {"url", "HREF", "command", "MailTo", "MailCC", "MailBCC", "MailSubject", "MailBody"}) {
    one_action_each += "[OTHER:" + std::string(key) + "]\nshortDescription=x\n" +
                       std::string(key) + "=!s\n";
  }
  const Case cases[] = {
      // Entries that do nothing, or show a blank line in the list.
      {"[BOOK:A]\nshortDescription=A\nlongDescription=x\n", "does nothing when chosen",
       {1}, kWarning},
      {"[BOOK:A]\nshortDescription=A\nurl=\nurl =x\nMailTo=\n", "does nothing", {1},
       kWarning},  // an empty value, and a key that is not url
      {one_action_each, "does nothing", {}, kWarning},
      {"[SYSTEM:X]\n[UNIT:Y]\ncategory=c\nten+0=y\n[Bok:Z]\n", "entry", {}, kWarning},
      {"[URL:A]\nurl=x\n[URL:B]\nshortDescription=\nurl=x\n[URL:C]\n"
       "shortDescription=C\nshortdescription=\nurl=x\n",  // the later, empty value wins
       "has no shortDescription", {1, 3, 6}, kWarning},
      // UTF-8 where Windows-1252 is read: once per line, quoting the first.
      {"[BOOK:B\xC3\xBC" "cher]\nshortDescription=\xE2\x82\xAC \xC3\xBC\nurl=\xF0\x9F\x93\x9A\n"
       "# a comment in UTF-8 \xC3\xBC is never read\n",
       "looks like one character written in UTF-8", {1, 2, 3}, kWarning},
      {"[BOOK:A]\nshortDescription=x\nurl=x\xE2\x82\xAC\xC3\xBC\n", "\"\xE2\x82\xAC\" looks like",
       {3}, kWarning},
      // Windows-1252 text, truncated sequences, overlong forms, surrogates and
      // code points past U+10FFFF are no UTF-8.
      {"[BOOK:M\xFCnchen]\nshortDescription=\xB0" "C \xB5m \xC3 \xC3\n"
       "url=\xC0\xBC \xE0\x80\xAF \xED\xA0\x80 \xF0\x8F\xBF\xBF \xF4\x90\x80\x80 "
       "\xF5\x80\x80\x80 \xE2\x82\n",
       "UTF-8", {}, kWarning},
      {"[BOOK:A]\nshortDescription=A\nurl=x\0y\n"s, "NUL byte", {3}, kWarning},
      // The weight of the older findings.
      {"url=x\n[BOOK:A]\nno equals\nshortDescriptoin=A\n", "ignored", {1, 3}, kError},
      {"[BOOK:A]\nshortDescriptoin=A\n", "read by no entry", {2}, kError},
      {"[Bok:A]\n", "loaded by no command", {1}, kError},
      {"[UNIT:A]\ncategory=c\nten0=a\n", "defines no unit", {1}, kError},
      {"[BOOK:A]\nexclusive=on\n", "decides nothing", {2}, kWarning},
      {"[BOOK:A]\nurl=!q\n", "no placeholder", {2}, kWarning},
      {"[BOOK:A]\n[book:a]\n", "replaces", {2}, kWarning},
      {"[BOOK:A]\nurl=x\nURL=y\n", "repeats line 2", {3}, kNote},
  };
  for (const Case& c : cases) {
    const Findings findings = LintCatalogue(c.text);
    LineNumbers lines;
    for (const LintFinding& f : findings) {
      if (Narrow(f).find(c.part) == std::string::npos) continue;
      lines.push_back(f.line);
      EXPECT_EQ(f.severity, c.severity) << Narrow(f);
    }
    EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.text) << "\n"
                              << testing::PrintToString(Described(findings));
  }
}

TEST(CatalogueLint, BuiltInCataloguesHaveNoErrorOrWarning) {
  const FakeModuleEnvironment env;
  const Findings system = LintCatalogue(env.BuiltInFile(IDR_SYSTEM_CATALOGUE));
  EXPECT_TRUE(system.empty()) << testing::PrintToString(Described(system));
  // The first OTHER entry repeats shortDescription on purpose, to show that
  // the later value is the one in force: a note, and nothing else.
  const Findings findings = LintCatalogue(env.BuiltInFile(IDR_DEFAULT_CATALOGUE));
  ASSERT_EQ(findings.size(), 1u) << testing::PrintToString(Described(findings));
  EXPECT_EQ(findings[0].severity, LintSeverity::kNote);
  EXPECT_NE(Narrow(findings[0]).find("key \"shortDescription\" repeats line"),
            std::string::npos);
}

TEST(CatalogueLint, AnyBytesGiveFindingsWithinTheText) {
  // Random text over the bytes that matter to the format, NUL and high bytes
  // included: no crash, and every finding points at a line of the text.
  const std::string alphabet =
      std::string("[]=!\\#;\r\n \tabTEN+-0189,:", 24) + '\0' + "\xB0\xFF";
  std::mt19937 random(7);
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const std::size_t size = random() % 400;
    for (std::size_t k = 0; k < size; ++k) text += alphabet[random() % alphabet.size()];
    std::size_t lines = 1;
    for (std::size_t k = 0; k < text.size(); ++k) {
      if (text[k] == '\n' ||
          (text[k] == '\r' && (k + 1 == text.size() || text[k + 1] != '\n'))) {
        ++lines;
      }
    }
    for (const LintFinding& f : LintCatalogue(text)) {
      ASSERT_GE(f.line, 1u);
      ASSERT_LE(f.line, lines) << testing::PrintToString(text);
    }
  }
}

// Findings come out as they are made, in line order (the whole-section ones
// at their header, before the section's key lines); past the quota a kind is
// counted, not passed on.
TEST(CatalogueLint, StreamsFindingsAndCountsThoseOfAKindPastItsQuota) {
  std::string text;
  for (int k = 0; k < 30; ++k) text += "[\n";
  text += "[BOOK:A]\nx=1\n";
  Findings seen;
  const LintTally tally = LintCatalogue(text, Windows1252CodePage(), 3,
                                        [&](const LintFinding& f) { seen.push_back(f); });
  EXPECT_EQ(tally.errors, 30u + 1u);     // no command loads ""; x is read by none
  EXPECT_EQ(tally.warnings, 30u + 29u + 2u);  // no "]"; "" repeated; the entry
  EXPECT_EQ(tally.notes, 0u);
  std::vector<std::string> kinds;
  for (const LintFinding& f : seen) {
    kinds.push_back(std::to_string(f.line) + " " + LintKindName(f.kind));
  }
  EXPECT_EQ(kinds, (std::vector<std::string>{
                       "1 header without \"]\"", "1 section no command loads",
                       "2 header without \"]\"", "2 section replaced by a later one",
                       "2 section no command loads", "3 header without \"]\"",
                       "3 section replaced by a later one", "3 section no command loads",
                       "4 section replaced by a later one", "31 entry that does nothing",
                       "31 entry without shortDescription", "32 key nothing reads"}));
  ASSERT_EQ(tally.omitted.size(), 3u);
  const auto omitted = [&](std::size_t k) {
    const LintOmission& o = tally.omitted[k];
    return std::string(LintSeverityName(o.severity)) + " " + LintKindName(o.kind) + " " +
           std::to_string(o.first_line) + " " + std::to_string(o.count);
  };
  EXPECT_EQ(omitted(0), "warning header without \"]\" 4 27");
  EXPECT_EQ(omitted(1), "warning section replaced by a later one 5 26");
  EXPECT_EQ(omitted(2), "error section no command loads 4 27");
}

// A file that begins with the UTF-8 byte-order mark is read as UTF-8 in the
// system code page: a note says so, its text is quoted converted, and its
// characters are no longer taken for stray UTF-8.
TEST(CatalogueLint, ByteOrderMarkIsNotedAndTheTextConverted) {
  EXPECT_EQ(Described(LintCatalogue("\xEF\xBB\xBF[BOOK:B\xC3\xBC]\r\n"
                                    "shortDescription=\xE2\x82\xAC\r\nurl=x\r\n"
                                    // A-tilde and a quarter sign: C3 BC once converted.
                                    "longDescription=\xC3\x83\xC2\xBC\r\n"
                                    "[book:b\xC3\xBC]\nshortDescription=\xE4\xB8\xAD\n"
                                    "url=x\n\xC3\xA9=1\n")),
            (std::vector<std::string>{
                "1: note: the file begins with the UTF-8 byte-order mark, so it is read as"
                " UTF-8 and converted to the system code page; characters that code page"
                " cannot hold become \"?\"",
                "5: warning: section \"book:b\xFC\" replaces section \"BOOK:B\xFC\" of line 1"
                " wholesale (section names ignore letter case)",
                "6: warning: \"?\" and any other character that Windows-1252 cannot hold"
                " become \"?\" when the catalogue is read",
                "8: error: key \"\xE9\" is read by no entry"}));
  // A mark anywhere else is three bytes of text.
  EXPECT_EQ(LinesWith(LintCatalogue("[BOOK:A]\nshortDescription=\xEF\xBB\xBF\nurl=x\n"),
                      "looks like one character"),
            LineNumbers{2});
}

// In a file saved as UTF-8 each line that holds a character Windows-1252
// lacks is pointed out once, quoting the first such character as written:
// reading turns it into "?". A file without the mark is read byte for byte
// and loses nothing.
TEST(CatalogueLint, CharactersTheCodePageCannotHoldInAUtf8File) {
  const std::string text =
      "\xEF\xBB\xBF[BOOK:A]\r\n"
      "shortDescription=Caf\xC3\xA9 \xE2\x82\xAC ? held\r\n"       // 2: all held
      "longDescription=x \xE6\x9D\xB1\xE4\xBA\xAC\n"                // 3: two, once
      "# \xF0\x9F\x93\x9A in a comment\r"                            // 4: a pair
      "url=https://a.example/?q=!s&x=\xFF\n";                      // 5: malformed
  std::vector<std::pair<std::size_t, std::u16string>> unheld;
  for (const LintFinding& f : LintCatalogue(text)) {
    if (f.kind != LintKind::kUnheldCharacter) continue;
    EXPECT_EQ(f.severity, LintSeverity::kWarning);
    unheld.push_back({f.line, f.message.substr(0, f.message.find(u" and any"))});
  }
  EXPECT_EQ(unheld, (std::vector<std::pair<std::size_t, std::u16string>>{
                        {3, u"\"\u6771\""}, {4, u"\"\U0001F4DA\""}, {5, u"\"\uFFFD\""}}));
  for (const LintFinding& f : LintCatalogue(text.substr(3))) {
    EXPECT_NE(f.kind, LintKind::kUnheldCharacter) << f.line;
  }

  // A long run is cut short like any other kind.
  std::string many = "\xEF\xBB\xBF";
  for (int k = 0; k < 25; ++k) many += "# \xE4\xB8\xAD\n";
  std::size_t shown = 0;
  const LintTally tally = LintCatalogue(many, Windows1252CodePage(), 20,
                                        [&](const LintFinding&) { ++shown; });
  EXPECT_EQ(shown, 1u + 20u);  // the note on the mark, then 20 of 25
  EXPECT_EQ(tally.warnings, 25u);
  ASSERT_EQ(tally.omitted.size(), 1u);
  EXPECT_EQ(tally.omitted[0].kind, LintKind::kUnheldCharacter);
  EXPECT_EQ(tally.omitted[0].first_line, 21u);
  EXPECT_EQ(tally.omitted[0].count, 5u);
}

}  // namespace
}  // namespace qm
