#include "recognisers/product_code_input.h"

#include <string>

#include "recognisers/product_code_scanners.h"

namespace qm {

InputCheck CheckISBNInput(std::u16string_view text) {
  std::u16string isbn;
  if (FindISBN10(text, &isbn)) return InputCheck::Accept(std::move(isbn));
  std::u16string ean;
  if (FindEAN13(text, &ean) && EAN13ToISBN(ean, &isbn)) {
    return InputCheck::Accept(std::move(isbn));
  }
  return InputCheck::Refuse(kMessageInvalidISBN);
}

InputCheck CheckUPCInput(std::u16string_view text) {
  std::u16string upc;
  if (FindUPCA(text, &upc) || FindPaddedUPCA(text, &upc)) {
    return InputCheck::Accept(std::move(upc));
  }
  return InputCheck::Refuse(kMessageInvalidUPC);
}

}  // namespace qm
