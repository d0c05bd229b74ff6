#include "recognisers/product_code_extraction.h"

#include <optional>
#include <string_view>

#include "recognisers/product_code_scanners.h"

namespace qm {
namespace {

// The four texts a code is looked for in, in the order they are tried.
enum Source { kSelectedText, kSelectedHtml, kPageHref, kTopHref, kSourceCount };

// Each text with the map of where its digits may be, made when a scanner
// first reads that text, so that the scanners that read one text after
// another read it once between them, and a text no scanner reaches is not
// read at all.
struct Sources {
  explicit Sources(const RequestContext& context)
      : text{context.selectedText(), context.selectedHtml(),
             context.pageHref(), context.topHref()} {}
  const DigitMap& digits(int source) {
    if (!maps[source]) maps[source].emplace(text[source]);
    return *maps[source];
  }
  std::u16string_view text[kSourceCount];
  std::optional<DigitMap> maps[kSourceCount];
};

using Scanner = bool (*)(std::u16string_view, const DigitMap&, std::u16string*);

struct Step {
  Source source;
  Scanner scan;
};

// The first valid EAN-13 of the text decides: a code that is not a book's
// gives no ISBN from this text.
bool FindEAN13AsISBN(std::u16string_view text, const DigitMap& digits, std::u16string* out) {
  std::u16string ean;
  return FindEAN13(text, digits, &ean) && EAN13ToISBN(ean, out);
}

bool FindISBN10InMap(std::u16string_view text, const DigitMap& digits, std::u16string* out) {
  return FindISBN10(text, digits, out);
}

constexpr Step kISBNSteps[] = {
    {kSelectedText, FindISBN10InMap}, {kSelectedHtml, FindISBN10InMap},
    {kSelectedText, FindEAN13AsISBN}, {kSelectedHtml, FindEAN13AsISBN},
    {kPageHref, FindISBN10InMap},     {kPageHref, FindEAN13AsISBN},
    {kTopHref, FindISBN10InMap},      {kTopHref, FindEAN13AsISBN},
};

// The UPC is looked for with FindUPCA in the four sources, then with
// FindPaddedUPCA in them, then with CompleteUPCA. The first two read runs
// alike, so one pass over each source answers both.
std::u16string FindUPC(const RequestContext& context) {
  Sources sources(context);
  UPCARuns runs[kSourceCount];
  for (int s = 0; s < kSourceCount; ++s) {
    runs[s] = FindUPCAAndPaddedUPCA(sources.text[s], sources.digits(s));
    if (runs[s].has_upca) return runs[s].upca;
  }
  for (const UPCARuns& r : runs) {
    if (r.has_padded) return r.padded;
  }
  std::u16string found;
  for (int s = 0; s < kSourceCount; ++s) {
    if (CompleteUPCA(sources.text[s], sources.digits(s), &found)) return found;
  }
  return {};
}

template <std::size_t N>
std::u16string FirstFound(const RequestContext& context,
                          const Step (&steps)[N]) {
  Sources sources(context);
  std::u16string found;
  for (const Step& step : steps) {
    if (step.scan(sources.text[step.source], sources.digits(step.source), &found)) {
      return found;
    }
  }
  return {};
}

}  // namespace

std::u16string ExtractISBN(RequestContext& context) {
  if (!context.isbnLooked()) context.SetFoundISBN(FirstFound(context, kISBNSteps));
  return context.foundISBN();
}

std::u16string ExtractUPC(RequestContext& context) {
  if (!context.upcLooked()) context.SetFoundUPC(FindUPC(context));
  return context.foundUPC();
}

}  // namespace qm
