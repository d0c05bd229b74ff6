#include "actions/registrable_domain.h"

#include <gtest/gtest.h>

#include "text/utf8.h"

namespace qm {
namespace {

TEST(RegistrableDomain, EveryKindOfRule) {
  const struct {
    std::u16string_view host, domain;
  } cases[] = {
      // Plain rules: a top-level domain, a second level, and a country
      // without a second-level rule keeps two labels.
      {u"x.y.com", u"y.com"}, {u"a.b.example.io", u"example.io"},
      {u"w.x.y.co.uk", u"y.co.uk"}, {u"www.abc.net.au", u"abc.net.au"},
      {u"www.jumia.com.ng", u"jumia.com.ng"}, {u"www.google.at", u"google.at"},
      {u"www.amazon.in", u"amazon.in"}, {u"www.olx.ua", u"olx.ua"},
      {u"www.example.unknowntld", u"example.unknowntld"},
      // Deep rules: Japanese prefectures and towns, Norwegian counties,
      // states and school districts of "us".
      {u"www.town.aisho.shiga.jp", u"town.aisho.shiga.jp"},
      {u"a.b.aisho.shiga.jp", u"b.aisho.shiga.jp"}, {u"www.pref.aichi.jp", u"pref.aichi.jp"},
      {u"a.b.gs.aa.no", u"b.gs.aa.no"}, {u"www.vg.no", u"vg.no"},
      {u"v.w.x.ca.us", u"x.ca.us"}, {u"www.state.nj.us", u"state.nj.us"},
      {u"a.b.pvt.k12.ma.us", u"b.pvt.k12.ma.us"},
      {u"a.b.c.d.e.f.pvt.k12.ma.us", u"f.pvt.k12.ma.us"},
      // Wildcards: any label in place of "*" is part of the suffix.
      {u"a.b.c.kawasaki.jp", u"b.c.kawasaki.jp"}, {u"www.bangladesh.gov.bd", u"bangladesh.gov.bd"},
      {u"x.y.ck", u"x.y.ck"}, {u"a.b.x.nom.br", u"b.x.nom.br"},
      // Exceptions win over the wildcard and are registrable themselves.
      {u"www.city.kawasaki.jp", u"city.kawasaki.jp"}, {u"city.kawasaki.jp", u"city.kawasaki.jp"},
      {u"a.www.ck", u"www.ck"}, {u"www.ck", u"www.ck"},
      // The private section does not count.
      {u"user.github.io", u"github.io"}, {u"a.b.blogspot.com", u"blogspot.com"},
      // Labels beyond ASCII, as typed or in punycode.
      {u"www.xn--bcher-kva.de", u"xn--bcher-kva.de"}, {u"www.bücher.de", u"bücher.de"},
      {u"x.y.公司.cn", u"y.公司.cn"}, {u"a.b.xn--55qx5d.cn", u"b.xn--55qx5d.cn"},
      {u"www.食狮.公司.cn", u"食狮.公司.cn"}, {u"a.b.公司.香港", u"b.公司.香港"},
      // Letter case does not decide, and the host's own letters come back.
      {u"W.X.Y.CO.UK", u"Y.CO.UK"}, {u"WWW.City.Kawasaki.JP", u"City.Kawasaki.JP"},
      // A trailing dot is kept and not counted.
      {u"www.example.com.", u"example.com."}, {u"a.b.co.uk.", u"b.co.uk."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ToUtf8(RegistrableDomain(c.host)), ToUtf8(c.domain)) << ToUtf8(c.host);
  }
}

TEST(RegistrableDomain, HostsWithoutOneComeBackWhole) {
  for (const std::u16string_view host :
       {u"", u"localhost", u"localhost.", u"10.0.0.1", u"10.0.0.1.", u"[::1]",
        u"[::ffff:10.0.0.1]", u"com", u"co.uk", u"gov.bd", u"x.kawasaki.jp", u"..",
        u"xn--j6w193g", u"公司.香港"}) {
    EXPECT_EQ(ToUtf8(RegistrableDomain(host)), ToUtf8(host));
  }
  // A label no host could hold (a lone surrogate, more than 63 characters)
  // matches no rule.
  EXPECT_EQ(RegistrableDomain(u"a.b.\xD800.cn"), u"\xD800.cn");
  const std::u16string long_label(100, u'ü');
  EXPECT_EQ(RegistrableDomain(u"a." + long_label + u".cn"), long_label + u".cn");
}

TEST(RegistrableDomain, OnlyTheLastLabelsAreRead) {
  // Many labels before the suffix cost nothing and change nothing.
  std::u16string host;
  for (int i = 0; i < 20000; ++i) host += u"a.";
  EXPECT_EQ(RegistrableDomain(host + u"example.co.uk"), u"example.co.uk");
  EXPECT_EQ(RegistrableDomain(host + u"b.c.kawasaki.jp"), u"b.c.kawasaki.jp");
}

TEST(PublicSuffixLabelCount, RuleClasses) {
  const struct {
    std::string_view name;
    int labels;
  } cases[] = {
      {"example.com", 1}, {"www.example.co.uk", 2}, {"co.uk", 2},
      {"example.unknowntld", 1}, {"a.b.c.kawasaki.jp", 3}, {"www.city.kawasaki.jp", 2},
      {"www.ck", 1}, {"x.www.ck", 1}, {"a.b.ck", 2}, {"ck", 1},
      {"a.b.pvt.k12.ma.us", 4}, {"x.xn--55qx5d.cn", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(PublicSuffixLabelCount(c.name), c.labels) << c.name;
}

}  // namespace
}  // namespace qm
