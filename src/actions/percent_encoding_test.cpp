#include "actions/percent_encoding.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(PercentEncode, Examples) {
  EXPECT_EQ(PercentEncode(u"a b&c/+"), u"a%20b%26c%2F%2B");
  EXPECT_EQ(PercentEncode(u"caf\u00E9"), u"caf%E9");  // one byte, not UTF-8
  // Above U+00FF every code unit without a Windows-1252 byte, each half of
  // a pair too, is a space; the C1 controls keep their own numbers.
  EXPECT_EQ(PercentEncode(u"\u4E2D\U0001D11E\u20AC\u2013\u0080\u009D"),
            u"%20%20%20%80%96%80%9D");
  // A lone surrogate counts as U+FFFD in UTF-8.
  EXPECT_EQ(PercentEncodeUtf8(std::u16string(1, char16_t{0xDD1E}) + u"a"), u"%EF%BF%BDa");
}

// Expected texts from Python's urllib.parse.quote(safe="!~*'()"), an encoder
// written apart from ours: latin-1 for the classic form up to U+00FF, cp1252
// for it above, utf-8 for the other.
TEST(PercentEncode, AgreesWithAnIndependentEncoder) {
  std::u16string latin1;
  for (char16_t c = 0; c <= 0xFF; ++c) latin1.push_back(c);
  EXPECT_EQ(
      PercentEncode(latin1),
      u"%00%01%02%03%04%05%06%07%08%09%0A%0B%0C%0D%0E%0F%10%11%12%13%14%15%16"
      u"%17%18%19%1A%1B%1C%1D%1E%1F%20!%22%23%24%25%26'()*%2B%2C-.%2F01234567"
      u"89%3A%3B%3C%3D%3E%3F%40ABCDEFGHIJKLMNOPQRSTUVWXYZ%5B%5C%5D%5E_%60abcd"
      u"efghijklmnopqrstuvwxyz%7B%7C%7D~%7F%80%81%82%83%84%85%86%87%88%89%8A"
      u"%8B%8C%8D%8E%8F%90%91%92%93%94%95%96%97%98%99%9A%9B%9C%9D%9E%9F%A0%A1"
      u"%A2%A3%A4%A5%A6%A7%A8%A9%AA%AB%AC%AD%AE%AF%B0%B1%B2%B3%B4%B5%B6%B7%B8"
      u"%B9%BA%BB%BC%BD%BE%BF%C0%C1%C2%C3%C4%C5%C6%C7%C8%C9%CA%CB%CC%CD%CE%CF"
      u"%D0%D1%D2%D3%D4%D5%D6%D7%D8%D9%DA%DB%DC%DD%DE%DF%E0%E1%E2%E3%E4%E5%E6"
      u"%E7%E8%E9%EA%EB%EC%ED%EE%EF%F0%F1%F2%F3%F4%F5%F6%F7%F8%F9%FA%FB%FC%FD"
      u"%FE%FF");
  // Python's cp1252 codec: the characters of 0x80..0x9F, in byte order.
  EXPECT_EQ(PercentEncode(u"\u20AC\u201A\u0192\u201E\u2026\u2020\u2021\u02C6\u2030"
                          u"\u0160\u2039\u0152\u017D\u2018\u2019\u201C\u201D\u2022"
                          u"\u2013\u2014\u02DC\u2122\u0161\u203A\u0153\u017E\u0178"),
            u"%80%82%83%84%85%86%87%88%89%8A%8B%8C%8E%91%92%93%94%95%96%97%98%99"
            u"%9A%9B%9C%9E%9F");
  // Those 27 are the only characters above U+00FF with a byte of their own.
  int with_a_byte = 0;
  for (char32_t c = 0x100; c <= 0xFFFF; ++c) {
    with_a_byte += PercentEncode(std::u16string(1, static_cast<char16_t>(c))) != u"%20";
  }
  EXPECT_EQ(with_a_byte, 27);
  EXPECT_EQ(PercentEncodeUtf8(latin1.substr(0, 0x80)), PercentEncode(latin1.substr(0, 0x80)));
  EXPECT_EQ(PercentEncodeUtf8(u"Gr\u00FC\u00DFe \u65E5\u672C \u20AC\U0001D11E/?"),
            u"Gr%C3%BC%C3%9Fe%20%E6%97%A5%E6%9C%AC%20%E2%82%AC%F0%9D%84%9E%2F%3F");
}

}  // namespace
}  // namespace qm
