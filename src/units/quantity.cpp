#include "units/quantity.h"

#include <cmath>
#include <cstddef>

#include "strings/string_table.h"
#include "text/number_format.h"
#include "text/number_scan.h"

namespace qm {
namespace {

// The blanks skipped before a unit text: only these four, not every white
// space character, so a no-break space ahead of a unit stays part of it.
bool IsUnitBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

// The unit text of a number followed by `next`, in the text `rest` that
// starts at the number. Empty when only blanks remain.
std::u16string_view UnitText(std::u16string_view rest, char16_t next) {
  // From the first occurrence of the following character, counted from the
  // number's start: for "2.0.1 m" that is the point inside "2.0", so the
  // unit text is ".0.1 m" and names nothing. Odd, but kept on purpose: it
  // is how selections have always been proposed.
  std::size_t j = rest.find(next);
  while (j < rest.size() && IsUnitBlank(rest[j])) ++j;
  if (j >= rest.size()) return {};
  if (rest[j] != u'(') return rest.substr(j);
  const std::u16string_view inner = rest.substr(j + 1);
  return inner.substr(0, inner.find(u')'));
}

// The unit text in 8-bit text, as far as FindUnitByText can use it: the
// first `needed` bytes decide, so a long selection is not converted whole.
// Each character gives at least one byte and is converted on its own (a
// surrogate pair is two units for one character), so a cut that splits no
// pair gives an exact prefix and twice `needed` units are enough.
std::string NarrowUnitText(std::u16string_view text, std::size_t needed,
                           const CodePage& code_page) {
  std::size_t units = 2 * needed + 2;
  if (units < text.size()) {
    if (text[units - 1] >= 0xD800 && text[units - 1] <= 0xDBFF) ++units;
    std::string narrow = code_page.ToNarrow(text.substr(0, units));
    if (narrow.size() >= needed) return narrow;
  }
  return code_page.ToNarrow(text);
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
  std::size_t i = selection.find_first_of(u"0123456789");
  if (i == std::u16string_view::npos) return parsed;
  if (i > 0 && selection[i - 1] == u'.') --i;
  if (i > 0 && selection[i - 1] == u'-') --i;
  const std::u16string_view rest = selection.substr(i);

  double value = 0;
  std::size_t consumed = 0;
  if (!ScanDouble(rest, &value, &consumed)) return parsed;
  parsed.amount = FormatGWide(value);
  if (consumed >= rest.size()) return parsed;

  const std::u16string_view unit_text = UnitText(rest, rest[consumed]);
  if (unit_text.empty()) return parsed;
  // A name decides with the two bytes after it: a plural "s" and the byte
  // that ends the word.
  parsed.unit = FindUnitByText(
      table, NarrowUnitText(unit_text, table.longest_name() + 2, code_page));
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
  conversion.amount = FormatG(amount);

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
