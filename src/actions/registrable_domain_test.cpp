#include "actions/registrable_domain.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(RegistrableDomain, Examples) {
  const struct {
    std::u16string_view host, domain;
  } cases[] = {
      // Two labels by default, three under countries that register below
      // a second level, four under "us".
      {u"x.y.com", u"y.com"}, {u"a.b.example.io", u"example.io"},
      {u"w.x.y.co.uk", u"y.co.uk"}, {u"www.abc.net.au", u"abc.net.au"},
      {u"v.w.x.ca.us", u"w.x.ca.us"}, {u"u.v.w.x.ca.us", u"w.x.ca.us"},
      // Whole: short hosts, no dot, numeric addresses.
      {u"y.com", u"y.com"}, {u"co.uk", u"co.uk"}, {u"localhost", u"localhost"},
      {u"", u""}, {u"10.0.0.1", u"10.0.0.1"}, {u"..", u".."},
      // The lookup is case-sensitive.
      {u"W.X.Y.CO.UK", u"CO.UK"}, {u"example.com.", u"com."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(RegistrableDomain(c.host), c.domain) << std::string(c.host.begin(), c.host.end());
  }
}

}  // namespace
}  // namespace qm
