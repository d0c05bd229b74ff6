#include "recognisers/stock_symbol.h"

#include <algorithm>
#include <cstddef>
#include <optional>

#include "text/char_class.h"

namespace qm {
namespace {

constexpr bool IsSymbolLetter(char16_t c) { return c >= u'A' && c <= u'Z'; }

constexpr bool IsAsciiLower(char16_t c) { return c >= u'a' && c <= u'z'; }

constexpr bool IsAsciiAlnum(char16_t c) {
  return IsSymbolLetter(c) || IsAsciiLower(c) || IsAsciiDigit(c);
}

// Whether a number can begin at `at`, in a search of the text from `from`
// on: a digit that does not continue a word, a number or a decimal ("B2",
// "12", "3.5").
bool StartsNumber(std::u16string_view text, std::size_t at,
                  std::size_t from) {
  if (!IsAsciiDigit(text[at])) return false;
  if (at == from) return true;
  const char16_t before = text[at - 1];
  return !IsAsciiAlnum(before) && before != u'.' && before != u',' &&
         !IsWideLower(before);
}

// The end of the letters of a suffix that begins at `at` (just after its
// "." or "-"), in a search of the text up to `end`: one to `most` letters
// A-Z, not followed by another letter or a digit. `at` itself when there is
// no such suffix.
std::size_t SuffixEnd(std::u16string_view text, std::size_t at,
                      std::size_t end, std::size_t most) {
  std::size_t i = at;
  while (i < end && i - at < most && IsSymbolLetter(text[i])) ++i;
  if (i == at || (i < end && IsAsciiAlnum(text[i]))) return at;
  return i;
}

// The most letters of a class suffix after "-" ("BRK-B", "HEI-A"), and of
// an exchange suffix after the "." of a numeric symbol ("0700.HK", "7203.T").
constexpr std::size_t kClassSuffixMost = 2;
constexpr std::size_t kExchangeSuffixMost = 4;

// A part of the text, as positions into it.
struct Span {
  std::size_t begin;
  std::size_t end;
};

std::u16string Slice(std::u16string_view text, Span span) {
  return std::u16string(text.substr(span.begin, span.end - span.begin));
}

// Finds the first "(" at or after a position and the last ")" before one.
// A deferred search starts further right and ends no further right than the
// one that deferred to it, so each finder resumes where it left off and the
// text is crossed once in each direction in all.
class ParenthesisFinder {
 public:
  explicit ParenthesisFinder(std::u16string_view text) : text_(text) {}

  // The first "(" at or after `from`; text.size() when there is none.
  // REQUIRES: `from` is not less than in the previous call.
  std::size_t FirstOpenFrom(std::size_t from) {
    if (!open_known_ || open_ < from) {
      std::size_t i = from;
      while (i < text_.size() && text_[i] != u'(') ++i;
      open_ = i;
      open_known_ = true;
    }
    return open_;
  }

  // The last ")" before `to`, or nothing.
  // REQUIRES: `to` is not greater than in the previous call.
  std::optional<std::size_t> LastCloseBefore(std::size_t to) {
    if (!close_known_ || (close_ && *close_ >= to)) {
      close_.reset();
      for (std::size_t i = to; i > 0; --i) {
        if (text_[i - 1] == u')') {
          close_ = i - 1;
          break;
        }
      }
      close_known_ = true;
    }
    return close_;
  }

 private:
  std::u16string_view text_;
  bool open_known_ = false;
  std::size_t open_ = 0;
  bool close_known_ = false;
  std::optional<std::size_t> close_;
};

}  // namespace

// The search is defined recursively: a run followed by a colon hands over
// to a search of the text from that colon on, whose answer, when not empty,
// is the caller's answer, and when empty makes the run the answer. A run is
// never empty, so whatever the innermost search settles on (its own answer,
// or for an empty one the run that handed over to it) passes unchanged to
// the top. Only the latest run that handed over needs remembering, and the
// recursion is a loop over ever shorter suffixes.
std::u16string FindStockSymbol(std::u16string_view text) {
  ParenthesisFinder parentheses(text);
  Span searched{0, text.size()};
  std::optional<Span> handed_over;
  for (;;) {
    Span inside = searched;
    const std::size_t open = parentheses.FirstOpenFrom(searched.begin);
    if (open < searched.end) inside.begin = open + 1;
    const std::optional<std::size_t> close =
        parentheses.LastCloseBefore(searched.end);
    if (close && *close >= inside.begin) inside.end = *close;
    if (inside.begin == inside.end) return Slice(text, searched);

    // A number right after an exchange's colon is the symbol
    // ("TYO: 7203"); elsewhere a number counts only with the suffix of its
    // exchange ("0700.HK").
    std::size_t after_colon = inside.end;
    if (handed_over) {
      after_colon = std::max(searched.begin + 1, inside.begin);
      while (after_colon < inside.end &&
             (text[after_colon] == u' ' || text[after_colon] == u'\u00A0')) {
        ++after_colon;
      }
    }
    std::size_t pos = inside.begin;
    for (;;) {
      while (pos < inside.end && !IsSymbolLetter(text[pos]) &&
             !StartsNumber(text, pos, inside.begin)) {
        ++pos;
      }
      if (pos == inside.end) {
        return handed_over ? Slice(text, *handed_over) : std::u16string();
      }
      if (IsAsciiDigit(text[pos])) {
        const std::size_t start = pos;
        std::size_t end = start;
        while (end < inside.end && IsAsciiDigit(text[end])) ++end;
        std::size_t last = end;
        if (end < inside.end && text[end] == u'.') {
          const std::size_t suffix =
              SuffixEnd(text, end + 1, inside.end, kExchangeSuffixMost);
          if (suffix > end + 1) last = suffix;
        }
        const bool alone = end == inside.end || !IsAsciiAlnum(text[end]);
        if (last > end || (start == after_colon && alone)) {
          return Slice(text, Span{start, last});
        }
        pos = end;
        continue;
      }
      const std::size_t start = pos;
      std::size_t end = start + 1;
      while (end < inside.end &&
             (IsSymbolLetter(text[end]) || text[end] == u'.')) {
        ++end;
      }
      // A share class belongs to the symbol: "BRK-B".
      if (end + 1 < inside.end && text[end] == u'-' &&
          text[end - 1] != u'.') {
        const std::size_t suffix =
            SuffixEnd(text, end + 1, inside.end, kClassSuffixMost);
        if (suffix > end + 1) end = suffix;
      }
      const Span candidate{start, text[end - 1] == u'.' ? end - 1 : end};
      const bool after_lower =
          start > inside.begin && IsWideLower(text[start - 1]);
      if (end == inside.end) {
        return after_lower ? Slice(text, searched) : Slice(text, candidate);
      }
      if (!after_lower && text[end] != u':' && !IsAsciiLower(text[end])) {
        return Slice(text, candidate);
      }
      if (text[end] != u':') {
        pos = end;
        continue;
      }
      handed_over = candidate;
      searched = Span{end, inside.end};
      break;
    }
  }
}

InputCheck CheckStockInput(std::u16string_view text) {
  constexpr std::u16string_view kBlank = u"\r\n \t";
  const std::size_t first = text.find_first_not_of(kBlank);
  if (first == std::u16string_view::npos) {
    return InputCheck::Refuse(kMessageStockSymbolRequired);
  }
  const std::size_t last = text.find_last_not_of(kBlank);
  return InputCheck::Accept(
      std::u16string(text.substr(first, last - first + 1)));
}

}  // namespace qm
