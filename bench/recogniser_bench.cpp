// The recognisers over a whole page's text, as a user who selects everything
// on a long page makes them run: stock symbol, source currency (one fresh
// request each time, so nothing is cached) and amount; then the stock
// search on the inputs that nest its deferred searches a level per colon.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "context/request_context.h"
#include "recognisers/currency_context.h"
#include "recognisers/currency_recognition.h"
#include "recognisers/stock_symbol.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace {

// Text shaped like a news or shop page: lower-case words, capitalised words
// starting sentences, upper-case tickers and codes, prices with currency
// signs and separators, punctuation and line breaks. The same size gives the
// same text everywhere.
std::u16string GeneratePage(std::size_t target_chars) {
  static constexpr std::u16string_view kWords[] = {
      u"the", u"shares", u"of", u"rose", u"after", u"quarterly", u"results",
      u"price", u"market", u"investors", u"were", u"and", u"in", u"for",
      u"caf\u00E9", u"stra\u00DFe", u"growth", u"analysts", u"said", u"sales"};
  static constexpr std::u16string_view kCapitalised[] = {
      u"Shares", u"The", u"Analysts", u"McKay", u"Widget", u"Corporation"};
  static constexpr std::u16string_view kUpper[] = {
      u"MSFT", u"NASDAQ:MSFT", u"NYSE", u"BRK.B", u"IBM", u"USD", u"EUR",
      u"CEO", u"Q3", u"(NYSE:IBM)", u"GBP"};
  static constexpr std::u16string_view kPrices[] = {
      u"$12.50", u"\u20AC1.234,56", u"\u00A3 30", u"5 kr", u"CDN$ 19.99",
      u"\u00A51,000", u"1,234,567", u"12,5", u"-5", u"R$ 40",
      u"9\u00A0800 K\u010D", u"CHF 1'049,95", u"\u20B9500", u".75 \u20AC"};
  static constexpr std::u16string_view kPunctuation[] = {
      u", ", u". ", u"; ", u": ", u"!\r\n", u" (", u") ", u" - "};
  std::uint64_t state = 0x9E3779B97F4A7C15u;
  const auto next = [&state](std::size_t bound) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return static_cast<std::size_t>((state >> 33) % bound);
  };
  std::u16string page;
  page.reserve(target_chars + 64);
  while (page.size() < target_chars) {
    const std::size_t kind = next(20);
    if (kind < 12) {
      page += kWords[next(std::size(kWords))];
    } else if (kind < 14) {
      page += kCapitalised[next(std::size(kCapitalised))];
    } else if (kind < 16) {
      page += kUpper[next(std::size(kUpper))];
    } else if (kind < 18) {
      page += kPrices[next(std::size(kPrices))];
    } else {
      page += kPunctuation[next(std::size(kPunctuation))];
      continue;
    }
    page += u' ';
  }
  page.resize(target_chars);
  return page;
}

// The page with nothing the stock and amount searches can stop at: no
// upper-case letter, no digit.
std::u16string GenerateQuietPage(std::size_t target_chars) {
  std::u16string page = GeneratePage(target_chars);
  for (char16_t& c : page) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c >= u'0' && c <= u'9') c = u'x';
  }
  return page;
}

std::u16string Repeat(std::u16string_view piece, std::size_t target_chars) {
  std::u16string text;
  text.reserve(target_chars + piece.size());
  while (text.size() < target_chars) text += piece;
  return text;
}

enum class Shape {
  kPage,
  kQuietPage,
  kColons,
  kNestedColons,
  kParentheses,
  kGroupedThousands
};

const std::u16string& Input(Shape shape, std::size_t chars) {
  static std::u16string cache[6][2];
  std::u16string& text = cache[static_cast<int>(shape)][chars > (1u << 20)];
  if (text.empty()) {
    switch (shape) {
      case Shape::kPage: text = GeneratePage(chars); break;
      case Shape::kQuietPage: text = GenerateQuietPage(chars); break;
      case Shape::kColons: text = Repeat(u"A:", chars); break;
      case Shape::kNestedColons:
        text = Repeat(u"(A:", chars / 2) + Repeat(u")", chars / 2);
        break;
      case Shape::kParentheses:
        text = Repeat(u"(", chars / 2) + u"MSFT" + Repeat(u")", chars / 2);
        break;
      case Shape::kGroupedThousands:
        // One number of a megabyte, its thousands grouped by no-break
        // spaces, then its decimals.
        text = u"1" + Repeat(u"\u00A0234", chars - 8) + u",50 \u20AC";
        break;
    }
  }
  return text;
}

void BM_FindStockSymbol(benchmark::State& state, Shape shape) {
  const std::u16string& text =
      Input(shape, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::u16string symbol = qm::FindStockSymbol(text);
    benchmark::DoNotOptimize(symbol.data());
  }
}

void BM_SourceCurrency(benchmark::State& state, Shape shape) {
  const std::u16string& text =
      Input(shape, static_cast<std::size_t>(state.range(0)));
  const qm::FakeModuleEnvironment environment;
  auto page = std::make_shared<qm::FakeWindow>();
  page->hostname = u"www.example.se";
  qm::FakeMenuArguments arguments;
  arguments.window = page;
  for (auto _ : state) {
    qm::RequestContext context(environment);
    qm::BuildRequestContext(context, &arguments);
    context.SetSelectedText(text);
    const qm::CurrencyInfo* currency = qm::SourceCurrency(context);
    benchmark::DoNotOptimize(currency);
  }
}

void BM_ParseAmount(benchmark::State& state, Shape shape) {
  const std::u16string& text =
      Input(shape, static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) {
    std::u16string amount = qm::ParseAmount(text);
    benchmark::DoNotOptimize(amount.data());
  }
}

constexpr std::int64_t kOneMB = 1 << 20;
constexpr std::int64_t kFourMB = 4 << 20;

}  // namespace

// Sizes are in UTF-16 characters. On the ordinary page the stock and
// amount searches stop at the first ticker or number; the quiet page and the
// nested inputs make them cross the whole text.
BENCHMARK_CAPTURE(BM_FindStockSymbol, page, Shape::kPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindStockSymbol, quiet_page, Shape::kQuietPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindStockSymbol, colons, Shape::kColons)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindStockSymbol, nested_colons, Shape::kNestedColons)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_FindStockSymbol, parentheses, Shape::kParentheses)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SourceCurrency, page, Shape::kPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_SourceCurrency, quiet_page, Shape::kQuietPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseAmount, page, Shape::kPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseAmount, quiet_page, Shape::kQuietPage)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_ParseAmount, grouped_thousands, Shape::kGroupedThousands)
    ->Arg(kOneMB)->Arg(kFourMB)->Unit(benchmark::kMicrosecond);
