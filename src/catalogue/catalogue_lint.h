// A linter for catalogue authors. The parser drops whatever it cannot use
// without a word, and the readers of the sections ignore keys and values
// they do not know; this finds those places and says what happens to them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// How much a finding matters to the author:
//   error    something written is never read: a dropped line, an unread key,
//            a section no command loads, a unit section that defines no unit;
//   warning  it is read, but will not do what it seems to say: a value that
//            decides nothing, an unknown placeholder, a section replaced by a
//            later one, an entry that does nothing or has no line text, text
//            that looks like UTF-8, a NUL byte in a value;
//   note     worth knowing and often meant, such as a key given twice.
enum class LintSeverity { kError, kWarning, kNote };

// "error", "warning" or "note".
const char* LintSeverityName(LintSeverity severity);

// One thing worth telling the author, at a line of the text counted from 1.
// CR, LF and the pair CR LF each end one line. The message is 8-bit text:
// it quotes names, keys and values with the file's own bytes.
struct LintFinding {
  std::size_t line = 0;
  LintSeverity severity = LintSeverity::kError;
  std::string message;
};

// The findings of the catalogue `text`, ordered by line (findings of one
// line in the order they were made). An empty result means the text is
// clean. What is reported:
//   - lines the parser drops: key lines before the first header or without
//     "=", and text after a header's "]";
//   - headers without "]", and section names that begin with no category
//     prefix (BOOK:, CURRENCY:, EMAIL:, ISBN:, MOVIE:, MUSIC:, OTHER:,
//     SEARCH:, STOCK:, TRANSLATE:, UPC:, URL:, UNIT:, SYSTEM:, letter case
//     ignored), so that no command loads them;
//   - a section name that equals an earlier one without regard to ASCII
//     letter case, which replaces it wholesale; a key repeated in one
//     section, where the later value wins;
//   - keys that nothing reads: in "UNIT:" sections anything but category,
//     a, b, invert and the power keys ten-18 ... ten+18 (spelled as "ten%+d"
//     spells them, so ten0, ten-0 and ten+03 are reported as malformed); in
//     other sections anything but the keys of a site entry and charset;
//   - values that decide nothing: a flag whose first character is not one
//     of YyTt1NnFf0, a charset other than utf-8 and windows-1252, an "a" or
//     "b" that holds no number, a power key whose first name is blank;
//   - "!" followed by a character that is no placeholder in url, href,
//     command and the Mail keys (a "!" that ends the template and "\!" are
//     plain text and not reported);
//   - unit sections that define no unit: without a category, or without a
//     usable power key;
//   - site entries (sections of a category that lists entries, so neither
//     UNIT: nor SYSTEM:) that do nothing when chosen, having no url, href,
//     command or mail key (MailTo, MailCC, MailBCC, MailSubject, MailBody)
//     with a value, or that have no shortDescription, their line in the
//     choice list;
//   - a header or key line holding a well-formed multi-byte UTF-8 sequence:
//     the text is read as Windows-1252, so such a sequence shows as several
//     characters (once per line);
//   - a NUL byte in a value.
// See LintSeverity for the weight of each.
// Never fails; any bytes are accepted. Time is linear in the size of the
// text apart from map lookups per line.
std::vector<LintFinding> LintCatalogue(std::string_view text);

}  // namespace qm
