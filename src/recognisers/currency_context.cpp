#include "recognisers/currency_context.h"

#include <cstddef>
#include <string_view>

#include "recognisers/currency_recognition.h"
#include "text/char_class.h"

namespace qm {
namespace {

constexpr std::string_view kDefaultCode = "USD";
constexpr std::string_view kFallbackDomain = "com";

// The top-level domain of `host` as 8-bit text. A label holding characters
// outside ASCII can match no row of the domain table, so it becomes the
// empty text, which matches none either.
std::string TopLevelDomain(std::u16string_view host) {
  const std::size_t dot = host.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::string(kFallbackDomain);
  std::string domain;
  for (char16_t c : host.substr(dot + 1)) {
    if (c > 0x7F) return {};
    domain += static_cast<char>(c);
  }
  return domain;
}

std::u16string CodeOf(const CurrencyInfo* currency) {
  const std::string_view code = currency ? currency->isoCode : kDefaultCode;
  return std::u16string(code.begin(), code.end());
}

}  // namespace

const CurrencyInfo* SourceCurrency(RequestContext& context) {
  if (context.sourceCurrencyField() == nullptr) {
    context.SetSourceCurrencyField(
        RecogniseCurrency(TopLevelDomain(context.pageHost()),
                          context.selectedText(), kDefaultCode));
  }
  return context.sourceCurrencyField();
}

void SetSourceCurrency(RequestContext& context, const CurrencyInfo* currency) {
  context.SetSourceCurrencyField(currency);
}

const CurrencyInfo* TargetCurrency(RequestContext& context) {
  if (context.targetCurrencyField() == nullptr) {
    const std::string reported = context.environment().UserCurrencyCode();
    std::string_view code = reported;
    while (!code.empty() && IsAsciiSpace(code.front())) code.remove_prefix(1);
    while (!code.empty() && IsAsciiSpace(code.back())) code.remove_suffix(1);
    const CurrencyInfo* user = FindCurrencyByCode(code);
    if (user == nullptr) user = FindCurrencyByCode(kDefaultCode);
    context.SetTargetCurrencyField(user);
  }
  return context.targetCurrencyField();
}

void SetTargetCurrency(RequestContext& context, const CurrencyInfo* currency) {
  context.SetTargetCurrencyField(currency);
}

std::u16string SourceCurrencyCode(RequestContext& context) {
  return CodeOf(SourceCurrency(context));
}

std::u16string TargetCurrencyCode(RequestContext& context) {
  return CodeOf(TargetCurrency(context));
}

std::u16string ParseAmount(const RequestContext& context) {
  return ParseAmount(context.selectedText());
}

}  // namespace qm
