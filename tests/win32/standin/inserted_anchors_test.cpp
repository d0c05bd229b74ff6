#include "inserted_anchors.h"

#include <gtest/gtest.h>

namespace qm::standin {
namespace {

TEST(AnchorsOf, ReadsTheInsertedLinkWithItsReferencesDecoded) {
  const std::vector<InsertedAnchor> anchors = AnchorsOf(
      L"<A ID=\"QMKIT7587\" HREF=\"https://tr.example/t?sl=en&amp;q=a&quot;b\" "
      L"TARGET=\"Translate\">TRANSLATE</A><abbr title=x>no link</abbr>"
      L"<a href='single' id=two>second</a><a\thref=bare>third</a>");
  ASSERT_EQ(anchors.size(), 3u);
  EXPECT_EQ(anchors[0].id, L"QMKIT7587");
  EXPECT_EQ(anchors[0].href, L"https://tr.example/t?sl=en&q=a\"b");
  EXPECT_EQ(anchors[0].target, L"Translate");
  EXPECT_EQ(anchors[1].href, L"single");
  EXPECT_EQ(anchors[1].id, L"two");
  EXPECT_EQ(anchors[2].href, L"bare");
  EXPECT_EQ(anchors[2].id, L"");
  // Neither an attribute whose name ends in "id" nor a value holding
  // "id=" is taken for the id.
  EXPECT_EQ(AnchorsOf(L"<A dataid=\"no\" HREF=\"x id=no\" ID=\"yes\">")[0].id, L"yes");
}

}  // namespace
}  // namespace qm::standin
