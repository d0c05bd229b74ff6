// Numbers as web pages write them: thousands grouped, decimal commas, the
// typographic minus sign and fractions. Money amounts and quantities are
// written alike; the rules for grouping are those of the amount reader of
// the currency command, with the differences listed below.
#pragma once

#include <cstddef>
#include <string_view>

namespace qm {

// Reads one number from the start of `text` (no white space is skipped):
//   - a sign: "-", the minus sign U+2212 or "+";
//   - digits with "." and "," between them. A space, no-break, narrow
//     no-break or thin space, or an apostrophe ("'" or U+2019) between a
//     group of one to three digits (the first not 0) and exactly three
//     digits groups thousands, but only before any "." or ",";
//   - the decimal sign: the last separator when both "." and "," occur and
//     every earlier one is of the other kind; none when there are several
//     of one kind; a lone "," unless exactly three digits follow it and the
//     digits before it are a group (1,234 but 1,5 and 0,125); a lone "."
//     always, since the converter has always read "1.234 km" that way.
//     The thousands separators must stand between groups of three digits;
//     otherwise the first separator is the decimal sign and the number ends
//     at the next one ("2.0.1" reads 2.0). A separator not followed by a
//     digit ends the number ("12.50." reads 12.50);
//   - a number without separators may go on with an exponent ("1.5e3"),
//     or with a fraction: a vulgar fraction character ("1\u00BD"), a slash
//     or fraction slash and a denominator ("1/2"), or one space and a
//     proper fraction ("3 1/2", "3 \u00BD"); a vulgar fraction alone
//     ("\u00BE") is a number too. A zero denominator, or one followed by
//     another "/" (a date), makes no fraction.
// On success stores the value in *value and the number of characters read
// in *consumed and returns true; otherwise returns false and leaves both
// untouched. Linear in the length of the number.
//   "1,234.5" -> 1234.5   "1.234,5" -> 1234.5   "12 500" -> 12500
//   "1,5" -> 1.5          "\u221240" -> -40      "3 1/2" -> 3.5
//   "12/25/2020" -> 12 (consumed 2)
bool ReadWrittenNumber(std::u16string_view text, double* value,
                       std::size_t* consumed);

// The value of a vulgar fraction character ("\u00BD" is 0.5), or 0 when `c`
// is none.
double VulgarFractionValue(char16_t c);

}  // namespace qm
