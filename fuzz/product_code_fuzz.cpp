// Every ISBN and UPC scanner and both dialog checks on arbitrary UTF-16 text
// (the input's bytes taken in pairs, low byte first). Whatever the text, a
// scanner that succeeds gives its normal form and a code that passes its
// check, one that fails leaves its output alone, and a dialog check either
// accepts a normal form or refuses with its own message. FindEAN13, which
// decides all its starts in one pass, must agree with trying them one at a
// time, and every scanner must give the same answer with the text's map of
// digits as without it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recognisers/product_code_checks.h"
#include "recognisers/product_code_input.h"
#include "recognisers/product_code_scanners.h"
#include "support/start_by_start_ean13.h"

namespace {

void Require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "product code invariant broken: %s\n", what);
  std::abort();
}

bool AllAsciiDigits(std::u16string_view s) {
  for (const char16_t c : s) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

bool IsNormalISBN(std::u16string_view s) {
  return s.size() == 10 && AllAsciiDigits(s.substr(0, 9)) &&
         (AllAsciiDigits(s.substr(9)) || s[9] == u'X') && qm::IsValidISBN10(s);
}

bool IsNormalUPC(std::u16string_view s) {
  return s.size() == 12 && AllAsciiDigits(s) && qm::IsValidUPCA(s);
}

bool IsNormalEAN(std::u16string_view s) {
  return s.size() == 13 && AllAsciiDigits(s) && qm::IsValidEAN13(s);
}

// 979 followed by anything but 0: a book without an ISBN-10.
bool Is979Book(std::u16string_view s) {
  return IsNormalEAN(s) && s.substr(0, 3) == u"979" && s[3] != u'0';
}

// What the ISBN command hands on: an ISBN-10, or a 979 book's EAN-13.
bool IsNormalBookNumber(std::u16string_view s) {
  return IsNormalISBN(s) || Is979Book(s);
}


using Scanner = bool (*)(std::u16string_view, std::u16string*);

// Runs `scan` and returns its output, or an empty text when it fails; a
// failure must leave the output untouched.
std::u16string Found(Scanner scan, std::u16string_view text) {
  const std::u16string sentinel = u"\uFFFDuntouched";
  std::u16string out = sentinel;
  if (scan(text, &out)) {
    Require(out != sentinel, "a scan that succeeds writes its output");
    return out;
  }
  Require(out == sentinel, "a scan that fails leaves its output alone");
  return {};
}

using MapScanner = bool (*)(std::u16string_view, const qm::DigitMap&, std::u16string*);

// As Found, for the scanners that read the text's map of digits.
std::u16string FoundWithMap(MapScanner scan, std::u16string_view text,
                            const qm::DigitMap& digits) {
  std::u16string out;
  return scan(text, digits, &out) ? out : std::u16string();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  text.reserve(size / 2);
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }

  const std::u16string isbn = Found(qm::FindISBN10, text);
  Require(isbn.empty() || IsNormalISBN(isbn), "FindISBN10 gives a valid normal ISBN");

  const std::u16string ean = Found(qm::FindEAN13, text);
  Require(ean.empty() || IsNormalEAN(ean), "FindEAN13 gives 13 digits that pass");
  Require(ean == Found(qm::StartByStartEAN13, text),
          "FindEAN13 finds what start-by-start finds");
  if (!ean.empty()) {
    const std::u16string converted = Found(qm::EAN13ToISBN10, ean);
    Require(converted.empty() == (ean.substr(0, 3) != u"978"),
            "exactly the 978 codes convert");
    Require(converted.empty() || IsNormalISBN(converted),
            "EAN13ToISBN10 gives a valid normal ISBN");
    const std::u16string book = Found(qm::EAN13ToISBN, ean);
    Require(book == (Is979Book(ean) ? ean : converted),
            "EAN13ToISBN: a 978 code's ISBN-10, a 979 book's own digits");
  }
  // The converter also meets text that is no EAN at all.
  const std::u16string raw = Found(qm::EAN13ToISBN10, text);
  Require(raw.empty() || (IsNormalEAN(text) && IsNormalISBN(raw)),
          "EAN13ToISBN10 converts nothing but an EAN-13");
  const std::u16string raw_book = Found(qm::EAN13ToISBN, text);
  Require(raw_book.empty() || (IsNormalEAN(text) && IsNormalBookNumber(raw_book)),
          "EAN13ToISBN converts nothing but an EAN-13");

  for (const Scanner scan : {qm::FindUPCA, qm::FindPaddedUPCA, qm::CompleteUPCA}) {
    const std::u16string upc = Found(scan, text);
    Require(upc.empty() || IsNormalUPC(upc), "a UPC scan gives a valid normal UPC");
  }

  const qm::DigitMap digits(text);
  Require(FoundWithMap(qm::FindISBN10, text, digits) == isbn, "FindISBN10 with the map");
  Require(FoundWithMap(qm::FindEAN13, text, digits) == ean, "FindEAN13 with the map");
  Require(FoundWithMap(qm::CompleteUPCA, text, digits) == Found(qm::CompleteUPCA, text),
          "CompleteUPCA with the map");
  const qm::UPCARuns runs = qm::FindUPCAAndPaddedUPCA(text, digits);
  Require((runs.has_upca ? runs.upca : u"") == Found(qm::FindUPCA, text) &&
              (runs.has_padded ? runs.padded : u"") == Found(qm::FindPaddedUPCA, text),
          "FindUPCAAndPaddedUPCA with the map finds what each finds alone");

  const qm::InputCheck isbn_input = qm::CheckISBNInput(text);
  if (isbn_input.accepted) {
    Require(IsNormalBookNumber(isbn_input.text),
            "the ISBN dialog hands on an ISBN-10 or a 979 book's EAN-13");
    Require(isbn.empty() || isbn_input.text == isbn,
            "the ISBN dialog prefers the ISBN-10 run");
  } else {
    Require(isbn_input.message == qm::kMessageInvalidISBN && isbn.empty(),
            "the ISBN dialog refuses only what FindISBN10 cannot read");
  }
  const qm::InputCheck upc_input = qm::CheckUPCInput(text);
  if (upc_input.accepted) {
    Require(IsNormalUPC(upc_input.text), "the UPC dialog hands on a normal UPC");
    const std::u16string full = Found(qm::FindUPCA, text);
    Require(full.empty() || upc_input.text == full,
            "the UPC dialog prefers the twelve-digit run");
  } else {
    Require(upc_input.message == qm::kMessageInvalidUPC &&
                Found(qm::FindUPCA, text).empty(),
            "the UPC dialog refuses only what FindUPCA cannot read");
  }
  return 0;
}
