// The compiled-in public-suffix rules against the dated copy of the list in
// tests/data, and RegistrableDomain against answers for real hosts computed
// apart from the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "actions/public_suffix_table.h"
#include "actions/punycode.h"
#include "actions/registrable_domain.h"
#include "text/utf8.h"

namespace qm {
namespace {

std::vector<std::string> ReadLines(const std::string& name) {
  const std::string path = std::string(QM_TEST_DATA_DIR) + "/" + name;
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << "cannot read " << path;
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// A rule name of the list in the table's form: each label beyond ASCII as
// "xn--" and its punycode.
std::string AsciiName(const std::string& utf8) {
  std::string name;
  std::size_t from = 0;
  for (;;) {
    const std::size_t dot = utf8.find('.', from);
    const std::string label = utf8.substr(from, dot == utf8.npos ? utf8.npos : dot - from);
    const bool ascii = std::all_of(label.begin(), label.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (ascii) {
      name += label;
    } else {
      name += "xn--";
      EXPECT_TRUE(EncodePunycode(FromUtf8(label), &name)) << utf8;
    }
    if (dot == utf8.npos) return name;
    name += '.';
    from = dot + 1;
  }
}

// Every rule of the ICANN section is in the table with its kind, every name
// a longer one ends in says so, and the table holds nothing else: a rule
// lost or added by hand, a wrong kind or a botched punycode label shows up
// as the name that differs.
TEST(PublicSuffixData, TableHoldsTheListsRules) {
  std::map<std::string, unsigned> listed;
  bool inside = false, ended = false;
  for (const std::string& line : ReadLines("public_suffix_list_icann.dat")) {
    if (line.find("===BEGIN ICANN DOMAINS===") != line.npos) inside = true;
    if (line.find("===END ICANN DOMAINS===") != line.npos) ended = true;
    if (!inside || ended || line.empty() || line.starts_with("//")) continue;
    std::string rule = line.substr(0, line.find_first_of(" \t"));
    unsigned kind = kPublicSuffixName;
    if (rule.starts_with("!")) {
      kind = kPublicSuffixException;
      rule.erase(0, 1);
    } else if (rule.starts_with("*.")) {
      kind = kPublicSuffixWildcard;
      rule.erase(0, 2);
    }
    listed[AsciiName(rule)] |= kind;
  }
  ASSERT_TRUE(ended);
  ASSERT_GT(listed.size(), 7000u);

  // Every name that a longer listed name ends in.
  std::map<std::string, unsigned> expected = listed;
  for (const auto& [name, kinds] : listed) {
    for (std::size_t dot = name.find('.'); dot != name.npos; dot = name.find('.', dot + 1)) {
      expected[name.substr(dot + 1)] |= kPublicSuffixHasLonger;
    }
  }

  const PublicSuffixTable table = ThePublicSuffixTable();
  std::map<std::string, unsigned> compiled;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (i > 0) {
      EXPECT_LT(table.name(i - 1), table.name(i)) << "not sorted at " << i;
    }
    compiled[std::string(table.name(i))] = table.kinds(i);
  }
  for (const auto& [name, kinds] : expected) {
    const auto it = compiled.find(name);
    if (it == compiled.end()) {
      ADD_FAILURE() << name << " is missing from the table";
    } else {
      EXPECT_EQ(it->second, kinds) << "the kinds of " << name;
      EXPECT_EQ(table.KindsOf(name), kinds) << name;
    }
  }
  for (const auto& [name, kinds] : compiled) {
    EXPECT_TRUE(expected.count(name)) << name << " is in the table but not in the list";
  }
  EXPECT_EQ(table.KindsOf("no-such-name.example"), 0u);

  // The lookup reads as many trailing labels as the longest rule has.
  int longest = 0;
  for (const auto& [name, kinds] : listed) {
    const int labels = static_cast<int>(std::count(name.begin(), name.end(), '.')) + 1 +
                       ((kinds & kPublicSuffixWildcard) ? 1 : 0);
    longest = std::max(longest, labels);
  }
  EXPECT_EQ(longest, kPublicSuffixMaxRuleLabels);
}

// Real hosts of many countries: the registrable domain the list gives each.
TEST(PublicSuffixData, PopularHostsAgreeWithTheList) {
  int rows = 0;
  for (const std::string& line : ReadLines("popular_hosts.tsv")) {
    if (line.empty() || line.front() == '#') continue;
    const std::size_t tab = line.find('\t');
    ASSERT_NE(tab, line.npos) << line;
    ++rows;
    EXPECT_EQ(ToUtf8(RegistrableDomain(FromUtf8(line.substr(0, tab)))), line.substr(tab + 1))
        << line.substr(0, tab);
  }
  EXPECT_EQ(rows, 132);
}

}  // namespace
}  // namespace qm
