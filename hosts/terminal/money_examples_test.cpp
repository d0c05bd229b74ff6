// The currency and amount that `qmkit find` reports for prices written as
// pages write them today, end to end through the program.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exit_status.h"
#include "support/qmkit_run.h"

namespace qm {
namespace {

class MoneyExamples : public testing_support::ProgramTest {
 protected:
  testing_support::ProgramOutcome Find(const std::string& what,
                                       const std::string& text,
                                       const std::string& host) {
    return Qmkit({"find", what, "--host", host, "--", text});
  }
};

TEST_F(MoneyExamples, Currencies) {
  struct Case {
    const char* host;
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"www.example.com", "\u20B9500", "INR India, Rupees\n"},
      {"shop.example.ru", "12.50", "RUB Russia, Rubles\n"},
      {"shop.example.tr", "12.50", "TRY T\u00FCrkiye, Liras\n"},
      {"shop.example.hr", "12,50", "EUR Euro Member Countries, Euros\n"},
      {"shop.example.ee", "12,50", "EUR Euro Member Countries, Euros\n"},
      {"shop.example.com", "17 940 \u0440\u0443\u0431.", "RUB Russia, Rubles\n"},
      {"shop.example.com", "99 TL", "TRY T\u00FCrkiye, Liras\n"},
      {"shop.example.com", "99 DM", "DEM Germany, Deutsche Marks (withdrawn)\n"},
      // A symbol several currencies share: the page's own, else the first.
      {"www.example.com", "kr 50", "DKK Denmark, Kroner\n"},
      {"butik.example.no", "kr 50", "NOK Norway, Krone\n"},
      {"shop.example.cn", "\u00A51000", "CNY China, Yuan Renminbi\n"},
      {"www.example.com", "\u00A51000", "JPY Japan, Yen\n"},
  };
  for (const Case& c : cases) {
    const auto run = Find("currency", c.text, c.host);
    EXPECT_EQ(run.status, kExitDone) << c.text << " on " << c.host << run.err;
    EXPECT_EQ(run.out, c.line) << c.text << " on " << c.host;
  }
}

TEST_F(MoneyExamples, Amounts) {
  struct Case {
    const char* text;
    const char* line;
  };
  const Case cases[] = {
      {"9 800 K\u010D", "9800\n"},
      {"17 940,00 \u0440\u0443\u0431", "17940.00\n"},
      {"1\u00A0298,00 \u20AC", "1298.00\n"},
      {".75 \u20AC", "0.75\n"},
      {"CHF 1'049,95", "1049.95\n"},
      {"5 apples", "5\n"},
      {"1,234,567", "1234567\n"},
  };
  for (const Case& c : cases) {
    const auto run = Find("amount", c.text, "shop.example.com");
    EXPECT_EQ(run.status, kExitDone) << c.text << run.err;
    EXPECT_EQ(run.out, c.line) << c.text;
  }
}

}  // namespace
}  // namespace qm
