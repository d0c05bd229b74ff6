// Parses arbitrary bytes as a catalogue and checks the model against a plain
// reference reading of the format, plus the ordering and lookup guarantees
// the rest of the system relies on. The first byte picks the category prefix
// and the rest is the text ("0" none, "1" BOOK:, "2" unit:, "3" B, and so on
// modulo 4, so seed files stay readable).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <utility>

#include "catalogue/catalogue_parser.h"
#include "catalogue/site_catalogue.h"
#include "text/ascii_fold.h"
#include "text/number_scan.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "catalogue invariant broken: %s\n", what);
  std::abort();
}

// Folding written out again here, so that a fault in the shared helpers
// cannot hide itself.
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

std::string Lowered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string Uppered(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = Upper(c);
  return out;
}

int Sign(int v) { return (v > 0) - (v < 0); }

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The format read the slow, obvious way: sections keyed by folded name,
// keys in a byte-ordered map. std::string compares bytes as unsigned.
struct ReferenceSection {
  std::string name;
  std::map<std::string, std::string> values;
};
using Reference = std::map<std::string, ReferenceSection>;

Reference ReadReference(std::string_view text, std::string_view prefix) {
  Reference sections;
  ReferenceSection* current = nullptr;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skip_line = [&] {
    while (i < n && !IsLineEnd(text[i])) ++i;
  };
  while (i < n) {
    const char c = text[i];
    if (c == ' ' || c == '\t' || IsLineEnd(c)) {
      ++i;
    } else if (c == '#' || c == ';') {
      skip_line();
    } else if (c == '[') {
      current = nullptr;
      const std::size_t start = ++i;
      while (i < n && text[i] != ']' && !IsLineEnd(text[i])) ++i;
      const std::string name(text.substr(start, i - start));
      if (name.size() >= prefix.size() &&
          Lowered(name.substr(0, prefix.size())) == Lowered(prefix)) {
        ReferenceSection& s = sections[Lowered(name)];
        s.name = name;
        s.values.clear();
        current = &s;
      }
      if (i < n && text[i] == ']') skip_line();
    } else {
      const std::size_t key_start = i++;
      while (i < n && text[i] != '=' && !IsLineEnd(text[i])) ++i;
      if (i == n || text[i] != '=') continue;
      const std::size_t key_end = i++;
      const std::size_t value_start = i;
      skip_line();
      if (current != nullptr) {
        current->values[Lowered(text.substr(key_start, key_end - key_start))] =
            std::string(text.substr(value_start, i - value_start));
      }
    }
  }
  return sections;
}

bool ExpectedBool(std::string_view value, bool fallback) {
  if (value.empty()) return fallback;
  switch (value.front()) {
    case 'Y': case 'y': case 'T': case 't': case '1': return true;
    case 'N': case 'n': case 'F': case 'f': case '0': return false;
    default: return fallback;
  }
}

bool SameDouble(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

void CheckQueries(const qm::CatalogueSection& section, std::string_view key,
                  const std::string* expected) {
  constexpr std::string_view kMissing = "\x01missing";
  const std::string got = section.GetString(key, kMissing);
  if (expected == nullptr) {
    Require(got == kMissing, "GetString of an absent key gives the fallback");
    Require(!section.HasValue(key), "HasValue of an absent key");
    Require(section.GetBool(key, true) && !section.GetBool(key, false),
            "GetBool of an absent key gives the fallback");
    Require(section.GetNumber(key, -7.5) == -7.5,
            "GetNumber of an absent key gives the fallback");
    return;
  }
  Require(got == *expected, "GetString gives the stored value");
  Require(section.HasValue(key) == !expected->empty(),
          "HasValue is true exactly for a non-empty value");
  Require(section.GetBool(key, false) == ExpectedBool(*expected, false) &&
              section.GetBool(key, true) == ExpectedBool(*expected, true),
          "GetBool decides by the first character");
  double number = 0;
  std::size_t consumed = 0;
  const double want =
      qm::ScanDouble(*expected, &number, &consumed) ? number : -7.5;
  Require(SameDouble(section.GetNumber(key, -7.5), want),
          "GetNumber reads the value as ScanDouble does");
}

constexpr std::string_view kPrefixes[] = {"", "BOOK:", "unit:", "B"};
constexpr std::string_view kProbeKeys[] = {
    "shortDescription", "url", "a", "=", "", "DEFAULTSELECTED", "ten+0"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  const std::string_view prefix = size == 0 ? "" : kPrefixes[data[0] % 4];
  const std::string_view text =
      size == 0 ? std::string_view()
                : std::string_view(reinterpret_cast<const char*>(data) + 1,
                                   size - 1);

  qm::SiteCatalogue catalogue;
  qm::ParseCatalogue(std::string(text), prefix, catalogue);
  const Reference reference = ReadReference(text, prefix);

  Require(catalogue.size() == reference.size(), "section count");
  Require(catalogue.empty() == reference.empty(), "empty()");
  const auto sections = catalogue.Sections();
  Require(sections.size() == catalogue.size(), "Sections() lists every section");

  auto ref = reference.begin();
  std::string_view previous_name;
  for (std::size_t index = 0; index < sections.size(); ++index, ++ref) {
    const qm::CatalogueSection& section = sections[index];
    const std::string_view name = section.name();

    Require(name == ref->second.name, "name as written in the last header");
    Require(name.size() >= prefix.size() &&
                Lowered(name.substr(0, prefix.size())) == Lowered(prefix),
            "name begins with the prefix");
    Require(name.find_first_of("]\r\n") == std::string_view::npos,
            "name holds no ] or line end");
    if (index > 0) {
      const int folded = qm::CompareFolded(previous_name, name);
      Require(folded < 0, "names strictly increase under folding");
      Require(Sign(folded) == Sign(Lowered(previous_name).compare(Lowered(name))),
              "CompareFolded agrees with folding byte by byte");
    }
    previous_name = name;

    for (const std::string& spelling :
         {std::string(name), Lowered(name), Uppered(name)}) {
      qm::CatalogueSection found(std::string_view(), nullptr, 0);
      Require(catalogue.Find(spelling, &found), "Find in any letter case");
      Require(found.name() == name && found.begin() == section.begin() &&
                  found.size() == section.size(),
              "Find gives the same section");
    }

    Require(section.size() == ref->second.values.size(), "key count");
    auto ref_value = ref->second.values.begin();
    std::string_view previous_key;
    bool first_key = true;
    for (const qm::CatalogueValue& v : section) {
      Require(v.key == ref_value->first && v.value == ref_value->second,
              "key and value as the reference reads them");
      Require(!v.key.empty(), "a stored key is never empty");
      Require(Lowered(v.key) == v.key, "a stored key holds no A-Z");
      Require(v.key.find_first_of("\r\n") == std::string_view::npos &&
                  v.value.find_first_of("\r\n") == std::string_view::npos,
              "no line end in a key or value");
      Require(v.key.find('=', 1) == std::string_view::npos,
              "only a key's first character may be =");
      Require(first_key || previous_key < v.key, "keys strictly increase");
      previous_key = v.key;
      first_key = false;

      CheckQueries(section, v.key, &ref_value->second);
      CheckQueries(section, Uppered(v.key), &ref_value->second);
      ++ref_value;
    }
    for (std::string_view probe : kProbeKeys) {
      const auto it = ref->second.values.find(Lowered(probe));
      CheckQueries(section, probe,
                   it == ref->second.values.end() ? nullptr : &it->second);
    }
  }
  return 0;
}
