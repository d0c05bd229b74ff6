// ISBN and UPC recognition on large pages. ExtractISBN plus ExtractUPC on a
// fresh request whose selection is a whole generated shop page (its text and
// its HTML) with no code in it, so that every scanner reads every source to
// the end; and FindEAN13 alone on digits far apart (each start's thirteen
// digits spread over thousands of characters) and on one endless run of
// digits. Sizes are in UTF-16 characters of the selected text.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "context/request_context.h"
#include "recognisers/product_code_extraction.h"
#include "recognisers/product_code_scanners.h"
#include "recognisers/currency_context.h"
#include "recognisers/stock_symbol.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace {

constexpr std::size_t kMegabyte = 1u << 20;

struct Page {
  std::u16string text;
  std::u16string html;
};

// Shop-page prose: lower- and upper-case words, prices with currency signs,
// years, percentages, quantities and punctuation. A word always stands
// between two numbers, as in real prose, so no digits join into a code and
// the scanners never stop early. The same size and seed give the same page
// on every platform.
class PageGenerator {
 public:
  explicit PageGenerator(std::uint64_t seed) : state_(seed) {}

  Page Generate(std::size_t size) {
    Page page;
    page.text.reserve(size + 256);
    page.html.reserve(size * 2);
    while (page.text.size() < size) Paragraph(page);
    return page;
  }

 private:
  static constexpr std::u16string_view kSyllables[] = {
      u"ka", u"vo", u"ra", u"lin", u"tor", u"mes", u"qua", u"bel", u"din",
      u"sor", u"pha", u"ne", u"lu", u"tri", u"gon", u"ver", u"sa", u"mi",
      u"do", u"zen", u"ul", u"bra", u"ko", u"fe", u"max", u"op", u"ti"};
  static constexpr std::u16string_view kShouts[] = {
      u"NEW", u"SALE", u"FREE", u"ISBN", u"UPC", u"EAN", u"USD", u"EUR",
      u"OFFER", u"LIMITED", u"ONLY"};
  static constexpr std::u16string_view kCurrencies[] = {
      u"$", u"\u20AC", u"\u00A3", u"\u00A5", u"\u20B9", u"CHF\u00A0", u"kr\u00A0"};
  static constexpr std::u16string_view kStops[] = {
      u".", u",", u";", u":", u"!", u"?", u" -", u")", u"\u2026", u"\u00BB"};

  std::uint64_t Next() {  // splitmix64
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
  }
  std::size_t Below(std::size_t n) { return static_cast<std::size_t>(Next() % n); }
  template <std::size_t N>
  std::u16string_view Pick(const std::u16string_view (&items)[N]) {
    return items[Below(N)];
  }

  std::u16string Word() {
    std::u16string word;
    for (std::size_t n = 1 + Below(3); n > 0; --n) word += Pick(kSyllables);
    return word;
  }

  std::u16string Digits(std::size_t count) {
    std::u16string digits;
    for (std::size_t i = 0; i < count; ++i) {
      digits.push_back(static_cast<char16_t>(u'0' + Below(10)));
    }
    return digits;
  }

  // Returns the number as the text shows it and as the HTML marks it up.
  void Number(std::u16string* text, std::u16string* html) {
    switch (Below(5)) {
      case 0: {  // a price
        const std::u16string sign(Pick(kCurrencies));
        std::u16string amount = Digits(1 + Below(3));
        if (Below(3) == 0) amount += u"," + Digits(3);
        amount += u"." + Digits(2);
        *text = sign + amount;
        *html = u"<span class=\"price\">" + sign + amount + u"</span>";
        return;
      }
      case 1:
        *text = u"19" + Digits(2);
        break;
      case 2:
        *text = Digits(1 + Below(2)) + u"%";
        break;
      case 3:
        *text = Digits(1 + Below(2)) + u"-" + Digits(1 + Below(2));
        break;
      default:
        *text = Digits(1 + Below(4));
        break;
    }
    *html = *text;
  }

  void Paragraph(Page& page) {
    page.html += u"<p>";
    const std::size_t tokens = 20 + Below(60);
    bool after_number = true;  // no number opens a paragraph
    for (std::size_t t = 0; t < tokens; ++t) {
      std::u16string text;
      std::u16string html;
      const std::size_t kind = Below(10);
      if (kind < 2 && !after_number) {
        Number(&text, &html);
        after_number = true;
      } else if (kind == 2) {
        text = Pick(kShouts);
        html = u"<b>" + text + u"</b>";
        after_number = false;
      } else if (kind == 3) {
        text = Word();
        html = u"<a href=\"/p/" + text + u"-" + Word() + u"\">" + text + u"</a>";
        after_number = false;
      } else {
        text = Word();
        html = text;
        after_number = false;
      }
      if (Below(6) == 0) {
        const std::u16string_view stop = Pick(kStops);
        text += stop;
        html += stop;
      }
      page.text += text;
      page.text += u' ';
      page.html += html;
      page.html += u' ';
    }
    page.text += u"\r\n";
    page.html += u"</p>\n";
  }

  std::uint64_t state_;
};

const Page& PageOfSize(std::size_t size) {
  static std::map<std::size_t, Page> pages;
  auto it = pages.find(size);
  if (it == pages.end()) it = pages.emplace(size, PageGenerator(7).Generate(size)).first;
  return it->second;
}

// Every recogniser a command may ask on one page, as the ISBN, UPC, book,
// stock and currency commands would: the budget is for all of them together.
void BM_AllRecognisers(benchmark::State& state) {
  const Page& page = PageOfSize(static_cast<std::size_t>(state.range(0)));
  const qm::FakeModuleEnvironment environment;
  const auto top = std::make_shared<qm::FakeWindow>();
  top->href = u"https://shop.example/";
  top->hostname = u"shop.example";
  top->document = std::make_shared<qm::FakeDocument>();
  top->document->selection = qm::FakeTextRange{page.text, page.html};
  qm::FakeMenuArguments arguments;
  arguments.window = top;
  for (auto _ : state) {
    state.PauseTiming();
    auto context = std::make_unique<qm::RequestContext>(environment);
    qm::BuildRequestContext(*context, &arguments);
    state.ResumeTiming();
    benchmark::DoNotOptimize(qm::ExtractISBN(*context).data());
    benchmark::DoNotOptimize(qm::ExtractUPC(*context).data());
    benchmark::DoNotOptimize(qm::FindStockSymbol(context->selectedText()).data());
    benchmark::DoNotOptimize(qm::SourceCurrency(*context));
    benchmark::DoNotOptimize(qm::ParseAmount(*context).data());
    state.PauseTiming();
    context.reset();
    state.ResumeTiming();
  }
}

void BM_ExtractISBNAndUPC(benchmark::State& state) {
  const Page& page = PageOfSize(static_cast<std::size_t>(state.range(0)));
  const qm::FakeModuleEnvironment environment;
  const auto top = std::make_shared<qm::FakeWindow>();
  top->href = u"https://shop.example/";
  const auto frame = std::make_shared<qm::FakeWindow>();
  frame->top = top;
  frame->href = u"https://shop.example/c/books?page=2&sort=price";
  frame->document = std::make_shared<qm::FakeDocument>();
  frame->document->selection = qm::FakeTextRange{page.text, page.html};
  qm::FakeMenuArguments arguments;
  arguments.window = frame;

  bool isbn_found = false;
  bool upc_found = false;
  for (auto _ : state) {
    // Reading the page into the request is not what is measured.
    state.PauseTiming();
    auto context = std::make_unique<qm::RequestContext>(environment);
    if (!qm::BuildRequestContext(*context, &arguments)) {
      state.SkipWithError("the fake page gave no request");
      break;
    }
    state.ResumeTiming();
    const std::u16string isbn = qm::ExtractISBN(*context);
    const std::u16string upc = qm::ExtractUPC(*context);
    benchmark::DoNotOptimize(isbn.data());
    benchmark::DoNotOptimize(upc.data());
    isbn_found = !isbn.empty();
    upc_found = !upc.empty();
    state.PauseTiming();
    context.reset();
    state.ResumeTiming();
  }
  const std::size_t chars = page.text.size() + page.html.size();
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(chars * sizeof(char16_t)));
  state.counters["html_chars"] = static_cast<double>(page.html.size());
  // 0 when the whole page was read, as intended.
  state.counters["isbn_found"] = isbn_found;
  state.counters["upc_found"] = upc_found;
}

// "1" then a few hundred characters of ". " and so on: every start's
// thirteen digits are spread over several thousand characters. Thirteen ones are
// never a valid code, so the search reads to the end.
std::u16string SparseDigits(std::size_t size) {
  std::u16string text;
  text.reserve(size + 1024);
  std::uint32_t gap = 1;
  while (text.size() < size) {
    text += u'1';
    gap = gap * 1103515245u + 12345u;
    for (std::size_t n = 100 + (gap >> 16) % 400; n > 0; --n) text += u". ";
  }
  return text;
}

void BM_FindEAN13(benchmark::State& state, bool sparse) {
  const std::size_t size = static_cast<std::size_t>(state.range(0));
  const std::u16string text = sparse ? SparseDigits(size) : std::u16string(size, u'1');
  bool found = false;
  for (auto _ : state) {
    std::u16string ean;
    found = qm::FindEAN13(text, &ean);
    benchmark::DoNotOptimize(ean.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size() * sizeof(char16_t)));
  state.counters["found"] = found;
}

BENCHMARK(BM_AllRecognisers)
    ->Arg(kMegabyte)
    ->Arg(4 * kMegabyte)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ExtractISBNAndUPC)
    ->Arg(kMegabyte)
    ->Arg(4 * kMegabyte)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindEAN13, sparse_digits, true)
    ->Arg(kMegabyte)
    ->Arg(4 * kMegabyte)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FindEAN13, all_digits, false)
    ->Arg(kMegabyte)
    ->Arg(4 * kMegabyte)
    ->Unit(benchmark::kMillisecond);

}  // namespace
