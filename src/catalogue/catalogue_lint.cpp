#include "catalogue/catalogue_lint.h"

#include <algorithm>
#include <map>
#include <span>
#include <utility>

#include "catalogue/site_entry.h"
#include "text/ascii_fold.h"
#include "text/number_scan.h"

namespace qm {
namespace {

constexpr std::string_view kCategoryPrefixes[] = {
    "BOOK:",   "CURRENCY:", "EMAIL:",     "ISBN:", "MOVIE:", "MUSIC:", "OTHER:",
    "SEARCH:", "STOCK:",    "TRANSLATE:", "UPC:",  "URL:",   "UNIT:",  "SYSTEM:"};

constexpr std::string_view kUnitPrefix = "UNIT:";

// The characters that make a placeholder after "!".
constexpr std::string_view kPlaceholders = "!Ss-OouUwWhHdDtTFfLlCcIi";

constexpr std::string_view kFlagFirstCharacters = "YyTt1NnFf0";

constexpr int kLowestPower = -18;
constexpr int kHighestPower = 18;

enum class KeyKind { kText, kTemplate, kFlag, kCharset, kNumber, kCategory };

struct KnownKey {
  std::string_view name;
  KeyKind kind;
  // A site entry's flag, whose default a value that decides nothing keeps.
  bool SiteEntry::*flag = nullptr;
  // Otherwise what stays then, as the author would write it.
  std::string_view fallback = {};
};

// The keys a site entry reads.
constexpr KnownKey kSiteKeys[] = {
    {"shortDescription", KeyKind::kText},
    {"longDescription", KeyKind::kText},
    {"url", KeyKind::kTemplate},
    {"href", KeyKind::kTemplate},
    {"command", KeyKind::kTemplate},
    {"MailTo", KeyKind::kTemplate},
    {"MailCC", KeyKind::kTemplate},
    {"MailBCC", KeyKind::kTemplate},
    {"MailSubject", KeyKind::kTemplate},
    {"MailBody", KeyKind::kTemplate},
    {"windowName", KeyKind::kText},
    {"left", KeyKind::kText},
    {"top", KeyKind::kText},
    {"width", KeyKind::kText},
    {"height", KeyKind::kText},
    {"useConsole", KeyKind::kFlag, &SiteEntry::useConsole},
    {"leaveConsole", KeyKind::kFlag, &SiteEntry::leaveConsole},
    {"URLEncode", KeyKind::kFlag, &SiteEntry::URLEncode},
    {"directories", KeyKind::kFlag, &SiteEntry::directories},
    {"fullScreen", KeyKind::kFlag, &SiteEntry::fullScreen},
    {"location", KeyKind::kFlag, &SiteEntry::location},
    {"menuBar", KeyKind::kFlag, &SiteEntry::menuBar},
    {"resizable", KeyKind::kFlag, &SiteEntry::resizable},
    {"scrollBars", KeyKind::kFlag, &SiteEntry::scrollBars},
    {"status", KeyKind::kFlag, &SiteEntry::status},
    {"toolBar", KeyKind::kFlag, &SiteEntry::toolBar},
    {"exclusive", KeyKind::kFlag, &SiteEntry::exclusive},
    {"defaultSelected", KeyKind::kFlag, &SiteEntry::defaultSelected},
    {"charset", KeyKind::kCharset},
};

// The keys a unit section reads besides its power keys.
constexpr KnownKey kUnitKeys[] = {
    {"category", KeyKind::kCategory},
    {"a", KeyKind::kNumber, nullptr, "1"},
    {"b", KeyKind::kNumber, nullptr, "0"},
    {"invert", KeyKind::kFlag, nullptr, "no"},
};

const KnownKey* FindKey(std::span<const KnownKey> keys, std::string_view key) {
  for (const KnownKey& k : keys) {
    if (CompareFolded(k.name, key) == 0) return &k;
  }
  return nullptr;
}

std::string Quoted(std::string_view text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// True when the first name of a power key's list is empty or blank: then
// the power defines no unit, and none of its later names is indexed.
bool FirstNameBlank(std::string_view names) {
  return TrimBlanks(names.substr(0, names.find(','))).empty();
}

std::string PowerKey(int power) {
  std::string key = "ten";
  key += power < 0 ? '-' : '+';
  key += std::to_string(power < 0 ? -power : power);
  return key;
}

// What a key that looks like a power key ("ten", optional sign, digits)
// amounts to.
enum class PowerSpelling { kNone, kValid, kMalformed, kOutOfRange };

PowerSpelling ReadPowerKey(std::string_view folded_key, int* power) {
  if (folded_key.substr(0, 3) != "ten") return PowerSpelling::kNone;
  std::string_view rest = folded_key.substr(3);
  bool negative = false;
  if (!rest.empty() && (rest.front() == '+' || rest.front() == '-')) {
    negative = rest.front() == '-';
    rest.remove_prefix(1);
  }
  if (rest.empty()) return PowerSpelling::kNone;
  int magnitude = 0;
  for (const char c : rest) {
    if (c < '0' || c > '9') return PowerSpelling::kNone;
    // Anything past the range is out of range however long it is.
    magnitude = std::min(magnitude * 10 + (c - '0'), 1000);
  }
  *power = negative ? -magnitude : magnitude;
  if (*power < kLowestPower || *power > kHighestPower) {
    return PowerSpelling::kOutOfRange;
  }
  return PowerKey(*power) == folded_key ? PowerSpelling::kValid
                                        : PowerSpelling::kMalformed;
}

class Linter {
 public:
  void Line(std::size_t number, std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || line.front() == '#' || line.front() == ';') return;
    if (line.front() == '[') {
      Header(number, line.substr(1));
    } else {
      KeyLine(number, line);
    }
  }

  std::vector<LintFinding> Finish() {
    CloseSection();
    std::stable_sort(
        findings_.begin(), findings_.end(),
        [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    return std::move(findings_);
  }

 private:
  struct KeyRecord {
    std::size_t line = 0;
    std::string_view value;
  };

  struct Section {
    std::string_view name;
    std::size_t line = 0;
    bool unit = false;
    std::map<std::string, KeyRecord, std::less<>> keys;  // by folded key
  };

  void Report(std::size_t line, std::string message) {
    findings_.push_back({line, std::move(message)});
  }

  void Header(std::size_t number, std::string_view rest) {
    CloseSection();
    const std::size_t close = rest.find(']');
    const std::string_view name = rest.substr(0, close);
    if (close == std::string_view::npos) {
      Report(number,
             "header without \"]\": the section name runs to the end of the line");
    } else {
      const std::string_view after = TrimBlanks(rest.substr(close + 1));
      if (!after.empty() && after.front() != '#' && after.front() != ';') {
        Report(number, "text after \"]\" is ignored: " + Quoted(after));
      }
    }

    const std::string folded = FoldAsciiCopy(name);
    if (const auto it = names_.find(folded); it != names_.end()) {
      const auto& [line, earlier] = it->second;
      if (earlier == name) {
        Report(number, "section " + Quoted(name) + " repeats line " +
                           std::to_string(line) + " and replaces that section wholesale");
      } else {
        Report(number, "section " + Quoted(name) + " replaces section " +
                           Quoted(earlier) + " of line " + std::to_string(line) +
                           " wholesale (section names ignore letter case)");
      }
    }
    names_[folded] = {number, name};

    const bool selected = std::any_of(
        std::begin(kCategoryPrefixes), std::end(kCategoryPrefixes),
        [&](std::string_view prefix) { return StartsWithFolded(name, prefix); });
    if (!selected) {
      std::string message = "section " + Quoted(name) + " is loaded by no command: ";
      if (!name.empty() && IsBlank(name.front())) {
        message += "the blank after \"[\" is part of its name";
      } else {
        message += "its name must begin with one of";
        for (std::string_view prefix : kCategoryPrefixes) {
          message += ' ';
          message += prefix;
        }
      }
      Report(number, std::move(message));
    }

    section_ = Section{name, number, StartsWithFolded(name, kUnitPrefix), {}};
    has_section_ = true;
  }

  void KeyLine(std::size_t number, std::string_view line) {
    // The first character belongs to the key even when it is "=".
    const std::size_t equals = line.find('=', 1);
    if (equals == std::string_view::npos) {
      Report(number, "line without \"=\" is ignored");
      return;
    }
    if (!has_section_) {
      Report(number, "key line before any section header is ignored");
      return;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    std::string folded = FoldAsciiCopy(key);

    if (const auto it = section_.keys.find(folded); it != section_.keys.end()) {
      Report(number, "key " + Quoted(key) + " repeats line " +
                         std::to_string(it->second.line) + "; the later value wins");
    }
    section_.keys[folded] = {number, value};

    if (section_.unit) {
      UnitKey(number, key, folded, value);
    } else {
      SiteKey(number, key, value);
    }
  }

  void SiteKey(std::size_t number, std::string_view key, std::string_view value) {
    const KnownKey* known = FindKey(kSiteKeys, key);
    if (known == nullptr) {
      std::string message = "key " + Quoted(key) + " is read by no entry";
      if (FindKey(kSiteKeys, TrimBlanks(key)) != nullptr) {
        message += ": blanks before \"=\" belong to the key";
      }
      Report(number, std::move(message));
      return;
    }
    CheckValue(number, *known, key, value);
  }

  void UnitKey(std::size_t number, std::string_view key, const std::string& folded,
               std::string_view value) {
    if (const KnownKey* known = FindKey(kUnitKeys, key)) {
      CheckValue(number, *known, key, value);
      return;
    }
    int power = 0;
    switch (ReadPowerKey(folded, &power)) {
      case PowerSpelling::kValid:
        if (FirstNameBlank(value)) {
          Report(number, "power key " + Quoted(key) +
                             " defines no unit: its first name is blank");
        }
        return;
      case PowerSpelling::kMalformed:
        Report(number, "power key " + Quoted(key) + " is not recognised: write it " +
                           PowerKey(power));
        return;
      case PowerSpelling::kOutOfRange:
        Report(number, "power key " + Quoted(key) + " is ignored: powers run from " +
                           PowerKey(kLowestPower) + " to " + PowerKey(kHighestPower));
        return;
      case PowerSpelling::kNone:
        break;
    }
    const std::string_view trimmed = TrimBlanks(key);
    int ignored = 0;
    std::string message = "key " + Quoted(key) + " is read by no unit section";
    if (trimmed != key &&
        (FindKey(kUnitKeys, trimmed) != nullptr ||
         ReadPowerKey(FoldAsciiCopy(trimmed), &ignored) == PowerSpelling::kValid)) {
      message += ": blanks before \"=\" belong to the key";
    } else {
      message += " (its keys are category, a, b, invert and " + PowerKey(kLowestPower) +
                 " ... " + PowerKey(kHighestPower) + ")";
    }
    Report(number, std::move(message));
  }

  void CheckValue(std::size_t number, const KnownKey& known, std::string_view key,
                  std::string_view value) {
    switch (known.kind) {
      case KeyKind::kFlag:
        if (!value.empty() &&
            kFlagFirstCharacters.find(value.front()) == std::string_view::npos) {
          const std::string_view fallback =
              known.flag ? (SiteEntry{}.*known.flag ? "yes" : "no") : known.fallback;
          Report(number, "flag " + Quoted(key) + " value " + Quoted(value) +
                             " decides nothing (the first character must be one of " +
                             std::string(kFlagFirstCharacters) + "); the default, " +
                             std::string(fallback) + ", stays");
        }
        break;
      case KeyKind::kCharset: {
        const std::string_view name = TrimBlanks(value);
        if (!name.empty() && CompareFolded(name, "utf-8") != 0 &&
            CompareFolded(name, "windows-1252") != 0) {
          Report(number, "charset " + Quoted(value) +
                             " is neither utf-8 nor windows-1252; windows-1252 stays");
        }
        break;
      }
      case KeyKind::kNumber: {
        double number_value = 0;
        std::size_t consumed = 0;
        if (!value.empty() && !ScanDouble(value, &number_value, &consumed)) {
          Report(number, "key " + Quoted(key) + " value " + Quoted(value) +
                             " is no number; " + std::string(known.fallback) + " stays");
        }
        break;
      }
      case KeyKind::kTemplate:
        CheckTemplate(number, key, value);
        break;
      case KeyKind::kText:
      case KeyKind::kCategory:
        break;
    }
  }

  // Reads the template as the expansion does: "\x" and "!x" each take two
  // characters, so "\!x" and "!!x" hold no placeholder "!x".
  void CheckTemplate(std::size_t number, std::string_view key, std::string_view value) {
    std::string unknown;
    int count = 0;
    for (std::size_t i = 0; i + 1 < value.size();) {
      if (value[i] == '!' && kPlaceholders.find(value[i + 1]) == std::string_view::npos) {
        unknown += count++ == 0 ? "" : ", ";
        unknown += Quoted(value.substr(i, 2));
      }
      i += (value[i] == '!' || value[i] == '\\') ? 2 : 1;
    }
    if (count > 0) {
      Report(number, "key " + Quoted(key) + ": " + unknown +
                         (count == 1 ? " is no placeholder and stays"
                                     : " are no placeholders and stay") +
                         " as written (\"!!\" gives a \"!\")");
    }
  }

  void CloseSection() {
    if (!has_section_) return;
    has_section_ = false;
    if (!section_.unit) return;
    const auto category = section_.keys.find("category");
    if (category == section_.keys.end() || category->second.value.empty()) {
      Report(section_.line, "unit section " + Quoted(section_.name) +
                                " has no category and defines no unit");
      return;
    }
    for (const auto& [folded, record] : section_.keys) {
      int power = 0;
      if (ReadPowerKey(folded, &power) == PowerSpelling::kValid &&
          !FirstNameBlank(record.value)) {
        return;
      }
    }
    Report(section_.line, "unit section " + Quoted(section_.name) +
                              " defines no unit: no power key " + PowerKey(kLowestPower) +
                              " ... " + PowerKey(kHighestPower) + " names one");
  }

  std::vector<LintFinding> findings_;
  // Every section name so far, by folded name: the line and the name as
  // written.
  std::map<std::string, std::pair<std::size_t, std::string_view>, std::less<>> names_;
  Section section_;
  bool has_section_ = false;
};

}  // namespace

std::vector<LintFinding> LintCatalogue(std::string_view text) {
  Linter linter;
  std::size_t number = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    linter.Line(number++, text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) linter.Line(number, text.substr(start));
  return linter.Finish();
}

}  // namespace qm
