// Template expansion of a whole page's selection: "!S" of 1 MB and 4 MB of
// text, percent-encoded in each charset, as a user who selects everything
// on a long page and looks it up makes it run. Time per byte should not grow
// with the size. And the registrable domain of host names of every kind,
// as !d and !D look it up.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "actions/registrable_domain.h"
#include "actions/template_expansion.h"
#include "context/request_context.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"
#include "text/windows_1252.h"

namespace {

// Page text: ASCII words and punctuation with Latin-1, Greek, CJK and a
// character outside the Basic Multilingual Plane now and then, so every
// branch of both encodings runs. The same size gives the same text.
std::u16string GenerateSelection(std::size_t chars) {
  static constexpr std::u16string_view kPieces[] = {
      u"the ", u"price ", u"of ", u"caf\u00E9 ", u"stra\u00DFe ", u"rose ",
      u"12.50 ", u"& more, ", u"(see: a/b?c=d) ", u"\u65E5\u672C\u8A9E ",
      u"\u0391\u03B8\u03AE\u03BD\u03B1 ", u"\U0001F600 ", u"\"quoted\"\r\n"};
  std::u16string text;
  text.reserve(chars + 32);
  std::uint32_t state = 12345;
  while (text.size() < chars) {
    state = state * 1103515245u + 12345u;
    text += kPieces[(state >> 16) % std::size(kPieces)];
  }
  text.resize(chars);
  return text;
}

void BM_ExpandSelection(benchmark::State& state, qm::UrlCharset charset) {
  const auto chars = static_cast<std::size_t>(state.range(0));
  qm::FakeModuleEnvironment env;
  auto document = std::make_shared<qm::FakeDocument>();
  document->selection = qm::FakeTextRange(GenerateSelection(chars), std::nullopt);
  auto window = std::make_shared<qm::FakeWindow>();
  window->document = document;
  qm::FakeMenuArguments arguments;
  arguments.window = window;
  qm::RequestContext context(env);
  qm::BuildRequestContext(context, &arguments);
  const qm::Windows1252CodePage code_page;

  std::size_t out_size = 0;
  for (auto _ : state) {
    const std::u16string out =
        qm::ExpandTemplate("https://www.example.com/search?q=!S&lang=en",
                           context, code_page, qm::ValueEncoding::kPercent,
                           charset);
    out_size = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(chars * sizeof(char16_t)));
  state.counters["out_chars"] = static_cast<double>(out_size);
  state.SetComplexityN(static_cast<std::int64_t>(chars));
}

BENCHMARK_CAPTURE(BM_ExpandSelection, windows_1252, qm::UrlCharset::kWindows1252)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(BM_ExpandSelection, utf_8, qm::UrlCharset::kUtf8)
    ->Arg(1 << 20)
    ->Arg(4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

// Hosts under plain, deep, wildcard and exception rules, in punycode and
// in Unicode, and one of many labels.
void BM_RegistrableDomain(benchmark::State& state) {
  const std::u16string many_labels = [] {
    std::u16string host;
    for (int i = 0; i < 1000; ++i) host += u"a.";
    return host + u"example.co.uk";
  }();
  const std::u16string hosts[] = {
      u"www.example.com", u"www.jumia.com.ng", u"www.bbc.co.uk",
      u"a.b.pvt.k12.ma.us", u"x.y.z.kawasaki.jp", u"www.city.kawasaki.jp",
      u"www.xn--bcher-kva.de", u"www.b\u00FCcher.de", u"10.0.0.1", many_labels};
  std::size_t total = 0;
  for (auto _ : state) {
    for (const std::u16string& host : hosts) {
      const std::u16string domain = qm::RegistrableDomain(host);
      total += domain.size();
      benchmark::DoNotOptimize(domain.data());
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(std::size(hosts)));
  benchmark::DoNotOptimize(total);
}

BENCHMARK(BM_RegistrableDomain);

}  // namespace
