// Finding a book number or a product code in free text (a selection, its
// HTML, a page address) and bringing it to its normal form: an ISBN-10 is
// ten characters, nine of "0".."9" then "0".."9" or "X"; a book numbered
// from 979 on has no ISBN-10 and keeps its thirteen "0".."9"; a UPC-A is
// twelve of "0".."9". No spaces or hyphens.
//
// Pages write codes with separators between the digit groups: a space or a
// hyphen, and equally a no-break space (U+00A0, U+2007, U+202F), a Unicode
// hyphen (U+2010, U+2011), figure or en dash (U+2012, U+2013) or minus sign
// (U+2212); every scanner that passes over separators passes over all of
// these. The number of a label written before a code ("ISBN-13", "ISBN13",
// "ISBN 10", "isbn-10", "EAN-13": the word in any case, at most one
// separator, and no digit after the number) is never read as digits of a
// code.
//
// Every scanner returns true and stores its result in *out on success, and
// returns false leaving *out untouched otherwise. All run in time linear in
// the length of the text.
#pragma once

#include <string>
#include <string_view>

#include "text/digit_search.h"

namespace qm {

// The scanners that take a DigitMap of `text` (made from that very text)
// give the same answers as those that do not; they read the stretches
// between digits from the map, so several scanners over one long text read
// it once between them.

// The first run of IsWideDigit characters, with separators between them
// passed over, that holds exactly ten characters and passes IsValidISBN10. An "x" or "X" right after the ninth digit counts as
// the tenth character (stored as "X"); any other character ends the run. A
// run of eleven or more digits is never an ISBN, whatever ten of them say.
//   FindISBN10(u"ISBN 0-306-40615-2", &out)  -> true, out == u"0306406152"
//   FindISBN10(u"0-8044-2957-x", &out)       -> true, out == u"080442957X"
//   FindISBN10(u"0306406152a", &out)         -> true, out == u"0306406152"
//   FindISBN10(u"0.306.40615.2", &out)       -> false
//   FindISBN10(u"ISBN-10 0306406152", &out)  -> true, out == u"0306406152"
bool FindISBN10(std::u16string_view text, std::u16string* out);
bool FindISBN10(std::u16string_view text, const DigitMap& digits, std::u16string* out);

// The first thirteen "0".."9" that pass IsValidEAN13 and stand apart from
// other digits, trying a start at every digit from the left and taking the
// thirteen digits from there on. Characters that are neither ASCII digits
// nor ASCII letters between them are passed over; an ASCII letter among
// them spoils that start. A candidate whose first digit comes right after a
// "0".."9", or whose last comes right before one, is a piece of a longer
// number and is passed by. The search gives up as soon as a start could not
// be completed (the text ends first). Any prefix is returned, not only 978.
//   FindEAN13(u"978-0-306-40615-7", &out)       -> true, out == u"9780306406157"
//   FindEAN13(u"0.306.40615.2", &out)           -> false (ten digits)
//   FindEAN13(u"97897222872272", &out)          -> false (fourteen digits)
//   FindEAN13(u"ISBN-13 9788072042500", &out)   -> true, out == u"9788072042500"
bool FindEAN13(std::u16string_view text, std::u16string* out);
bool FindEAN13(std::u16string_view text, const DigitMap& digits, std::u16string* out);

// The ISBN-10 of a valid EAN-13 that begins with 978: its fourth to twelfth
// digits and a new check digit. False for every other text, including 979
// codes.
//   EAN13ToISBN10(u"9780306406157", &out) -> true, out == u"0306406152"
bool EAN13ToISBN10(std::u16string_view ean, std::u16string* out);

// The book number a valid EAN-13 carries, in the form a bookshop's search
// takes: for 978, its ISBN-10 (EAN13ToISBN10), which older links and
// templates expect; for 979 followed by any digit but 0, the thirteen digits
// themselves, since those numbers were never given an ISBN-10. False for
// every other text: 979-0 numbers printed music, not books.
//   EAN13ToISBN(u"9780306406157", &out) -> true, out == u"0306406152"
//   EAN13ToISBN(u"9791090636071", &out) -> true, out == u"9791090636071"
//   EAN13ToISBN(u"9790230671187", &out) -> false
bool EAN13ToISBN(std::u16string_view ean, std::u16string* out);

// As FindISBN10 without the "X": the first run of exactly twelve wide
// digits (separators passed over) that passes IsValidUPCA, or of thirteen
// that begin with "0" and pass IsValidEAN13: the EAN-13 of a UPC-A item is
// its UPC-A after a 0, and gives that UPC-A.
//   FindUPCA(u"0 36000 29145 2", &out) -> true, out == u"036000291452"
//   FindUPCA(u"0036000291452", &out)   -> true, out == u"036000291452"
bool FindUPCA(std::u16string_view text, std::u16string* out);

// As FindUPCA, but a run of ten or eleven digits also counts, made up to
// twelve with leading zeros, and a run of thirteen does not; the first
// candidate passing IsValidUPCA wins.
//   FindPaddedUPCA(u"36000291452", &out) -> true, out == u"036000291452"
bool FindPaddedUPCA(std::u16string_view text, std::u16string* out);

// FindUPCA and FindPaddedUPCA of the same text in one pass, for callers
// that want both: each output is set, and its flag made true, exactly when
// that scanner would succeed, with its answer.
struct UPCARuns {
  bool has_upca = false;
  std::u16string upca;
  bool has_padded = false;
  std::u16string padded;
};
UPCARuns FindUPCAAndPaddedUPCA(std::u16string_view text, const DigitMap& digits);

// The first run of exactly eleven adjacent "0".."9" (nothing is passed
// over: a space or a hyphen ends a run too), completed with the check digit
// that makes it a valid UPC-A. Meant for selections only: a typed code is
// never completed, so that a mistyped one is not made to look valid.
//   CompleteUPCA(u"UPC 03600029145", &out) -> true, out == u"036000291452"
//   CompleteUPCA(u"03600-029145", &out)    -> false
bool CompleteUPCA(std::u16string_view text, std::u16string* out);
bool CompleteUPCA(std::u16string_view text, const DigitMap& digits, std::u16string* out);

}  // namespace qm
