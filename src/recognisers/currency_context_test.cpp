#include "recognisers/currency_context.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "support/fake_browser.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

// A request on a page with the given host name and selection.
class Request {
 public:
  Request(std::u16string host, std::u16string selection,
          std::string user_currency = "") {
    environment_.SetUserCurrencyCode(std::move(user_currency));
    auto page = std::make_shared<FakeWindow>();
    page->hostname = std::move(host);
    page->document = std::make_shared<FakeDocument>();
    page->document->selection = FakeTextRange{std::move(selection), u""};
    FakeMenuArguments arguments;
    arguments.window = page;
    context_ = std::make_unique<RequestContext>(environment_);
    EXPECT_TRUE(BuildRequestContext(*context_, &arguments));
  }
  RequestContext& context() { return *context_; }
  FakeModuleEnvironment& environment() { return environment_; }

 private:
  FakeModuleEnvironment environment_;
  std::unique_ptr<RequestContext> context_;
};

std::u16string Source(std::u16string host, std::u16string selection) {
  Request request(std::move(host), std::move(selection));
  return SourceCurrencyCode(request.context());
}

std::u16string Target(std::string user_currency) {
  Request request(u"example.com", u"", std::move(user_currency));
  return TargetCurrencyCode(request.context());
}

TEST(SourceCurrencyTest, FromSelectionAndHost) {
  // The selection decides first.
  EXPECT_EQ(Source(u"www.example.com", u"CDN$ 12.50"), u"CAD");
  EXPECT_EQ(Source(u"www.example.com", u"12,50 EUR"), u"EUR");
  // Then the last label of the host name.
  EXPECT_EQ(Source(u"shop.example.ca", u"$12.50"), u"CAD");
  EXPECT_EQ(Source(u"www.example.com", u"$12.50"), u"USD");
  EXPECT_EQ(Source(u"butik.example.se", u"5 kr"), u"SEK");
  EXPECT_EQ(Source(u"example.ru", u"12.50"), u"RUB");
  EXPECT_EQ(Source(u"www.example.com", u"\u20B9500"), u"INR");
  // No dot means "com"; a trailing dot or a foreign label means no domain.
  EXPECT_EQ(Source(u"localhost", u"$5"), u"USD");
  EXPECT_EQ(Source(u"", u"$5"), u"USD");
  EXPECT_EQ(Source(u"example.ca.", u"$5"), u"USD");
  EXPECT_EQ(Source(u"example.c\u00E1", u"$5"), u"USD");
}

TEST(SourceCurrencyTest, DecidedOnceThenReplaced) {
  Request request(u"example.de", u"5 \u00A3");
  RequestContext& context = request.context();
  const CurrencyInfo* first = SourceCurrency(context);
  EXPECT_EQ(first, FindCurrencyByCode("GBP"));
  // A later selection does not change it.
  context.SetSelectedText(u"5 \u00A5");
  EXPECT_EQ(SourceCurrency(context), first);
  // The dialog's choice replaces it; null lets it be decided again.
  SetSourceCurrency(context, FindCurrencyByCode("CHF"));
  EXPECT_EQ(SourceCurrencyCode(context), u"CHF");
  SetSourceCurrency(context, nullptr);
  EXPECT_EQ(SourceCurrencyCode(context), u"JPY");
}

TEST(TargetCurrencyTest, FromTheUsersLocale) {
  EXPECT_EQ(Target("EUR"), u"EUR");
  EXPECT_EQ(Target(" SEK\t"), u"SEK");
  // Nothing known, or a code the table lacks: USD.
  EXPECT_EQ(Target(""), u"USD");
  EXPECT_EQ(Target("RUB"), u"RUB");
  EXPECT_EQ(Target("XYZ"), u"USD");
  EXPECT_EQ(Target("eur"), u"USD");
  EXPECT_EQ(Target(std::string("E\0R", 3)), u"USD");
}

TEST(TargetCurrencyTest, DecidedOnceThenReplaced) {
  Request request(u"example.com", u"", "NOK");
  RequestContext& context = request.context();
  EXPECT_EQ(TargetCurrency(context), FindCurrencyByCode("NOK"));
  request.environment().SetUserCurrencyCode("DKK");
  EXPECT_EQ(TargetCurrencyCode(context), u"NOK");
  SetTargetCurrency(context, FindCurrencyByCode("ISK"));
  EXPECT_EQ(TargetCurrencyCode(context), u"ISK");
  EXPECT_EQ(SourceCurrencyCode(context), u"USD");  // untouched by the target
  SetTargetCurrency(context, nullptr);
  EXPECT_EQ(TargetCurrencyCode(context), u"DKK");
}

TEST(CurrencyContextTest, AmountOfTheSelection) {
  Request request(u"example.com", u"Total: 1.234,56 EUR");
  EXPECT_EQ(ParseAmount(request.context()), u"1234.56");
  request.context().SetSelectedText(u"none");
  EXPECT_EQ(ParseAmount(request.context()), u"1.00");
}

}  // namespace
}  // namespace qm
