#include "catalogue/catalogue_lint.h"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <span>
#include <utility>
#include <vector>

#include "actions/template_expansion.h"
#include "catalogue/catalogue_categories.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue/site_catalogue.h"
#include "catalogue/site_entry.h"
#include "text/ascii_fold.h"
#include "text/number_format.h"
#include "text/number_scan.h"
#include "text/utf8.h"
#include "text/windows_1252.h"
#include "units/unit_table.h"

namespace qm {
namespace {

// The names of the kinds, in the order LintKind declares them.
constexpr const char* kKindNames[] = {
    "catalogue read as UTF-8",
    "character the code page cannot hold",
    "text that looks like UTF-8",
    "header without \"]\"",
    "text after a header's \"]\"",
    "section replaced by a later one",
    "section no command loads",
    "line without \"=\"",
    "key line before any header",
    "key given twice",
    "NUL byte in a value",
    "key nothing reads",
    "unusable power key",
    "value that decides nothing",
    "unknown placeholder",
    "entry that does nothing",
    "entry without shortDescription",
    "unit section that defines no unit",
};
constexpr std::size_t kKindCount = std::size(kKindNames);
static_assert(kKindCount == static_cast<std::size_t>(LintKind::kUnitDefinesNothing) + 1,
              "one name for each kind");

constexpr int kLowestPower = kLowestUnitPower;
constexpr int kHighestPower = kHighestUnitPower;

enum class KeyKind { kText, kTemplate, kFlag, kCharset, kNumber, kCategory };

struct KnownKey {
  std::string_view name;
  KeyKind kind;
  // What stays when the value decides nothing, as the author would write it.
  std::string fallback = {};
};

std::string FlagText(bool value) { return value ? "yes" : "no"; }

// The keys a unit section reads besides its power keys.
std::span<const KnownKey> UnitKeys() {
  const UnitSectionKeys& k = kUnitSectionKeys;
  static const KnownKey keys[] = {
      {k.category, KeyKind::kCategory},
      {k.scale, KeyKind::kNumber, FormatG(k.default_scale)},
      {k.offset, KeyKind::kNumber, FormatG(k.default_offset)},
      {k.invert, KeyKind::kFlag, FlagText(k.default_invert)},
      {k.regional_names, KeyKind::kText},
      {k.regions, KeyKind::kText},
  };
  return keys;
}

const KnownKey* FindKey(std::span<const KnownKey> keys, std::string_view key) {
  for (const KnownKey& k : keys) {
    if (CompareFolded(k.name, key) == 0) return &k;
  }
  return nullptr;
}

// A key a site entry reads, as the linter checks it: the entry's flags keep
// their defaults when a value decides nothing.
std::optional<KnownKey> FindSiteKey(std::string_view key) {
  for (const SiteEntryKey& k : SiteEntryKeys()) {
    if (CompareFolded(k.name, key) != 0) continue;
    switch (k.kind) {
      case SiteEntryKeyKind::kText: return KnownKey{k.name, KeyKind::kText};
      case SiteEntryKeyKind::kTemplate: return KnownKey{k.name, KeyKind::kTemplate};
      case SiteEntryKeyKind::kFlag:
        return KnownKey{k.name, KeyKind::kFlag, FlagText(SiteEntry{}.*k.flag)};
      case SiteEntryKeyKind::kCharset: return KnownKey{k.name, KeyKind::kCharset};
    }
  }
  return std::nullopt;
}

// Calls `line` with each line of `text` in order, without its end: CR, LF
// and the pair CR LF each end one line, and so does the end of the text
// after a last line that has no end of its own.
template <typename LineFunction>
void ForEachLine(std::string_view text, const LineFunction& line) {
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c != '\r' && c != '\n') continue;
    line(text.substr(start, i - start));
    if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) line(text.substr(start));
}

bool IsComment(char first) {
  return kCatalogueCommentCharacters.find(first) != std::string_view::npos;
}

// The first character of `line` (UTF-8) that `code_page` cannot hold, which
// reading the catalogue turns into "?"; empty when there is none. A
// malformed sequence counts as one such character (U+FFFD).
std::u16string FirstUnheldCharacter(std::string_view line, const CodePage& code_page) {
  const std::u16string text = FromUtf8(line);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const bool pair = i + 1 < text.size() && text[i] >= 0xD800 && text[i] <= 0xDBFF &&
                      text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
    const std::u16string_view character(text.data() + i, pair ? 2 : 1);
    if (character != u"?" && code_page.ToNarrow(character) == "?") {
      return std::u16string(character);
    }
    if (pair) ++i;
  }
  return {};
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

// The length of the well-formed UTF-8 sequence of two or more bytes that
// begins `text`, or 0 when there is none. Overlong forms, surrogates and
// code points past U+10FFFF are not well-formed.
std::size_t Utf8SequenceLength(std::string_view text) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  if (text.empty()) return 0;
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (text.size() < length || byte(1) < low || byte(1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
  }
  return length;
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
  // As the unit table reads it; the linter only says why a key is not one.
  return ReadUnitPowerKey(folded_key, power) ? PowerSpelling::kValid
                                             : PowerSpelling::kMalformed;
}

class Linter {
 public:
  void Line(std::size_t number, std::string_view line) {
    while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
    if (line.empty() || IsComment(line.front())) return;
    if (look_for_utf8_) LooksLikeUtf8(number, line);
    if (line.front() == '[') {
      Header(number, line.substr(1));
    } else {
      KeyLine(number, line);
    }
    // Outside a section nothing more can come for this line.
    if (!has_section_) Flush();
  }

  Linter(const CodePage& code_page, std::size_t shown_per_kind, bool look_for_utf8,
         const std::function<void(const LintFinding&)>& sink)
      : code_page_(code_page),
        shown_per_kind_(shown_per_kind),
        look_for_utf8_(look_for_utf8),
        sink_(sink) {}

  // Tells that the file was read as UTF-8 because of its byte-order mark.
  void ReadAsUtf8() {
    Note(1, LintKind::kUtf8Catalogue, [&] {
      return std::string(
          "the file begins with the UTF-8 byte-order mark, so it is read as UTF-8 and"
          " converted to the system code page; characters that code page cannot hold"
          " become \"?\"");
    });
  }

  // Tells that line `number`, as written, holds `character`, which the
  // conversion to the code page turned into "?".
  void UnheldCharacter(std::size_t number, const std::u16string& character) {
    Warning(number, LintKind::kUnheldCharacter, [&] {
      return u"\"" + character +
             u"\" and any other character that Windows-1252 cannot hold become \"?\" when"
             u" the catalogue is read";
    });
  }

  LintTally Finish() {
    CloseSection();
    Flush();
    for (std::size_t k = 0; k < kKindCount; ++k) {
      const Quota& quota = quotas_[k];
      if (quota.omitted == 0) continue;
      tally_.omitted.push_back({static_cast<LintKind>(k), quota.severity,
                                quota.first_omitted_line, quota.omitted});
    }
    return std::move(tally_);
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
    bool site = false;  // read as a site entry by a category's command
    std::map<std::string, KeyRecord, std::less<>> keys;  // by folded key
  };

  // Counts the finding and holds it back until its section closes (or the
  // line ends, outside a section), so that the findings about the whole
  // section, made last but told at its header, come out in line order. Past
  // the kind's quota only the count grows.
  // `message` makes the text, only for a finding that is shown: a broken
  // file may repeat one mistake on millions of lines.
  template <typename Message>
  void Report(std::size_t line, LintSeverity severity, LintKind kind,
              const Message& message) {
    switch (severity) {
      case LintSeverity::kError: ++tally_.errors; break;
      case LintSeverity::kWarning: ++tally_.warnings; break;
      case LintSeverity::kNote: ++tally_.notes; break;
    }
    Quota& quota = quotas_[static_cast<std::size_t>(kind)];
    if (quota.shown >= shown_per_kind_) {
      if (quota.omitted++ == 0) {
        quota.first_omitted_line = line;
        quota.severity = severity;
      }
      return;
    }
    ++quota.shown;
    held_.push_back({line, severity, kind, Wide(message())});
  }
  // Messages quote the catalogue's 8-bit text; findings carry them wide.
  std::u16string Wide(const std::string& message) const { return code_page_.ToWide(message); }
  static std::u16string Wide(std::u16string message) { return message; }
  template <typename Message>
  void Error(std::size_t line, LintKind kind, const Message& message) {
    Report(line, LintSeverity::kError, kind, message);
  }
  template <typename Message>
  void Warning(std::size_t line, LintKind kind, const Message& message) {
    Report(line, LintSeverity::kWarning, kind, message);
  }
  template <typename Message>
  void Note(std::size_t line, LintKind kind, const Message& message) {
    Report(line, LintSeverity::kNote, kind, message);
  }

  void Flush() {
    std::stable_sort(
        held_.begin(), held_.end(),
        [](const LintFinding& a, const LintFinding& b) { return a.line < b.line; });
    for (const LintFinding& f : held_) sink_(f);
    held_.clear();
  }

  // A catalogue saved as UTF-8 lists each such character as two to four
  // others: the u with diaeresis, C3 BC, shows as A-tilde and a quarter
  // sign. One finding per line, quoting the first such sequence.
  void LooksLikeUtf8(std::size_t number, std::string_view line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
      if (const std::size_t length = Utf8SequenceLength(line.substr(i))) {
        Warning(number, LintKind::kLooksLikeUtf8, [&] {
          return std::string(Quoted(line.substr(i, length)) +
                             " looks like one character written in UTF-8, but a catalogue"
                             " without the UTF-8 byte-order mark is read as Windows-1252:"
                             " save the file as Windows-1252, or as UTF-8 with the mark");
        });
        return;
      }
    }
  }

  void Header(std::size_t number, std::string_view rest) {
    CloseSection();
    const std::size_t close = rest.find(']');
    const std::string_view name = rest.substr(0, close);
    if (close == std::string_view::npos) {
      Warning(number, LintKind::kHeaderWithoutBracket, [&] {
        return std::string(
            "header without \"]\": the section name runs to the end of the line");
      });
    } else {
      const std::string_view after = TrimBlanks(rest.substr(close + 1));
      if (!after.empty() && !IsComment(after.front())) {
        Warning(number, LintKind::kTextAfterHeader, [&] {
          return std::string("text after \"]\" is ignored: " + Quoted(after));
        });
      }
    }

    if (const auto it = names_.find(name); it != names_.end()) {
      const std::string_view earlier = it->first;
      const std::size_t line = it->second;
      if (earlier == name) {
        Warning(number, LintKind::kSectionReplaced, [&] {
          return std::string("section " + Quoted(name) + " repeats line " +
                             std::to_string(line) +
                             " and replaces that section wholesale");
        });
      } else {
        Warning(number, LintKind::kSectionReplaced, [&] {
          return std::string("section " + Quoted(name) + " replaces section " +
                             Quoted(earlier) + " of line " + std::to_string(line) +
                             " wholesale (section names ignore letter case)");
        });
      }
      names_.erase(it);
    }
    names_.emplace(name, number);

    const CatalogueCategory* category = nullptr;
    for (const CatalogueCategory& c : CatalogueCategories()) {
      if (StartsWithFolded(name, c.prefix)) category = &c;
    }
    if (category == nullptr) {
      Error(number, LintKind::kSectionNotLoaded, [&] {
        std::string message = "section " + Quoted(name) + " is loaded by no command: ";
        if (!name.empty() && IsBlank(name.front())) {
          message += "the blank after \"[\" is part of its name";
        } else {
          message += "its name must begin with one of";
          for (const CatalogueCategory& c : CatalogueCategories()) {
            message += ' ';
            message += c.prefix;
          }
        }
        return message;
      });
    }

    const bool unit = category != nullptr && category->content == CategoryContent::kUnits;
    const bool site =
        category != nullptr && category->content == CategoryContent::kSiteEntries;
    section_ = Section{name, number, unit, site, {}};
    has_section_ = true;
  }

  void KeyLine(std::size_t number, std::string_view line) {
    // The first character belongs to the key even when it is "=".
    const std::size_t equals = line.find('=', 1);
    if (equals == std::string_view::npos) {
      Error(number, LintKind::kLineWithoutEquals,
            [&] { return std::string("line without \"=\" is ignored"); });
      return;
    }
    if (!has_section_) {
      Error(number, LintKind::kKeyBeforeHeader,
            [&] { return std::string("key line before any section header is ignored"); });
      return;
    }
    const std::string_view key = line.substr(0, equals);
    const std::string_view value = line.substr(equals + 1);
    std::string folded = FoldAsciiCopy(key);

    if (const auto it = section_.keys.find(folded); it != section_.keys.end()) {
      Note(number, LintKind::kKeyRepeated, [&] {
        return std::string("key " + Quoted(key) + " repeats line " +
                           std::to_string(it->second.line) + "; the later value wins");
      });
    }
    section_.keys[folded] = {number, value};
    if (value.find('\0') != std::string_view::npos) {
      Warning(number, LintKind::kNulInValue, [&] {
        return std::string("key " + Quoted(key) +
                           ": its value holds a NUL byte, where the system and most"
                           " programs take the text to end");
      });
    }

    if (section_.unit) {
      UnitKey(number, key, folded, value);
    } else {
      SiteKey(number, key, value);
    }
  }

  void SiteKey(std::size_t number, std::string_view key, std::string_view value) {
    const std::optional<KnownKey> known = FindSiteKey(key);
    if (!known) {
      Error(number, LintKind::kUnreadKey, [&] {
        std::string message = "key " + Quoted(key) + " is read by no entry";
        if (FindSiteKey(TrimBlanks(key))) {
          message += ": blanks before \"=\" belong to the key";
        }
        return message;
      });
      return;
    }
    CheckValue(number, *known, key, value);
  }

  void UnitKey(std::size_t number, std::string_view key, const std::string& folded,
               std::string_view value) {
    if (const KnownKey* known = FindKey(UnitKeys(), key)) {
      CheckValue(number, *known, key, value);
      return;
    }
    int power = 0;
    switch (ReadPowerKey(folded, &power)) {
      case PowerSpelling::kValid:
        if (FirstNameBlank(value)) {
          Error(number, LintKind::kPowerKeyUnusable, [&] {
            return std::string("power key " + Quoted(key) +
                               " defines no unit: its first name is blank");
          });
        }
        return;
      case PowerSpelling::kMalformed:
        Error(number, LintKind::kPowerKeyUnusable, [&] {
          return std::string("power key " + Quoted(key) +
                             " is not recognised: write it " + PowerKey(power));
        });
        return;
      case PowerSpelling::kOutOfRange:
        Error(number, LintKind::kPowerKeyUnusable, [&] {
          return std::string("power key " + Quoted(key) +
                             " is ignored: powers run from " + PowerKey(kLowestPower) +
                             " to " + PowerKey(kHighestPower));
        });
        return;
      case PowerSpelling::kNone:
        break;
    }
    Error(number, LintKind::kUnreadKey, [&] {
      const std::string_view trimmed = TrimBlanks(key);
      int ignored = 0;
      std::string message = "key " + Quoted(key) + " is read by no unit section";
      if (trimmed != key &&
          (FindKey(UnitKeys(), trimmed) != nullptr ||
           ReadPowerKey(FoldAsciiCopy(trimmed), &ignored) == PowerSpelling::kValid)) {
        message += ": blanks before \"=\" belong to the key";
      } else {
        message += " (its keys are ";
        for (const KnownKey& k : UnitKeys()) message += std::string(k.name) + ", ";
        message.resize(message.size() - 2);
        message += " and " + PowerKey(kLowestPower) + " ... " + PowerKey(kHighestPower) + ")";
      }
      return message;
    });
  }

  void CheckValue(std::size_t number, const KnownKey& known, std::string_view key,
                  std::string_view value) {
    switch (known.kind) {
      case KeyKind::kFlag:
        if (!value.empty() &&
            kFlagTrueCharacters.find(value.front()) == std::string_view::npos &&
            kFlagFalseCharacters.find(value.front()) == std::string_view::npos) {
          Warning(number, LintKind::kValueDecidesNothing, [&] {
            return std::string("flag " + Quoted(key) + " value " + Quoted(value) +
                               " decides nothing (the first character must be one of " +
                               std::string(kFlagTrueCharacters) +
                               std::string(kFlagFalseCharacters) + "); the default, " +
                               std::string(known.fallback) + ", stays");
          });
        }
        break;
      case KeyKind::kCharset: {
        if (!TrimBlanks(value).empty() && !UrlCharsetNamed(value)) {
          Warning(number, LintKind::kValueDecidesNothing, [&] {
            return std::string("charset " + Quoted(value) +
                               " is neither utf-8 nor windows-1252; windows-1252 stays");
          });
        }
        break;
      }
      case KeyKind::kNumber: {
        double number_value = 0;
        std::size_t consumed = 0;
        if (!value.empty() && !ScanDouble(value, &number_value, &consumed)) {
          Warning(number, LintKind::kValueDecidesNothing, [&] {
            return std::string("key " + Quoted(key) + " value " + Quoted(value) +
                               " is no number; " + std::string(known.fallback) +
                               " stays");
          });
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
      if (value[i] == '!' && !IsPlaceholder(value[i + 1])) {
        unknown += count++ == 0 ? "" : ", ";
        unknown += Quoted(value.substr(i, 2));
      }
      i += (value[i] == '!' || value[i] == '\\') ? 2 : 1;
    }
    if (count > 0) {
      Warning(number, LintKind::kUnknownPlaceholder, [&] {
        return std::string("key " + Quoted(key) + ": " + unknown +
                           (count == 1 ? " is no placeholder and stays"
                                       : " are no placeholders and stay") +
                           " as written (\"!!\" gives a \"!\")");
      });
    }
  }

  bool HasValue(std::string_view folded_key) const {
    const auto it = section_.keys.find(folded_key);
    return it != section_.keys.end() && !it->second.value.empty();
  }

  void CloseSection() {
    if (!has_section_) return;
    has_section_ = false;
    if (section_.site) {
      CloseSiteSection();
    } else if (section_.unit) {
      CloseUnitSection();
    }
    Flush();
  }

  // The entry is listed all the same, so the author sees a line that does
  // nothing, or a blank line that does something.
  void CloseSiteSection() {
    const std::span<const SiteEntryKey> keys = SiteEntryKeys();
    const bool acts = std::any_of(keys.begin(), keys.end(), [&](const SiteEntryKey& key) {
      return key.kind == SiteEntryKeyKind::kTemplate && HasValue(FoldAsciiCopy(key.name));
    });
    if (!acts) {
      Warning(section_.line, LintKind::kEntryDoesNothing, [&] {
        return std::string("entry " + Quoted(section_.name) +
                           " does nothing when chosen: it has no url, href, command"
                           " or mail key (MailTo, MailCC, MailBCC, MailSubject,"
                           " MailBody) with a value");
      });
    }
    if (!HasValue("shortdescription")) {
      Warning(section_.line, LintKind::kNoShortDescription, [&] {
        return std::string("entry " + Quoted(section_.name) +
                           " has no shortDescription: its line in the choice list"
                           " is blank");
      });
    }
  }

  void CloseUnitSection() {
    const auto category = section_.keys.find(FoldAsciiCopy(kUnitSectionKeys.category));
    if (category == section_.keys.end() || category->second.value.empty()) {
      Error(section_.line, LintKind::kUnitDefinesNothing, [&] {
        return std::string("unit section " + Quoted(section_.name) +
                           " has no category and defines no unit");
      });
      return;
    }
    for (const auto& [folded, record] : section_.keys) {
      int power = 0;
      if (ReadPowerKey(folded, &power) == PowerSpelling::kValid &&
          !FirstNameBlank(record.value)) {
        return;
      }
    }
    Error(section_.line, LintKind::kUnitDefinesNothing, [&] {
      return std::string("unit section " + Quoted(section_.name) +
                         " defines no unit: no power key " + PowerKey(kLowestPower) +
                         " ... " + PowerKey(kHighestPower) + " names one");
    });
  }

  struct Quota {
    std::size_t shown = 0;
    std::size_t omitted = 0;
    std::size_t first_omitted_line = 0;
    LintSeverity severity = LintSeverity::kError;
  };

  const CodePage& code_page_;
  const std::size_t shown_per_kind_;
  const bool look_for_utf8_;
  const std::function<void(const LintFinding&)>& sink_;
  LintTally tally_;
  std::array<Quota, kKindCount> quotas_{};
  // The findings of the open section that are still to be passed on.
  std::vector<LintFinding> held_;
  // Every section name so far, as written, with its line; found by folded
  // name. The names are views into the text, so a file of many sections
  // costs a map node each and no copy.
  std::map<std::string_view, std::size_t, FoldedLess> names_;
  Section section_;
  bool has_section_ = false;
};

}  // namespace

const char* LintSeverityName(LintSeverity severity) {
  switch (severity) {
    case LintSeverity::kError: return "error";
    case LintSeverity::kWarning: return "warning";
    case LintSeverity::kNote: return "note";
  }
  return "";
}

const char* LintKindName(LintKind kind) {
  const auto k = static_cast<std::size_t>(kind);
  return k < kKindCount ? kKindNames[k] : "";
}

LintTally LintCatalogue(std::string_view file_text, const CodePage& code_page,
                        std::size_t shown_per_kind,
                        const std::function<void(const LintFinding&)>& sink) {
  const bool utf8 = HasUtf8ByteOrderMark(file_text);
  const std::string converted =
      utf8 ? ReadCatalogueText(std::string(file_text), code_page) : std::string();
  const std::string_view text = utf8 ? std::string_view(converted) : file_text;
  Linter linter(code_page, shown_per_kind, !utf8, sink);
  // The lines, counted from 1, that held a character the conversion lost,
  // with the first such character.
  std::vector<std::pair<std::size_t, std::u16string>> unheld;
  if (utf8) {
    linter.ReadAsUtf8();
    // The conversion keeps every line end, so the lines as written pair up
    // with the lines as read.
    std::size_t number = 1;
    ForEachLine(file_text.substr(kUtf8ByteOrderMark.size()), [&](std::string_view written) {
      const std::u16string character = FirstUnheldCharacter(written, code_page);
      if (!character.empty()) unheld.push_back({number, character});
      ++number;
    });
  }
  std::size_t number = 1;
  auto next_unheld = unheld.begin();
  ForEachLine(text, [&](std::string_view line) {
    linter.Line(number, line);
    if (next_unheld != unheld.end() && next_unheld->first == number) {
      linter.UnheldCharacter(number, next_unheld->second);
      ++next_unheld;
    }
    ++number;
  });
  return linter.Finish();
}

std::vector<LintFinding> LintCatalogue(std::string_view text) {
  std::vector<LintFinding> findings;
  LintCatalogue(text, Windows1252CodePage(), static_cast<std::size_t>(-1),
                [&](const LintFinding& f) { findings.push_back(f); });
  return findings;
}

}  // namespace qm
