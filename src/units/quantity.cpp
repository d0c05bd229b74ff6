#include "units/quantity.h"

#include <cmath>
#include <cstddef>

#include "strings/string_table.h"
#include "text/number_format.h"
#include "text/char_class.h"
#include "text/number_scan.h"
#include "text/written_number.h"

namespace qm {
namespace {

// The blanks skipped before a unit text: white space as pages put it
// between a number and its unit, the no-break and thin spaces included.
bool IsUnitBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' ||
         c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

// Marks pages write where the catalogue, in its 8-bit code page, has ASCII:
// the prime and double prime of feet and inches and their curly stand-ins,
// and the spaces above inside a name ("sq\u00A0ft").
struct MarkSpelling {
  char16_t page;
  char16_t catalogue;
};
constexpr MarkSpelling kMarkSpellings[] = {
    {u'\u2032', u'\''}, {u'\u2019', u'\''}, {u'\u2033', u'"'},
    {u'\u201D', u'"'},  {u'\u00A0', u' '},  {u'\u202F', u' '},
    {u'\u2009', u' '},
};

char16_t CatalogueSpelling(char16_t c) {
  for (const MarkSpelling& m : kMarkSpellings) {
    if (m.page == c) return m.catalogue;
  }
  return c;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The number of UTF-16 units of the character at `i`.
std::size_t CharacterUnits(std::u16string_view text, std::size_t i) {
  return IsHighSurrogate(text[i]) && i + 1 < text.size() ? 2 : 1;
}

// The leading part of `text` as 8-bit text, as far as FindUnitByText can
// use it: the first `needed` bytes decide, so a long selection is not
// converted whole. Each character gives at least one byte, so twice
// `needed` units (a surrogate pair is two units for one character) are
// enough.
std::string NarrowUnitText(std::u16string_view text, std::size_t needed,
                           const CodePage& code_page) {
  std::size_t units = 2 * needed + 2;
  if (units < text.size()) {
    if (IsHighSurrogate(text[units - 1])) ++units;
  } else {
    units = text.size();
  }
  std::u16string copy(text.substr(0, units));
  for (char16_t& c : copy) c = CatalogueSpelling(c);
  return code_page.ToNarrow(copy);
}

// The number of units of `text` whose 8-bit form is the first `bytes`
// bytes of NarrowUnitText, or npos when no whole characters give exactly
// that many (a code page of several bytes a character).
std::size_t UnitsOfBytes(std::u16string_view text, std::size_t bytes,
                         const CodePage& code_page) {
  std::size_t narrow = 0;
  std::size_t i = 0;
  while (narrow < bytes && i < text.size()) {
    const std::size_t n = CharacterUnits(text, i);
    std::u16string one(text.substr(i, n));
    for (char16_t& c : one) c = CatalogueSpelling(c);
    narrow += code_page.ToNarrow(one).size();
    i += n;
  }
  return narrow == bytes ? i : std::u16string_view::npos;
}

// The unit named at the start of `text`, after blanks: a name, or the text
// in parentheses up to ")" or the end. Stores in *end where the name ends
// in `text`, or npos for a name in parentheses or one whose end is unknown.
const Unit* ReadUnit(std::u16string_view text, const UnitTable& table,
                     const CodePage& code_page, std::size_t* end) {
  *end = std::u16string_view::npos;
  std::size_t j = 0;
  while (j < text.size() && IsUnitBlank(text[j])) ++j;
  if (j >= text.size()) return nullptr;
  // A name decides with the two bytes after it: a plural "s" and the byte
  // that ends the word.
  const std::size_t needed = table.longest_name() + 2;
  if (text[j] == u'(') {
    const std::u16string_view inner = text.substr(j + 1);
    return FindUnitByText(
        table, NarrowUnitText(inner.substr(0, inner.find(u')')), needed,
                              code_page));
  }
  const std::u16string_view named = text.substr(j);
  std::size_t bytes = 0;
  const Unit* unit = FindUnitByText(
      table, NarrowUnitText(named, needed, code_page), &bytes);
  if (unit != nullptr) {
    const std::size_t units = UnitsOfBytes(named, bytes, code_page);
    if (units != std::u16string_view::npos) *end = j + units;
  }
  return unit;
}

// A unit that is its category's reference scaled: no offset, no inversion.
bool IsScaled(const Unit& unit) { return !unit.invert && unit.offset == 0.0; }

// "6 ft 2 in", "5'11\"", "3 lb 4 oz": after a quantity, a number and a
// smaller unit of the same category make one quantity, in the smaller unit.
// Returns that unit and stores the sum in *value, or returns null.
const Unit* ReadSecondPart(std::u16string_view text, const Unit& first,
                           const UnitTable& table, const CodePage& code_page,
                           double* value) {
  if (!IsScaled(first)) return nullptr;
  std::size_t j = 0;
  while (j < text.size() && IsUnitBlank(text[j])) ++j;
  if (j >= text.size() ||
      (!IsAsciiDigit(text[j]) && VulgarFractionValue(text[j]) == 0)) {
    return nullptr;
  }
  double part = 0;
  std::size_t consumed = 0;
  if (!ReadWrittenNumber(text.substr(j), &part, &consumed)) return nullptr;
  std::size_t end = 0;
  const Unit* second =
      ReadUnit(text.substr(j + consumed), table, code_page, &end);
  if (second == nullptr || second->category != first.category ||
      !IsScaled(*second) || !(second->factor < first.factor)) {
    return nullptr;
  }
  if (std::signbit(*value)) part = -part;
  *value = (*value * first.factor + part * second->factor) / second->factor;
  return second;
}

bool Fail(std::u16string_view text, std::u16string* detail) {
  *detail = std::u16string(text);
  return false;
}

// Replaces the first "%1" of `format` by `detail`.
std::u16string ReplacePlaceholder(std::u16string_view format,
                                  std::u16string_view detail) {
  std::u16string text(format);
  const std::size_t at = text.find(u"%1");
  if (at != std::u16string::npos) text.replace(at, 2, detail);
  return text;
}

}  // namespace

ParsedQuantity ParseQuantity(std::u16string_view selection,
                             const UnitTable& table,
                             const CodePage& code_page) {
  ParsedQuantity parsed;
  parsed.amount = u"1";
  std::size_t i = 0;
  while (i < selection.size() && !IsAsciiDigit(selection[i]) &&
         VulgarFractionValue(selection[i]) == 0) {
    ++i;
  }
  if (i == selection.size()) return parsed;
  if (i > 0 && selection[i - 1] == u'.' && IsAsciiDigit(selection[i])) --i;
  if (i > 0 && (selection[i - 1] == u'-' || selection[i - 1] == u'\u2212')) --i;
  const std::u16string_view rest = selection.substr(i);

  double value = 0;
  std::size_t consumed = 0;
  if (!ReadWrittenNumber(rest, &value, &consumed)) return parsed;
  parsed.amount = FormatAmountWide(value);

  const std::u16string_view after = rest.substr(consumed);
  std::size_t end = 0;
  parsed.unit = ReadUnit(after, table, code_page, &end);
  if (parsed.unit != nullptr && end != std::u16string_view::npos) {
    if (const Unit* smaller = ReadSecondPart(after.substr(end), *parsed.unit,
                                             table, code_page, &value)) {
      parsed.unit = smaller;
      parsed.amount = FormatAmountWide(value);
    }
  }
  return parsed;
}

bool ToReference(const Unit& unit, double value, double* reference,
                 std::u16string* detail) {
  double r = 0;
  if (unit.invert) {
    if (value == 0.0) return Fail(LoadText(IDS_DIVISION_BY_ZERO), detail);
    r = unit.factor / value + unit.offset;
  } else {
    r = value * unit.factor + unit.offset;
  }
  if (!std::isfinite(r)) return Fail(u"", detail);
  *reference = r;
  return true;
}

bool FromReference(const Unit& unit, double reference, double* value,
                   std::u16string* detail) {
  double v = 0;
  if (unit.invert) {
    const double d = reference - unit.offset;
    if (d == 0.0) return Fail(LoadText(IDS_DIVISION_BY_ZERO), detail);
    v = unit.factor / d;
  } else {
    if (unit.factor == 0.0) {
      return Fail(LoadText(IDS_DIVISION_BY_ZERO), detail);
    }
    v = (reference - unit.offset) / unit.factor;
  }
  if (!std::isfinite(v)) return Fail(u"", detail);
  *value = v;
  return true;
}

Conversion ConvertQuantity(std::string_view amount_text, const Unit& from,
                           const Unit& to, const CodePage& code_page) {
  Conversion conversion;
  double amount = 0;
  std::size_t consumed = 0;
  if (!ScanDouble(amount_text, &amount, &consumed)) return conversion;
  conversion.is_number = true;
  // Every digit the user wrote stays; only the result is cut to six.
  conversion.amount = FormatAmount(amount);

  double reference = 0;
  double result = 0;
  std::u16string detail;
  if (ToReference(from, amount, &reference, &detail) &&
      FromReference(to, reference, &result, &detail)) {
    conversion.result = conversion.amount + ' ' + from.name + " = " +
                        FormatG(result) + ' ' + to.name;
  } else {
    conversion.result = code_page.ToNarrow(
        ReplacePlaceholder(LoadText(IDS_CANNOT_CALCULATE), detail));
  }
  return conversion;
}

}  // namespace qm
