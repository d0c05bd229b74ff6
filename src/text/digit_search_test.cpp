#include "text/digit_search.h"

#include <gtest/gtest.h>

#include <random>

namespace qm {
namespace {

TEST(SkipToPossibleDigit, AndTheDigitMapAgreeWithOneCharacterAtATime) {
  // Every unit value near the boundaries, in every position of a word.
  const char16_t probes[] = {u'/', u'0', u'5', u'9', u':', u'A', 0x7F,
                             0x80, 0x660, 0xFF10, 0xFFFF, 0, u' '};
  std::mt19937 random(7);
  for (int round = 0; round < 5000; ++round) {
    // Long enough for whole blocks and map words, with stretches of letters
    // long and short.
    std::u16string text(random() % (round % 2 == 0 ? 41 : 300), u'x');
    const unsigned sparseness = 2 + round % 60;
    for (char16_t& c : text) {
      c = random() % sparseness == 0 ? probes[random() % std::size(probes)]
                                     : static_cast<char16_t>(u'a' + random() % 26);
    }
    const DigitMap map(text);
    for (int k = 0; k < 4; ++k) {
      const std::size_t from = random() % (text.size() + 1);
      std::size_t expected = from;
      while (expected < text.size() &&
             !(text[expected] >= 0x80 || (text[expected] >= u'0' && text[expected] <= u'9'))) {
        ++expected;
      }
      ASSERT_EQ(SkipToPossibleDigit(text, from), expected) << "round " << round << " from " << from;
      ASSERT_EQ(map.Next(from), expected) << "round " << round << " from " << from;
    }
  }
}

}  // namespace
}  // namespace qm
