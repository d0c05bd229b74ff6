#include "actions/punycode.h"

#include <gtest/gtest.h>

#include "text/utf8.h"

namespace qm {
namespace {

TEST(EncodePunycode, KnownLabels) {
  const struct {
    std::string_view label, encoded;
  } cases[] = {
      // Labels of the public-suffix list and of real host names.
      {"bücher", "bcher-kva"}, {"香港", "j6w193g"}, {"公司", "55qx5d"},
      {"ákŋoluokta", "koluokta-7ya57h"}, {"இந்தியா", "xkc2dl3a5ee0h"},
      {"ليبيا", "mgbb7fyab"}, {"ελ", "qxam"}, {"ü", "tda"}, {"abc-ü", "abc--3ra"},
      // ASCII is copied as it is, case included.
      {"München", "Mnchen-3ya"}, {"abc", "abc-"}, {"", ""},
      // Outside the Basic Multilingual Plane (a surrogate pair).
      {"\xF0\x9F\x98\x80", "e28h"},
  };
  for (const auto& c : cases) {
    std::string out = "xn--";
    EXPECT_TRUE(EncodePunycode(FromUtf8(c.label), &out)) << c.label;
    EXPECT_EQ(out, "xn--" + std::string(c.encoded)) << c.label;
  }
}

TEST(EncodePunycode, RefusesWhatNoLabelHolds) {
  std::string out = "kept";
  EXPECT_FALSE(EncodePunycode(u"a\xD800z", &out));
  EXPECT_FALSE(EncodePunycode(u"\xDC00", &out));
  EXPECT_FALSE(EncodePunycode(std::u16string(64, u'é'), &out));
  EXPECT_EQ(out, "kept");
  EXPECT_TRUE(EncodePunycode(std::u16string(63, u'é'), &out));
}

}  // namespace
}  // namespace qm
