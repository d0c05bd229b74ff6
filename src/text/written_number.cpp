#include "text/written_number.h"

#include <cstddef>
#include <string>

#include "text/char_class.h"
#include "text/number_scan.h"

namespace qm {
namespace {

struct VulgarFraction {
  char16_t c;
  double numerator;
  double denominator;
};

constexpr VulgarFraction kVulgarFractions[] = {
    {u'\u00BC', 1, 4},  {u'\u00BD', 1, 2},  {u'\u00BE', 3, 4},
    {u'\u2150', 1, 7},  {u'\u2151', 1, 9},  {u'\u2152', 1, 10},
    {u'\u2153', 1, 3},  {u'\u2154', 2, 3},  {u'\u2155', 1, 5},
    {u'\u2156', 2, 5},  {u'\u2157', 3, 5},  {u'\u2158', 4, 5},
    {u'\u2159', 1, 6},  {u'\u215A', 5, 6},  {u'\u215B', 1, 8},
    {u'\u215C', 3, 8},  {u'\u215D', 5, 8},  {u'\u215E', 7, 8},
};

constexpr bool IsSeparator(char16_t c) { return c == u'.' || c == u','; }

// Marks that group thousands: "9 800", "1\u00A0298", "1'049" and the narrow
// and thin spaces of typeset text.
constexpr bool IsGroupMark(char16_t c) {
  return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009' ||
         c == u'\'' || c == u'\u2019';
}

// One space between a whole number and its fraction ("3 1/2").
constexpr bool IsFractionGap(char16_t c) {
  return c == u' ' || c == u'\u00A0' || c == u'\u202F' || c == u'\u2009';
}

constexpr bool IsFractionSlash(char16_t c) { return c == u'/' || c == u'\u2044'; }

// A denominator longer than this is no fraction anyone writes, and its
// digits would outgrow the exact integers of a double.
constexpr std::size_t kMostFractionDigits = 9;

// Exactly three digits at `i`: "1 234" groups, "5 12" and "555 1234" do not.
bool ThreeDigitsFollow(std::u16string_view text, std::size_t i) {
  for (std::size_t k = i; k < i + 3; ++k) {
    if (k >= text.size() || !IsAsciiDigit(text[k])) return false;
  }
  return i + 3 == text.size() || !IsAsciiDigit(text[i + 3]);
}

// Reads "N/D" at `at`: at most kMostFractionDigits digits each, D not 0 and
// not followed by another slash or by decimals. Stores N, D and the end.
bool ReadSlashFraction(std::u16string_view text, std::size_t at,
                       double* numerator, double* denominator,
                       std::size_t* end) {
  double n = 0;
  std::size_t i = at;
  while (i < text.size() && IsAsciiDigit(text[i]) && i - at < kMostFractionDigits) {
    n = n * 10 + (text[i] - u'0');
    ++i;
  }
  if (i == at || i >= text.size() || !IsFractionSlash(text[i])) return false;
  const std::size_t d_start = ++i;
  double d = 0;
  while (i < text.size() && IsAsciiDigit(text[i]) && i - d_start < kMostFractionDigits) {
    d = d * 10 + (text[i] - u'0');
    ++i;
  }
  if (i == d_start || d == 0) return false;
  if (i < text.size() && (IsAsciiDigit(text[i]) || IsFractionSlash(text[i]))) {
    return false;
  }
  // "1/2.5" is no fraction, while "add 1/2." ends a sentence.
  if (i + 1 < text.size() && IsSeparator(text[i]) && IsAsciiDigit(text[i + 1])) {
    return false;
  }
  *numerator = n;
  *denominator = d;
  *end = i;
  return true;
}

// The digits, separators and group marks of a number, from `start` (a
// digit, or a separator before a digit) to `*end`.
struct Run {
  std::size_t end = 0;
  bool grouped = false;  // by a group mark
  std::size_t points = 0;
  std::size_t commas = 0;
};

Run FindRun(std::u16string_view text, std::size_t start) {
  Run run;
  std::size_t group_digits = 0;  // digits since the start or the last mark
  std::size_t i = start;
  for (; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsAsciiDigit(c)) {
      ++group_digits;
    } else if (IsSeparator(c)) {
      if (i + 1 >= text.size() || !IsAsciiDigit(text[i + 1])) break;
      (c == u'.' ? run.points : run.commas) += 1;
    } else if (IsGroupMark(c) && run.points + run.commas == 0 &&
               (run.grouped ? group_digits == 3
                            : group_digits >= 1 && group_digits <= 3 &&
                                  text[start] != u'0') &&
               ThreeDigitsFollow(text, i + 1)) {
      run.grouped = true;
      group_digits = 0;
    } else {
      break;
    }
  }
  run.end = i;
  return run;
}

// Whether the separators of kind `thousands` in [start, end), a run without
// group marks, stand between groups of three digits after a first group of
// one to three digits not beginning with 0. A separator of the other kind
// is the decimal sign: the groups end there.
bool ValidGroups(std::u16string_view text, std::size_t start, std::size_t end,
                 char16_t thousands) {
  std::size_t digits = 0;
  bool first = true;
  for (std::size_t i = start; i < end; ++i) {
    const char16_t c = text[i];
    if (IsAsciiDigit(c)) {
      ++digits;
      continue;
    }
    if (c != thousands) break;
    if (first ? (digits < 1 || digits > 3 || text[start] == u'0') : digits != 3) {
      return false;
    }
    first = false;
    digits = 0;
  }
  return first || digits == 3;
}

}  // namespace

double VulgarFractionValue(char16_t c) {
  // Most characters are none; selections are scanned a character at a time.
  if (c < u'\u00BC' || (c > u'\u00BE' && c < u'\u2150') || c > u'\u215E') return 0;
  for (const VulgarFraction& f : kVulgarFractions) {
    if (f.c == c) return f.numerator / f.denominator;
  }
  return 0;
}

bool ReadWrittenNumber(std::u16string_view text, double* value,
                       std::size_t* consumed) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() &&
      (text[i] == u'-' || text[i] == u'\u2212' || text[i] == u'+')) {
    negative = text[i] != u'+';
    ++i;
  }
  if (i >= text.size()) return false;
  if (const double alone = VulgarFractionValue(text[i]); alone != 0) {
    *value = negative ? -alone : alone;
    *consumed = i + 1;
    return true;
  }
  const std::size_t start = i;
  // ".5": a point may begin a number; a comma may not (", 5").
  const bool leading_point =
      text[i] == u'.' && i + 1 < text.size() && IsAsciiDigit(text[i + 1]);
  if (!IsAsciiDigit(text[i]) && !leading_point) return false;

  const Run run = FindRun(text, start);
  std::size_t end = run.end;

  // Which separator is the decimal sign, and which separators group.
  char16_t decimal = 0;
  char16_t thousands = 0;
  const std::size_t separators = run.points + run.commas;
  std::size_t last = end;  // the last separator
  if (separators > 0) {
    for (std::size_t k = end; k-- > start;) {
      if (IsSeparator(text[k])) {
        last = k;
        break;
      }
    }
  }
  bool valid = true;
  if (separators == 1) {
    const bool comma_groups = text[last] == u',' && !run.grouped &&
                              end - last - 1 == 3 &&
                              ValidGroups(text, start, end, u',');
    if (comma_groups) {
      thousands = u',';
    } else {
      decimal = text[last];
    }
  } else if (separators > 1) {
    const char16_t last_kind = text[last];
    const std::size_t of_last_kind = last_kind == u'.' ? run.points : run.commas;
    if (of_last_kind == separators) {
      thousands = last_kind;  // "1,234,567"
    } else if (of_last_kind == 1) {
      decimal = last_kind;  // "1,234.5"
      thousands = last_kind == u'.' ? u',' : u'.';
    } else {
      valid = false;
    }
    if (valid && run.grouped) valid = false;
    if (valid) valid = ValidGroups(text, start, decimal ? last : end, thousands);
  }
  if (!valid) {
    // The first separator is the decimal sign; the next one ends the number.
    std::size_t first = start;
    while (!IsSeparator(text[first])) ++first;
    decimal = text[first];
    thousands = 0;
    end = first + 1;
    while (end < text.size() && IsAsciiDigit(text[end])) ++end;
  }

  // The number in the form the scanner reads: digits and one ".".
  std::string plain;
  plain.reserve(end - start + 1);
  for (std::size_t k = start; k < end; ++k) {
    const char16_t c = text[k];
    if (IsAsciiDigit(c)) {
      plain += static_cast<char>(c);
    } else if (c == decimal) {
      plain += '.';
    }
  }
  const bool simple = !run.grouped && thousands == 0 && decimal != u',';
  if (simple) {
    // An exponent belongs to a number written without grouping.
    std::size_t e = end;
    if (e < text.size() && (text[e] == u'e' || text[e] == u'E')) {
      std::size_t k = e + 1;
      if (k < text.size() && (text[k] == u'+' || text[k] == u'-')) ++k;
      if (k < text.size() && IsAsciiDigit(text[k])) {
        while (k < text.size() && IsAsciiDigit(text[k])) ++k;
        for (std::size_t m = e; m < k; ++m) plain += static_cast<char>(text[m]);
        end = k;
      }
    }
  }
  double number = 0;
  std::size_t used = 0;
  if (!ScanDouble(plain, &number, &used)) return false;

  // A whole number, without exponent, may go on with a fraction.
  const bool whole = simple && decimal == 0 && end == run.end;
  if (whole && end < text.size()) {
    double n = 0;
    double d = 0;
    std::size_t after = 0;
    if (const double f = VulgarFractionValue(text[end]); f != 0) {
      number += f;
      ++end;
    } else if (IsFractionSlash(text[end]) &&
               ReadSlashFraction(text, start, &n, &d, &after) &&
               end - start <= kMostFractionDigits) {
      number = n / d;
      end = after;
    } else if (IsFractionGap(text[end]) && end + 1 < text.size()) {
      if (const double g = VulgarFractionValue(text[end + 1]); g != 0) {
        number += g;
        end += 2;
      } else if (ReadSlashFraction(text, end + 1, &n, &d, &after) && n < d) {
        number += n / d;
        end = after;
      }
    }
  }
  *value = negative ? -number : number;
  *consumed = end;
  return true;
}

}  // namespace qm
