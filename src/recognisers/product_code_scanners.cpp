#include "recognisers/product_code_scanners.h"

#include <array>
#include <cstddef>

#include "recognisers/product_code_checks.h"
#include "text/char_class.h"
#include "text/digit_search.h"

namespace qm {
namespace {

constexpr bool IsAsciiLetter(char16_t c) {
  return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

// What pages write between the groups of a code: the ASCII space and
// hyphen, the no-break spaces (plain, figure, narrow) that keep a code on
// one line, and the Unicode hyphens, figure dash, en dash and minus sign
// that typesetting puts in place of the hyphen.
constexpr char16_t kCodeSeparators[] = {u' ',    u'-',    0x00A0, 0x2007, 0x202F,
                                        0x2010, 0x2011, 0x2012, 0x2013, 0x2212};

constexpr bool IsCodeSeparator(char16_t c) {
  if (c < 0x80) return c == u' ' || c == u'-';  // most of a page
  for (const char16_t separator : kCodeSeparators) {
    if (c == separator) return true;
  }
  return false;
}

// The words that label a code, each with the second digits of the numbers
// that may follow it: "ISBN-10", "ISBN-13", "EAN-13".
struct CodeLabel {
  std::u16string_view word;  // lower case
  std::u16string_view second_digits;
};
constexpr CodeLabel kCodeLabels[] = {{u"isbn", u"03"}, {u"ean", u"3"}};

// True when the two characters at `i` are the number of a label ("ISBN-13",
// "ISBN13", "isbn 10", "EAN-13"): the label's word in any case, at most one
// separator, then "1" and one of its second digits, with no digit after.
// Such a number names the kind of code that follows and is never a part
// of it.
bool IsLabelNumberAt(std::u16string_view text, std::size_t i) {
  if (i + 2 > text.size() || text[i] != u'1') return false;
  if (i + 2 < text.size() && IsWideDigit(text[i + 2])) return false;
  std::size_t end = i;
  if (end > 0 && IsCodeSeparator(text[end - 1])) --end;
  for (const CodeLabel& label : kCodeLabels) {
    const std::size_t size = label.word.size();
    if (end < size || label.second_digits.find(text[i + 1]) == label.second_digits.npos) {
      continue;
    }
    bool same = true;
    for (std::size_t k = 0; k < size && same; ++k) {
      char16_t c = text[end - size + k];
      if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
      same = c == label.word[k];
    }
    if (same) return true;
  }
  return false;
}

// One left-to-right pass over runs of wide digits with separators between
// them. The first N digits of a run are kept; later ones are only
// counted, so an over-long run is known by its count. With `isbn_x`, an "x"
// or "X" right after the ninth digit is the tenth character. When a run
// ends (at any other character, or at the end of the text), `accept` gets
// the kept characters and the count; its true ends the scan with success.
// `skip(i)` is SkipToPossibleDigit(text, i), or the same read from a map.
template <std::size_t N, bool isbn_x, typename Skip, typename Accept>
bool ScanDigitRuns(std::u16string_view text, Skip skip, Accept accept) {
  std::array<char16_t, N> kept{};
  std::size_t count = 0;
  const auto run_ends = [&] {
    const std::size_t held = count < N ? count : N;
    return accept(std::u16string_view(kept.data(), held), count);
  };
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    if (count == 0) {
      // Between runs nothing but a digit matters: a run of no digits is
      // never a candidate. Pages are mostly such stretches.
      i = skip(i);
      while (i < size && !IsWideDigit(text[i])) i = skip(i + 1);
      if (i == size) break;
      // A label's number follows a letter, so it can only begin a run.
      if (text[i] == u'1' && IsLabelNumberAt(text, i)) {
        ++i;
        continue;
      }
    }
    const char16_t c = text[i];
    if (IsWideDigit(c)) {
      if (count < N) kept[count] = c;
      ++count;
    } else if (isbn_x && count == 9 && (c == u'x' || c == u'X')) {
      kept[9] = u'X';
      count = 10;
    } else if (IsCodeSeparator(c)) {
      // A separator inside the number.
    } else {
      if (run_ends()) return true;
      count = 0;
    }
  }
  return run_ends();
}

// The two ways to the next possible digit: reading the text, or its map.
struct SkipInText {
  std::u16string_view text;
  std::size_t operator()(std::size_t from) const { return SkipToPossibleDigit(text, from); }
};
struct SkipInMap {
  const DigitMap& map;
  std::size_t operator()(std::size_t from) const { return map.Next(from); }
};

template <typename Skip>
bool ISBN10Scan(std::u16string_view text, Skip skip, std::u16string* out) {
  return ScanDigitRuns<10, true>(
      text, skip, [out](std::u16string_view kept, std::size_t count) {
        if (count != 10 || !IsValidISBN10(kept)) return false;
        out->assign(kept);
        return true;
      });
}

}  // namespace

bool FindISBN10(std::u16string_view text, std::u16string* out) {
  return ISBN10Scan(text, SkipInText{text}, out);
}

bool FindISBN10(std::u16string_view text, const DigitMap& digits, std::u16string* out) {
  return ISBN10Scan(text, SkipInMap{digits}, out);
}

namespace {

// The run as a UPC-A: twelve digits that pass, or thirteen that begin with
// 0 and pass as an EAN-13, which is how the same item's code is written
// where EAN-13 is the rule.
bool UPCAOfRun(std::u16string_view kept, std::size_t count, std::u16string* out) {
  if (count == 12 && IsValidUPCA(kept)) {
    out->assign(kept);
    return true;
  }
  if (count == 13 && kept[0] == u'0' && IsValidEAN13(kept)) {
    out->assign(kept.substr(1));
    return true;
  }
  return false;
}

}  // namespace

bool FindUPCA(std::u16string_view text, std::u16string* out) {
  return ScanDigitRuns<13, false>(
      text, SkipInText{text}, [out](std::u16string_view kept, std::size_t count) {
        return UPCAOfRun(kept, count, out);
      });
}

namespace {

// The run made up to twelve digits with leading zeros, when it is a valid
// UPC-A that way.
bool PaddedUPCA(std::u16string_view kept, std::size_t count, std::u16string* out) {
  if (count < 10 || count > 12) return false;
  std::u16string padded(12 - count, u'0');
  padded.append(kept);
  if (!IsValidUPCA(padded)) return false;
  *out = std::move(padded);
  return true;
}

}  // namespace

bool FindPaddedUPCA(std::u16string_view text, std::u16string* out) {
  return ScanDigitRuns<13, false>(
      text, SkipInText{text}, [out](std::u16string_view kept, std::size_t count) {
        return PaddedUPCA(kept, count, out);
      });
}

UPCARuns FindUPCAAndPaddedUPCA(std::u16string_view text, const DigitMap& digits) {
  UPCARuns runs;
  const auto accept = [&runs](std::u16string_view kept, std::size_t count) {
    if (!runs.has_upca) runs.has_upca = UPCAOfRun(kept, count, &runs.upca);
    if (!runs.has_padded) runs.has_padded = PaddedUPCA(kept, count, &runs.padded);
    return runs.has_upca && runs.has_padded;
  };
  ScanDigitRuns<13, false>(text, SkipInMap{digits}, accept);
  return runs;
}

namespace {

template <typename Skip>
bool EAN13Scan(std::u16string_view text, Skip skip, std::u16string* out) {
  // Trying a start at every digit and walking on from it would read the
  // same stretch of text up to thirteen times. Instead one pass keeps the
  // starts still open: the digits seen since the last letter, at most
  // thirteen, earliest first, in a ring. When the earliest holds thirteen
  // digits it is decided, and the next digit is the next start. A letter
  // spoils every open start at once. Starts are decided in the same order
  // as one at a time, so the first valid code is the same.
  constexpr std::size_t kDigits = 13;
  constexpr std::size_t kRing = 16;  // above kDigits; a power of two makes % a mask
  const std::size_t size = text.size();
  std::array<char16_t, kRing> digit{};
  std::array<std::size_t, kRing> position{};
  std::size_t first = 0;  // sequence number of the earliest open digit
  std::size_t open = 0;
  // The open digits' values summed by the parity of their sequence number:
  // a candidate weighs its digits 1, 3, 1 ... from its first, so the check
  // sum of any window is one of two mixes of these.
  int parity_sum[2] = {0, 0};
  // A start with fewer than thirteen characters left can never be
  // completed, and neither can any start after it: the search ends there.
  const auto too_close_to_end = [size](std::size_t at) {
    return size - at < kDigits;
  };
  for (std::size_t i = 0; i < size; ++i) {
    if (open == 0) {
      // With no start open, letters and everything else but a digit pass
      // without effect.
      i = skip(i);
      while (i < size && !IsAsciiDigit(text[i])) i = skip(i + 1);
      if (i == size) break;
      // A label's number follows a letter, so no start is open before it.
      if (text[i] == u'1' && IsLabelNumberAt(text, i)) {
        ++i;
        continue;
      }
    }
    const char16_t c = text[i];
    if (IsAsciiLetter(c)) {
      open = 0;
      parity_sum[0] = parity_sum[1] = 0;
      continue;
    }
    if (!IsAsciiDigit(c)) continue;
    if (open == 0 && too_close_to_end(i)) return false;
    const std::size_t next = first + open;
    digit[next % kRing] = c;
    position[next % kRing] = i;
    parity_sum[next % 2] += c - u'0';
    if (++open < kDigits) continue;

    // A code stands apart: a digit right before its first or right after
    // its last makes it a piece of some longer number.
    const std::size_t start = position[first % kRing];
    const bool apart = (start == 0 || !IsAsciiDigit(text[start - 1])) &&
                       (i + 1 == size || !IsAsciiDigit(text[i + 1]));
    const int weighted = parity_sum[first % 2] + 3 * parity_sum[1 - first % 2];
    if (apart && weighted % 10 == 0) {
      out->clear();
      for (std::size_t k = 0; k < kDigits; ++k) {
        out->push_back(digit[(first + k) % kRing]);
      }
      return true;
    }
    parity_sum[first % 2] -= digit[first % kRing] - u'0';
    ++first;
    --open;
    if (too_close_to_end(position[first % kRing])) return false;
  }
  // Every start still open meets the end of the text first.
  return false;
}

template <typename Skip>
bool CompleteUPCAScan(std::u16string_view text, Skip skip, std::u16string* out) {
  constexpr std::size_t kDigits = 11;
  std::array<char16_t, kDigits> kept{};
  std::size_t count = 0;
  const std::size_t size = text.size();
  for (std::size_t i = 0; i < size; ++i) {
    if (count == 0) {
      i = skip(i);
      while (i < size && !IsAsciiDigit(text[i])) i = skip(i + 1);
      if (i == size) break;
    }
    const char16_t c = text[i];
    if (IsAsciiDigit(c)) {
      if (count < kDigits) kept[count] = c;
      ++count;
      continue;
    }
    if (count == kDigits) break;
    count = 0;
  }
  if (count != kDigits) return false;
  int sum = 0;
  UPCWeightedSum(std::u16string_view(kept.data(), kDigits), &sum);
  std::u16string upc(kept.data(), kDigits);
  upc.push_back(static_cast<char16_t>(u'0' + (10 - sum) % 10));
  *out = std::move(upc);
  return true;
}

}  // namespace

bool FindEAN13(std::u16string_view text, std::u16string* out) {
  return EAN13Scan(text, SkipInText{text}, out);
}

bool FindEAN13(std::u16string_view text, const DigitMap& digits, std::u16string* out) {
  return EAN13Scan(text, SkipInMap{digits}, out);
}

bool CompleteUPCA(std::u16string_view text, std::u16string* out) {
  return CompleteUPCAScan(text, SkipInText{text}, out);
}

bool CompleteUPCA(std::u16string_view text, const DigitMap& digits, std::u16string* out) {
  return CompleteUPCAScan(text, SkipInMap{digits}, out);
}

bool EAN13ToISBN10(std::u16string_view ean, std::u16string* out) {
  if (!IsValidEAN13(ean) || ean.substr(0, 3) != u"978") return false;
  std::u16string isbn(ean.substr(3));
  int sum = 0;
  for (int k = 1; k <= 9; ++k) sum += k * (isbn[k - 1] - u'0');
  const int check = sum % 11;
  isbn[9] = check == 10 ? u'X' : static_cast<char16_t>(u'0' + check);
  *out = std::move(isbn);
  return true;
}

bool EAN13ToISBN(std::u16string_view ean, std::u16string* out) {
  if (EAN13ToISBN10(ean, out)) return true;
  if (!IsValidEAN13(ean) || ean.substr(0, 3) != u"979" || ean[3] == u'0') return false;
  out->assign(ean);
  return true;
}

}  // namespace qm
