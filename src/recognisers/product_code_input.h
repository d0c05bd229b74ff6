// What the ISBN and UPC dialogs accept when OK is pressed, and the normal
// form they hand on.
#pragma once

#include <string_view>

#include "recognisers/input_check.h"
#include "resource_ids.h"

namespace qm {

// String ids of the refusals: "The ISBN number is not valid." and "The UPC
// number is not valid."
inline constexpr int kMessageInvalidISBN = IDS_INVALID_ISBN;
inline constexpr int kMessageInvalidUPC = IDS_INVALID_UPC;

// Accepts the ISBN-10 that FindISBN10 finds in `text`, else the book number
// of the first EAN-13 (FindEAN13, EAN13ToISBN): the ISBN-10 of a 978 code,
// the thirteen digits of a 979 one. Refuses with kMessageInvalidISBN
// otherwise, an empty text and a 979-0 code included.
//   CheckISBNInput(u"978-0-306-40615-7") -> accepted, text u"0306406152"
//   CheckISBNInput(u"979-10-90636-07-1") -> accepted, text u"9791090636071"
InputCheck CheckISBNInput(std::u16string_view text);

// Accepts the UPC-A that FindUPCA finds in `text` (an EAN-13 that begins
// with 0 gives the UPC-A after its 0), else the one of FindPaddedUPCA;
// refuses with kMessageInvalidUPC otherwise. A typed code
// is never completed with a computed check digit: eleven digits that are
// not a padded UPC-A are refused, where a selection would be completed.
//   CheckUPCInput(u"0 36000 29145 2") -> accepted, text u"036000291452"
//   CheckUPCInput(u"0036000291452")   -> accepted, text u"036000291452"
//   CheckUPCInput(u"03600029145")     -> refused, kMessageInvalidUPC
InputCheck CheckUPCInput(std::u16string_view text);

}  // namespace qm
