// A linter for catalogue authors. The parser drops whatever it cannot use
// without a word, and the readers of the sections ignore keys and values
// they do not know; this finds those places and says what happens to them.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "host/code_page.h"

namespace qm {

// How much a finding matters to the author:
//   error    something written is never read: a dropped line, an unread key,
//            a section no command loads, a unit section that defines no unit;
//   warning  it is read, but will not do what it seems to say: a value that
//            decides nothing, an unknown placeholder, a section replaced by a
//            later one, an entry that does nothing or has no line text, text
//            that looks like UTF-8, a character the code page cannot hold,
//            a NUL byte in a value;
//   note     worth knowing and often meant, such as a key given twice, or a
//            file read as UTF-8 because it begins with the byte-order mark.
enum class LintSeverity { kError, kWarning, kNote };

// "error", "warning" or "note".
const char* LintSeverityName(LintSeverity severity);

// What a finding is about. Findings of one kind read alike, so a long run
// of them is cut short after the first few (see LintCatalogue).
enum class LintKind {
  kUtf8Catalogue,        // the file is UTF-8 with a byte-order mark
  kUnheldCharacter,      // ... and a line holds what the code page cannot
  kLooksLikeUtf8,        // a line holds a UTF-8 sequence
  kHeaderWithoutBracket,
  kTextAfterHeader,
  kSectionReplaced,
  kSectionNotLoaded,
  kLineWithoutEquals,
  kKeyBeforeHeader,
  kKeyRepeated,
  kNulInValue,
  kUnreadKey,
  kPowerKeyUnusable,     // malformed, out of range, or its first name blank
  kValueDecidesNothing,  // a flag, charset or number that is not one
  kUnknownPlaceholder,
  kEntryDoesNothing,
  kNoShortDescription,
  kUnitDefinesNothing,
};

// A few words that name the kind, such as "header without \"]\"".
const char* LintKindName(LintKind kind);

// One thing worth telling the author, at a line of the text counted from 1.
// CR, LF and the pair CR LF each end one line. The message is wide text: it
// quotes names, keys and values as the catalogue reads them (widened with
// the code page), and a character the code page cannot hold as written.
struct LintFinding {
  std::size_t line = 0;
  LintSeverity severity = LintSeverity::kError;
  LintKind kind = LintKind::kUnreadKey;
  std::u16string message;
};

// Findings of one kind that were counted but not passed on: `count` of
// them, the first at `first_line`.
struct LintOmission {
  LintKind kind = LintKind::kUnreadKey;
  LintSeverity severity = LintSeverity::kError;
  std::size_t first_line = 0;
  std::size_t count = 0;
};

// Every finding counted by severity, shown or not, and what was left out.
struct LintTally {
  std::size_t errors = 0;
  std::size_t warnings = 0;
  std::size_t notes = 0;
  std::vector<LintOmission> omitted;  // in the order the kinds are declared
};

// How many findings of one kind `qmkit check` shows before it counts the
// rest: a broken file repeats the same mistake on every line.
inline constexpr std::size_t kLintFindingsShownPerKind = 20;

// Lints the catalogue `text` and passes each finding to `sink` as it is
// made, ordered by line (findings of one line in the order they were made),
// holding back only the findings of the current section. After
// `shown_per_kind` findings of one kind the later ones of that kind are
// only counted. Returns the counts. A clean text gives no finding.
//
// Text that begins with the UTF-8 byte-order mark is read as the loader
// reads it (ReadCatalogueText): as UTF-8 converted to `code_page`, with a
// note on line 1 saying so, and a warning on each line that held a
// character `code_page` cannot hold (or a malformed sequence), which the
// conversion turned into "?", quoting the first; it is then not searched
// for UTF-8 sequences. Other text is read byte for byte, so nothing in it
// is lost that way.
// What is reported:
//   - lines the parser drops: key lines before the first header or without
//     "=", and text after a header's "]";
//   - headers without "]", and section names that begin with the prefix of
//     no category (CatalogueCategories: BOOK:, ... UNIT:, SYSTEM:, letter
//     case ignored), so that no command loads them;
//   - a section name that equals an earlier one without regard to ASCII
//     letter case, which replaces it wholesale; a key repeated in one
//     section, where the later value wins;
//   - keys that nothing reads: in "UNIT:" sections anything but category,
//     a, b, invert, regionalNames, regions and the power keys ten-18 ... ten+18 (spelled as "ten%+d"
//     spells them, so ten0, ten-0 and ten+03 are reported as malformed); in
//     other sections anything but the keys of a site entry (SiteEntryKeys);
//   - values that decide nothing: a flag whose first character decides no
//     flag (kFlagTrueCharacters, kFlagFalseCharacters), a charset that
//     names none (UrlCharsetNamed), an "a" or "b" that holds no number, a
//     power key whose first name is blank;
//   - "!" followed by a character that is no placeholder in url, href,
//     command and the Mail keys (a "!" that ends the template and "\!" are
//     plain text and not reported);
//   - unit sections that define no unit: without a category, or without a
//     usable power key;
//   - site entries (sections of a category of site entries, so neither
//     UNIT: nor SYSTEM:) that do nothing when chosen, having no template key
//     (url, href, command or a mail key: MailTo, MailCC, MailBCC,
//     MailSubject, MailBody) with a value, or that have no
//     shortDescription, their line in the choice list;
//   - a header or key line holding a well-formed multi-byte UTF-8 sequence
//     in a file without the byte-order mark: such text is read as the
//     system code page, so the sequence shows as several characters (once
//     per line);
//   - a NUL byte in a value.
// See LintSeverity for the weight of each.
// Never fails; any bytes are accepted. Time is linear in the size of the
// text apart from map lookups per line; memory beyond the text grows with
// the number of distinct section names, the keys of one section and, for
// UTF-8 text, the lines that hold a character the code page cannot hold.
LintTally LintCatalogue(std::string_view text, const CodePage& code_page,
                        std::size_t shown_per_kind,
                        const std::function<void(const LintFinding&)>& sink);

// Every finding of `text`, none left out, with Windows-1252 as the code
// page: for tests and tools that want them all at once.
std::vector<LintFinding> LintCatalogue(std::string_view text);

}  // namespace qm
