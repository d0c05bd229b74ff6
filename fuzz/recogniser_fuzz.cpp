// The selection recognisers on arbitrary text: the input bytes, taken two
// at a time (little-endian), are the UTF-16 code units of a selection, so
// lone surrogates, NULs and every other unit turn up. Each call must end and
// give an answer of the promised shape.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "recognisers/currency_recognition.h"
#include "recognisers/currency_table.h"
#include "recognisers/stock_symbol.h"
#include "text/number_scan.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

bool IsBlank(char16_t c) {
  return c == u'\r' || c == u'\n' || c == u' ' || c == u'\t';
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data,
                                      std::size_t size) {
  std::u16string text(size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  }

  // The symbol, or whichever odd answer, is always a piece of the text.
  const std::u16string symbol = qm::FindStockSymbol(text);
  Check(symbol.empty() || text.find(symbol) != std::u16string::npos);

  // Some currency always, and a row of the table.
  for (std::string_view domain : {"com", "se", "ru", ""}) {
    const qm::CurrencyInfo* currency =
        qm::RecogniseCurrency(domain, text, "USD");
    const auto table = qm::CurrencyTable();
    Check(currency >= table.data() && currency < table.data() + table.size());
  }

  // A plain decimal number that "%f" reads whole.
  const std::u16string amount = qm::ParseAmount(text);
  Check(!amount.empty() && amount[0] >= u'0' && amount[0] <= u'9');
  std::size_t stops = 0;
  for (char16_t c : amount) {
    Check((c >= u'0' && c <= u'9') || c == u'.');
    stops += c == u'.';
  }
  Check(stops <= 1);
  double value = 0;
  std::size_t consumed = 0;
  Check(qm::ScanDouble(amount, &value, &consumed) && consumed == amount.size());

  // Accepted exactly when something other than blanks is there, trimmed.
  const qm::InputCheck check = qm::CheckStockInput(text);
  bool has_content = false;
  for (char16_t c : text) has_content = has_content || !IsBlank(c);
  Check(check.accepted == has_content);
  if (check.accepted) {
    Check(!check.text.empty() && !IsBlank(check.text.front()) &&
          !IsBlank(check.text.back()));
    Check(text.find(check.text) != std::u16string::npos);
  } else {
    Check(check.message == qm::kMessageStockSymbolRequired);
  }
  return 0;
}
