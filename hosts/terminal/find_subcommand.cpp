#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "context/request_context.h"
#include "exit_status.h"
#include "option_table.h"
#include "page_options.h"
#include "posix_module_environment.h"
#include "recognisers/currency_context.h"
#include "recognisers/currency_recognition.h"
#include "recognisers/product_code_extraction.h"
#include "recognisers/stock_symbol.h"
#include "subcommands.h"
#include "terminal_page.h"
#include "text/ascii_fold.h"
#include "text/json_writer.h"
#include "text/utf8.h"

namespace qm {
namespace {

// What one recogniser gave: the line to print and the JSON fields.
struct Answer {
  bool found = false;
  std::u16string text;
  std::vector<std::pair<std::string, std::u16string>> fields;
  std::string nothing;  // said on stderr when nothing was found
};

Answer Single(const char* field, std::u16string value, const char* nothing) {
  Answer answer;
  answer.found = !value.empty();
  answer.fields = {{field, value}};
  answer.text = std::move(value);
  answer.nothing = nothing;
  return answer;
}

Answer FindIsbn(RequestContext& context) {
  return Single("isbn", ExtractISBN(context),
                "no ISBN in the selection, its HTML or the page addresses");
}

Answer FindUpc(RequestContext& context) {
  return Single("upc", ExtractUPC(context),
                "no UPC in the selection, its HTML or the page addresses");
}

Answer FindStock(RequestContext& context) {
  return Single("stock", FindStockSymbol(context.selectedText()),
                "no stock symbol in the selection");
}

// The top-level domain of `host`: its last label. The command reads a host
// without a dot as "com", but that names no currency of the page.
std::string TopLevelDomain(std::u16string_view host) {
  const std::size_t dot = host.rfind(u'.');
  if (dot == std::u16string_view::npos) return {};
  return ToUtf8(host.substr(dot + 1));
}

Answer FindCurrency(RequestContext& context) {
  const CurrencyInfo* currency = SourceCurrency(context);
  // Without a default, recognition says whether the selection or the host
  // named a currency at all.
  const char16_t* source = u"default";
  if (RecogniseCurrency("", context.selectedText(), "") != nullptr) {
    source = u"selection";
  } else if (RecogniseCurrency(TopLevelDomain(context.pageHost()), u"", "") != nullptr) {
    source = u"host";
  }
  Answer answer;
  answer.found = std::u16string_view(source) != u"default";
  answer.nothing = "no currency in the selection or the host name; the default stands";
  const std::u16string code = SourceCurrencyCode(context);
  if (currency == nullptr) {
    answer.text = code;
    answer.fields = {{"code", code}, {"source", source}};
    return answer;
  }
  answer.text = CurrencyDisplayText(*currency);
  answer.fields = {{"code", code},
                   {"name", std::u16string(currency->displayName)},
                   {"text", answer.text},
                   {"source", source}};
  return answer;
}

Answer FindAmount(RequestContext& context) {
  Answer answer;
  for (const char16_t c : context.selectedText()) answer.found |= c >= u'0' && c <= u'9';
  answer.text = ParseAmount(context);
  answer.fields = {{"amount", answer.text}};
  answer.nothing = "no digit in the selection; the default amount stands";
  return answer;
}

struct Recogniser {
  std::string_view what;
  Answer (*find)(RequestContext& context);
};

constexpr Recogniser kRecognisers[] = {
    {"isbn", &FindIsbn},         {"upc", &FindUpc},       {"stock", &FindStock},
    {"currency", &FindCurrency}, {"amount", &FindAmount},
};

// What the command line asks for.
struct FindOptions {
  PageOptions page;
  bool json = false;
  const Recogniser* recogniser = nullptr;
  std::optional<std::u16string> text;
};

OptionTable FindTable(FindOptions* options) {
  OptionTable table = OptionTable::ForTool("find");
  table
      .Text("usage: qmkit find WHAT [TEXT] [page options] [--json]\n"
            "\n"
            "Shows what a menu command would find on the page: TEXT is the selection\n"
            "(after \"--\" it may begin with \"-\"). WHAT, in any letter case, is one of\n"
            "  isbn       the ISBN in the selection, its HTML or the page addresses, in\n"
            "             the form ISBN offers it: an ISBN-10 as it stands, an EAN-13\n"
            "             beginning with 978 as its ISBN-10, one beginning with 979 (no\n"
            "             ISBN-10 exists for it) as its 13 digits; 979-0 numbers\n"
            "             printed music and is no ISBN\n"
            "  upc        the UPC-A found the same way, as UPC, BOOK, MOVIE, MUSIC and\n"
            "             OTHER offer it\n"
            "  stock      the stock symbol picked out of the selection\n"
            "  currency   the currency of the selected amount: from a code or symbol in\n"
            "             the selection, else from the page's host name; code and name\n"
            "  amount     the selected amount of money, such as 1234.56\n"
            "Exit status: 0 found, 1 nothing found, 2 bad usage. With nothing found,\n"
            "currency and amount still print what the command would propose (USD, 1.00).\n"
            "\n"
            "options:\n")
      .Flag("--json", "{\"what\":...,\"found\":true,...}", &options->json)
      // A negative amount ("-40 F", "-.5 m") is an argument, not an option.
      .Positional(Positionals::kNumbersToo,
                  {[options](const std::string& what, std::string* error) {
                     for (const Recogniser& r : kRecognisers) {
                       if (CompareFolded(what, r.what) == 0) options->recogniser = &r;
                     }
                     if (options->recogniser != nullptr) return true;
                     *error = "cannot find \"" + what +
                              "\": WHAT is isbn, upc, stock, currency or amount";
                     return false;
                   },
                   [options](const std::string& text, std::string*) {
                     options->text = FromUtf8(text);
                     return true;
                   }},
                  "one TEXT only; quote a selection of several words")
      .DoubleDashEndsOptions();
  AddPageOptions(table, &options->page);
  return table;
}

// Prints the recogniser's answer; returns the exit status.
int PrintAnswer(const Recogniser& recogniser, const Answer& answer, bool json) {
  if (json) {
    JsonWriter out;
    out.BeginObject().Key("what").String(recogniser.what).Key("found").Bool(answer.found);
    for (const auto& [name, value] : answer.fields) out.Key(name).String(value);
    std::cout << out.EndObject().text() << "\n";
  } else if (!answer.text.empty()) {
    std::cout << ToUtf8(answer.text) << "\n";
  }
  if (!answer.found && !json) std::cerr << "qmkit find: " << answer.nothing << "\n";
  return answer.found ? kExitDone : kExitNothingFound;
}

}  // namespace

int RunFindSubcommand(int argc, char** argv) {
  FindOptions options;
  const OptionTable table = FindTable(&options);
  if (const std::optional<int> status = table.Read(argc, argv)) return *status;
  if (options.recogniser == nullptr) {
    return table.UsageError("what to find? isbn, upc, stock, currency or amount");
  }
  if (options.text) options.page.selection = *options.text;

  const PosixModuleEnvironment env;
  ActionLog log;
  TerminalPage browser(options.page, log);
  RequestContext context(env);
  if (!BuildRequestContext(context, &browser)) {
    std::cerr << "qmkit find: the page could not be read\n";
    return kExitUsage;
  }
  return PrintAnswer(*options.recogniser, options.recogniser->find(context), options.json);
}

}  // namespace qm
