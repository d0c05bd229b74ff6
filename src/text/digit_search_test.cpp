#include "text/digit_search.h"

#include <gtest/gtest.h>

#include <random>

namespace qm {
namespace {

TEST(SkipToPossibleDigit, AgreesWithOneCharacterAtATime) {
  // Every unit value near the boundaries, in every position of a word.
  const char16_t probes[] = {u'/', u'0', u'5', u'9', u':', u'A', 0x7F,
                             0x80, 0x660, 0xFF10, 0xFFFF, 0, u' '};
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    std::u16string text(random() % 23, u'x');
    for (char16_t& c : text) {
      c = random() % 3 == 0 ? probes[random() % std::size(probes)]
                            : static_cast<char16_t>(u'a' + random() % 26);
    }
    const std::size_t from = text.empty() ? 0 : random() % (text.size() + 1);
    std::size_t expected = from;
    while (expected < text.size() &&
           !(text[expected] >= 0x80 || (text[expected] >= u'0' && text[expected] <= u'9'))) {
      ++expected;
    }
    ASSERT_EQ(SkipToPossibleDigit(text, from), expected)
        << "round " << round << " from " << from;
  }
}

}  // namespace
}  // namespace qm
