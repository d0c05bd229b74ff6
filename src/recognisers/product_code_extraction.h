// The book number or product code of a request: looked for in the
// selection, its HTML and the two page addresses, once per command.
#pragma once

#include <string>

#include "context/request_context.h"

namespace qm {

// The ISBN found in the request (an ISBN-10, or the thirteen digits of a
// 979 book), or an empty text. The first call searches and caches the
// result in the context; later calls return the cache, even after
// SetSelectedText. Sources in order, first success wins: FindISBN10 in the
// selected text, then in its HTML; FindEAN13 with EAN13ToISBN in the
// selected text, then in its HTML; then for the page address and after it
// the top page address, FindISBN10 and then the EAN-13 steps. An EAN-13
// step succeeds only when its first valid code is a book's (978, or 979 but
// not 979-0); a later book code in the same text is not looked for.
std::u16string ExtractISBN(RequestContext& context);

// The UPC-A found in the request, or an empty text; cached as ExtractISBN.
// FindUPCA is tried on the selected text, its HTML, the page address and the
// top page address; then FindPaddedUPCA on the same four; then CompleteUPCA
// on the same four. So a full code anywhere wins over a shorter one.
std::u16string ExtractUPC(RequestContext& context);

}  // namespace qm
