// Quantities: the amount and unit proposed from a selection, and the
// arithmetic that carries an amount from one unit to another of its
// category.
#pragma once

#include <string>
#include <string_view>

#include "host/code_page.h"
#include "units/unit_table.h"

namespace qm {

// What a selection proposes: the amount as FormatAmount writes it (never
// empty; every digit written, up to fifteen) and the unit named after it,
// or null.
struct ParsedQuantity {
  std::u16string amount;
  const Unit* unit = nullptr;
};

// Finds the first digit 0-9 or vulgar fraction of `selection`, takes a "."
// and then a "-" or minus sign U+2212 directly before it along, and reads
// the number there as pages write it (ReadWrittenNumber: grouped thousands,
// decimal commas, fractions). The unit text starts at the first character
// after the number that is no blank (space, tab, line break, no-break or
// thin space); an opening parenthesis there makes it the text up to the
// next ")" or the end. Its leading part, converted to 8-bit with
// `code_page` (primes and curly quotes as ' and ", the spaces above as " "),
// is looked up by FindUnitByText. A unit named without parentheses may be
// followed by a second number and a smaller unit of its category, both
// scaled units without offset or inversion: the two make one quantity in
// the smaller unit. Without a digit the amount is "1" and there is no
// unit; a number followed by nothing but blanks has no unit.
//   "12.5 km"           -> "12.5", kilometres
//   "approx. .5 m"      -> "0.5", metres
//   "12 (inches"        -> "12", inches
//   "price: 1,234.50 m" -> "1234.5", metres
//   "6 ft 2 in"         -> "74", inches;  "5'11\"" -> "71", inches
//   "1234567 m"         -> "1234567", metres
ParsedQuantity ParseQuantity(std::u16string_view selection,
                             const UnitTable& table, const CodePage& code_page);

// Carries `value` in `unit` to the reference unit of its category. An
// inverted unit refuses a value of exactly 0 with the detail text
// "(Division by zero)"; a result that is not finite (overflow, or an
// infinite value in) fails with an empty detail. On success stores the
// reference value in *reference; on failure stores the detail in *detail.
bool ToReference(const Unit& unit, double value, double* reference,
                 std::u16string* detail);

// Carries the reference value `reference` into `unit`. Fails with
// "(Division by zero)" when an inverted unit meets a reference equal to its
// offset, or a linear unit has factor 0; fails with an empty detail when
// the result is not finite. Outputs as for ToReference.
bool FromReference(const Unit& unit, double reference, double* value,
                   std::u16string* detail);

// The outcome of ConvertQuantity. When `is_number` is false nothing else is
// set. Otherwise `amount` is the amount as FormatAmount writes it, to replace the
// amount the user typed, and `result` the line to show: the conversion or
// the failure text. Both are 8-bit text in the system code page.
struct Conversion {
  bool is_number = false;
  std::string amount;
  std::string result;
};

// Reads `amount_text` (8-bit) as " %lf" does, converts the amount from
// `from` to `to` and forms "%s %s = %g %s" of the amount as FormatAmount
// writes it (the amount keeps its digits; only the result is cut to six),
// from's name, result and to's name. A failure gives text 146 with its "%1" replaced by the
// detail (text 145, or nothing), converted with `code_page`. No length is
// cut: long unit names come out whole.
//   "12.5", kilometres, miles -> "12.5 kilometres = 7.76714 miles"
//   "0", mpg (UK), litres/100Km -> "Cannot calculate answer (Division by zero)"
//   "abc", ... -> is_number false
Conversion ConvertQuantity(std::string_view amount_text, const Unit& from,
                           const Unit& to, const CodePage& code_page);

}  // namespace qm
