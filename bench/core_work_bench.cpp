// The core's work for one menu command, call for call: product codes found
// on a few pages, amounts of money and their currency, quantities read and
// converted, the built-in catalogue's entries expanded, and the catalogue
// parsed. The same program is built natively and as WebAssembly, so the two
// can be compared; it times its own loops because no benchmark library is
// built for both.
//
// Output, tab-separated, one record a line:
//   <workload>  <ns per call>    the median of the rounds, one line each
//   total       <ns>             the sum of those: one call of each
//   check  <workload>  <hex>     a hash of every result of one untimed pass
// The check lines depend only on what the core computes, never on the
// build, so two builds that disagree on one have computed something else.
//
// Usage: core_work_bench [--round-ms N] [--rounds N] [--show]
// --show prints every result of one pass instead, one "show" line each.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "actions/command_line.h"
#include "actions/mail.h"
#include "actions/template_expansion.h"
#include "catalogue/catalogue_parser.h"
#include "catalogue/site_catalogue.h"
#include "catalogue/site_entry.h"
#include "compiled_in_files.h"
#include "context/request_context.h"
#include "host/memory_selection_store.h"
#include "recognisers/currency_recognition.h"
#include "recognisers/product_code_extraction.h"
#include "resource_ids.h"
#include "support/fake_browser.h"
#include "support/fake_module_environment.h"
#include "text/utf8.h"
#include "text/windows_1252.h"
#include "units/quantity.h"
#include "units/unit_table.h"

namespace {

// Writes `bytes` as one line after `workload`, with control characters (and,
// for 8-bit text, every byte above ASCII) as \xNN.
void ShowLine(const std::string& workload, std::string_view bytes, bool utf8) {
  std::string line = "show\t" + workload + "\t";
  for (const char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b == 0x7F || (b >= 0x80 && !utf8)) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      line += escape;
    } else {
      line += c;
    }
  }
  std::puts(line.c_str());
}

// FNV-1a over the results. In a timed pass it only counts lengths, which is
// enough to keep every result alive and costs next to nothing; the full
// hash runs once, untimed, and can also print what it hashes. Every value
// goes in with a fixed width and byte order, so 32- and 64-bit builds hash
// the same results alike.
class Digest {
 public:
  enum Mode { kLengths, kHash, kShow };
  explicit Digest(Mode mode, std::string workload = {})
      : mode_(mode), workload_(std::move(workload)) {}

  void Add(std::u16string_view text) {
    if (mode_ == kLengths) {
      value_ += text.size();
      return;
    }
    if (mode_ == kShow) ShowLine(workload_, qm::ToUtf8(text), true);
    Number(text.size());
    for (const char16_t c : text) {
      Byte(static_cast<std::uint8_t>(c & 0xFF));
      Byte(static_cast<std::uint8_t>(c >> 8));
    }
  }
  void Add(std::string_view text) {
    if (mode_ == kLengths) {
      value_ += text.size();
      return;
    }
    if (mode_ == kShow) ShowLine(workload_, text, false);
    Number(text.size());
    for (const char c : text) Byte(static_cast<std::uint8_t>(c));
  }
  void Number(std::uint64_t n) {
    if (mode_ == kLengths) {
      value_ += n;
      return;
    }
    for (int i = 0; i < 8; ++i) Byte(static_cast<std::uint8_t>(n >> (8 * i)));
  }

  std::uint64_t value() const { return value_; }

 private:
  void Byte(std::uint8_t b) {
    value_ ^= b;
    value_ *= 0x100000001B3u;
  }

  Mode mode_;
  std::string workload_;
  std::uint64_t value_ = 0xCBF29CE484222325u;
};

struct Workload {
  std::string name;
  std::size_t calls_per_pass;  // core calls one pass makes (the unit of "per call")
  std::function<void(Digest&)> pass;
};

// ---------------------------------------------------------------------------
// Product codes

// Shop and news prose with the small numbers such pages carry (prices,
// years, counts), none of which joins into a code.
constexpr std::u16string_view kProse[] = {
    u"Free delivery on orders over $25 and returns within 30 days.",
    u"Customers who bought this item also bought the paperback edition, "
    u"published in 2019 with a new foreword and 12 colour plates.",
    u"Rated 4.5 out of 5 by 1,204 readers; 87% would recommend it to a friend.",
    u"In stock: ships in 2 to 3 business days from our warehouse in Leeds.",
    u"The caf\u00E9 on the corner sells it for \u20AC14,99 \u2014 \u00A312 in "
    u"the UK \u2014 and the author signs copies on Saturdays.",
    u"Shares rose 3% after the quarterly results; analysts expect growth of "
    u"7 to 9 per cent next year.",
    u"Dimensions: 23 x 15 x 4 cm, weight 640 g, 352 pages.",
};

struct Page {
  std::u16string href;
  std::u16string text;
  std::u16string html;
};

// `paragraphs` paragraphs of prose, with `code_text` (and its mark-up
// `code_html`) after the one numbered `code_at`, when given.
Page MakePage(std::u16string href, std::size_t paragraphs, std::size_t code_at,
              std::u16string_view code_text, std::u16string_view code_html) {
  Page page{std::move(href), {}, {}};
  for (std::size_t p = 0; p < paragraphs; ++p) {
    page.html += u"<p>";
    for (std::size_t s = 0; s < 4; ++s) {
      const std::u16string_view sentence = kProse[(p * 3 + s * 5) % std::size(kProse)];
      page.text += sentence;
      page.text += u' ';
      page.html += sentence;
      page.html += u' ';
    }
    if (p == code_at) {
      page.text += code_text;
      page.html += code_html;
    }
    page.text += u"\r\n";
    page.html += u"</p>\n";
  }
  return page;
}

// A selection of about 3,000 characters on each page: a book's ISBN-13 near
// the end of the text, a grocery item's UPC-A only in the mark-up's data,
// an article with no code at all (every source read to the end), and a
// book whose ISBN-10 is only in the address.
std::vector<Page> ProductPages() {
  constexpr std::size_t kParagraphs = 12;
  std::vector<Page> pages;
  pages.push_back(MakePage(u"https://books.example/p/search-results?q=cryptography",
                           kParagraphs, 9, u"ISBN 978-0-306-40615-7.",
                           u"<span itemprop=\"isbn\">ISBN 978-0-306-40615-7</span>."));
  pages.push_back(MakePage(u"https://grocer.example/item/cereal-oat-crunch",
                           kParagraphs, 4, u"Oat crunch, 510 g box.",
                           u"<a data-upc=\"036000291452\">Oat crunch</a>, 510 g box."));
  pages.push_back(MakePage(u"https://news.example/markets/2024/05/results",
                           kParagraphs, kParagraphs, u"", u""));
  pages.push_back(MakePage(u"https://books.example/dp/0306406152/ref=sr_1_1",
                           kParagraphs, kParagraphs, u"", u""));
  return pages;
}

Workload ProductCodeWorkload(const qm::FakeModuleEnvironment& environment) {
  struct State {
    std::vector<std::shared_ptr<qm::FakeWindow>> windows;
  };
  auto state = std::make_shared<State>();
  for (Page& page : ProductPages()) {
    auto window = std::make_shared<qm::FakeWindow>();
    window->href = std::move(page.href);
    window->hostname = u"shop.example";
    window->document = std::make_shared<qm::FakeDocument>();
    window->document->selection = qm::FakeTextRange{std::move(page.text), std::move(page.html)};
    state->windows.push_back(std::move(window));
  }
  // A fresh request each time, as each command makes: the context caches
  // what it found.
  return {"product_codes", state->windows.size(), [state, &environment](Digest& digest) {
            for (const auto& window : state->windows) {
              qm::FakeMenuArguments arguments;
              arguments.window = window;
              qm::RequestContext context(environment);
              qm::BuildRequestContext(context, &arguments);
              digest.Add(qm::ExtractISBN(context));
              digest.Add(qm::ExtractUPC(context));
            }
          }};
}

// ---------------------------------------------------------------------------
// Money

struct Amount {
  std::string_view domain;
  std::u16string_view text;
};

constexpr Amount kAmounts[] = {
    {"com", u"$12.50"},
    {"de", u"1.234,56 \u20AC"},
    {"se", u"5 kr"},
    {"com", u"5 kr."},
    {"ch", u"CHF 1'049,95"},
    {"jp", u"\u00A51,000"},
    {"in", u"\u20B9500"},
    {"cz", u"9\u00A0800 K\u010D"},
    {"ca", u"CDN$ 19.99"},
    {"br", u"R$ 40"},
    {"com", u"USD 10 (EUR 8)"},
    {"uk", u"It costs \u00A312.50."},
    {"fr", u".75 \u20AC"},
    {"com", u"about 1,234,567 dollars"},
};

Workload CurrencyWorkload() {
  return {"currency_amounts", std::size(kAmounts), [](Digest& digest) {
            for (const Amount& a : kAmounts) {
              const qm::CurrencyInfo* currency = qm::RecogniseCurrency(a.domain, a.text, "USD");
              digest.Add(currency != nullptr ? currency->isoCode : std::string_view("-"));
              digest.Add(qm::ParseAmount(a.text));
            }
          }};
}

// ---------------------------------------------------------------------------
// Quantities

constexpr std::u16string_view kQuantities[] = {
    u"12.5 km",         u"approx. .5 m",   u"12 (inches",
    u"72 \u00B0F",      u"3 lb",           u"Weight: 640 g",
    u"35 mpg",          u"-40 Celsius",    u"5 ft",
    u"6 stone",         u"1234567 m",      u"a 26.2 miles run",
};

Workload QuantityWorkload(const qm::UnitTable& units) {
  return {"quantities", std::size(kQuantities), [&units](Digest& digest) {
            const qm::Windows1252CodePage code_page;
            for (const std::u16string_view selection : kQuantities) {
              const qm::ParsedQuantity q = qm::ParseQuantity(selection, units, code_page);
              digest.Add(q.amount);
              if (q.unit == nullptr) continue;
              // Into the first other unit of its category, as the dialog
              // offers it.
              const auto& category_units = q.unit->category->units;
              const qm::Unit& to = &category_units.front() != q.unit
                                       ? category_units.front()
                                       : category_units.back();
              const qm::Conversion c = qm::ConvertQuantity(
                  code_page.ToNarrow(q.amount), *q.unit, to, code_page);
              digest.Number(c.is_number ? 1 : 0);
              digest.Add(c.amount);
              digest.Add(c.result);
            }
          }};
}

// ---------------------------------------------------------------------------
// Templates

Workload TemplateWorkload(const qm::FakeModuleEnvironment& environment,
                          const qm::SiteCatalogue& catalogue) {
  struct State {
    std::vector<qm::SiteEntry> entries;
    std::unique_ptr<qm::RequestContext> context;
  };
  auto state = std::make_shared<State>();
  const qm::MemorySelectionStore store;
  catalogue.ForEachSection([&](const qm::CatalogueSection& section) {
    if (section.name().starts_with("UNIT:")) return;
    state->entries.push_back(qm::ReadSiteEntry(section, store));
  });

  // A selection with characters outside Windows-1252, one that needs
  // encoding, and a page in a frame, so every placeholder has a value.
  auto top = std::make_shared<qm::FakeWindow>();
  top->href = u"https://www.example.co.uk/reading/list?id=7&sort=new";
  top->hostname = u"www.example.co.uk";
  top->name = u"main";
  top->document = std::make_shared<qm::FakeDocument>();
  top->document->title = u"Reading list \u2014 2024";
  auto frame = std::make_shared<qm::FakeWindow>();
  frame->top = top;
  frame->href = u"https://books.example.com/embed/shelf";
  frame->hostname = u"books.example.com";
  frame->document = std::make_shared<qm::FakeDocument>();
  frame->document->title = u"Shelf";
  frame->document->selection = qm::FakeTextRange{
      u"  G\u00F6del, Escher, Bach & \u201CThe Art of Computer Programming\u201D "
      u"\u2014 \u65E5\u672C\u8A9E\r\n",
      u"<i>G\u00F6del, Escher, Bach</i>"};
  qm::FakeMenuArguments arguments;
  arguments.window = frame;
  state->context = std::make_unique<qm::RequestContext>(environment);
  qm::BuildRequestContext(*state->context, &arguments);

  return {"templates", state->entries.size(), [state](Digest& digest) {
            const qm::Windows1252CodePage code_page;
            qm::RequestContext& context = *state->context;
            for (const qm::SiteEntry& entry : state->entries) {
              if (!entry.href.empty() || !entry.url.empty()) {
                digest.Add(qm::ExpandTemplate(
                    entry.href.empty() ? entry.url : entry.href, context, code_page,
                    qm::UrlValueEncoding(entry), entry.charset));
              }
              if (!entry.command.empty()) {
                const qm::EntryCommand command =
                    qm::BuildEntryCommand(entry, context, code_page);
                digest.Add(command.refusal);
                digest.Add(command.process.command_line);
                for (const std::string& argument : command.process.arguments) {
                  digest.Add(argument);
                }
              }
              if (entry.isMail) {
                digest.Add(qm::BuildMailtoAddress(qm::MailTemplatesOf(entry), context,
                                                  code_page, entry.charset));
              }
            }
          }};
}

// ---------------------------------------------------------------------------
// The catalogue

Workload CatalogueWorkload() {
  return {"catalogue_parse", 1, [](Digest& digest) {
            qm::SiteCatalogue catalogue;
            qm::ParseCatalogue(std::string(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE)), "",
                               catalogue);
            digest.Number(catalogue.size());
            catalogue.ForEachSection([&](const qm::CatalogueSection& section) {
              digest.Add(section.name());
              for (const qm::CatalogueValue& v : section) {
                digest.Add(v.key);
                digest.Add(v.value);
              }
            });
          }};
}

// ---------------------------------------------------------------------------
// Timing

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Keeps the lengths of timed results, so no timed call is dead code.
volatile std::uint64_t g_sink = 0;

// Runs `workload` for about `seconds` in batches of `batch` passes (the
// clock is read between batches only) and returns the time per call in ns.
double TimedRound(const Workload& workload, std::size_t batch, double seconds) {
  Digest digest(Digest::kLengths);
  std::size_t passes = 0;
  const Clock::time_point start = Clock::now();
  double elapsed = 0;
  do {
    for (std::size_t i = 0; i < batch; ++i) workload.pass(digest);
    passes += batch;
    elapsed = SecondsSince(start);
  } while (elapsed < seconds);
  g_sink = g_sink + digest.value();
  return elapsed * 1e9 / static_cast<double>(passes * workload.calls_per_pass);
}

double MedianNsPerCall(const Workload& workload, double round_seconds, int rounds) {
  // Warm-up, which also sizes the batches at about a hundredth of a round.
  Digest warm(Digest::kLengths);
  std::size_t passes = 0;
  const Clock::time_point start = Clock::now();
  double elapsed = 0;
  do {
    workload.pass(warm);
    ++passes;
    elapsed = SecondsSince(start);
  } while (elapsed < round_seconds / 3);
  g_sink = g_sink + warm.value();
  const double per_pass = elapsed / static_cast<double>(passes);
  const std::size_t batch =
      std::max<std::size_t>(1, static_cast<std::size_t>(round_seconds / 100 / per_pass));

  std::vector<double> samples;
  for (int r = 0; r < rounds; ++r) samples.push_back(TimedRound(workload, batch, round_seconds));
  std::sort(samples.begin(), samples.end());
  return samples[samples.size() / 2];
}

bool ReadCount(const char* text, long min, long max, long* out) {
  char* end = nullptr;
  const long value = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || value < min || value > max) return false;
  *out = value;
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  long round_ms = 300;
  long rounds = 5;
  bool show = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const bool has_value = i + 1 < argc;
    if (arg == "--round-ms" && has_value && ReadCount(argv[i + 1], 1, 60000, &round_ms)) {
      ++i;
    } else if (arg == "--rounds" && has_value && ReadCount(argv[i + 1], 1, 101, &rounds)) {
      ++i;
    } else if (arg == "--show") {
      show = true;
    } else {
      std::fprintf(stderr,
                   "usage: core_work_bench [--round-ms 1..60000] [--rounds 1..101] [--show]\n");
      return 2;
    }
  }

  const qm::FakeModuleEnvironment environment;
  qm::SiteCatalogue catalogue;
  qm::ParseCatalogue(std::string(qm::CompiledInFile(IDR_DEFAULT_CATALOGUE)), "", catalogue);
  qm::UnitTable units;
  qm::BuildUnitTable(catalogue, units);
  if (catalogue.empty() || units.empty()) {
    std::fprintf(stderr, "core_work_bench: the built-in catalogue gave no entries or units\n");
    return 1;
  }

  const std::vector<Workload> workloads = {
      ProductCodeWorkload(environment), CurrencyWorkload(), QuantityWorkload(units),
      TemplateWorkload(environment, catalogue), CatalogueWorkload(),
  };

  if (show) {
    for (const Workload& workload : workloads) {
      Digest digest(Digest::kShow, workload.name);
      workload.pass(digest);
    }
    return 0;
  }

  double total = 0;
  for (const Workload& workload : workloads) {
    const double ns = MedianNsPerCall(workload, static_cast<double>(round_ms) / 1000,
                                      static_cast<int>(rounds));
    total += ns;
    std::printf("%s\t%.1f\n", workload.name.c_str(), ns);
    std::fflush(stdout);
  }
  std::printf("total\t%.1f\n", total);
  for (const Workload& workload : workloads) {
    Digest digest(Digest::kHash);
    workload.pass(digest);
    std::printf("check\t%s\t%016llx\n", workload.name.c_str(),
                static_cast<unsigned long long>(digest.value()));
  }
  return 0;
}
