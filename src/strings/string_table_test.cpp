#include "strings/string_table.h"

#include <gtest/gtest.h>

#include "support/fake_desktop.h"

namespace qm {
namespace {

TEST(StringTable, LookupAndMessages) {
  EXPECT_EQ(LoadText(IDS_PRODUCT_NAME), u"Pellmor Quillmark");
  EXPECT_EQ(LoadText(166), u"Search for the selected text");
  EXPECT_EQ(LoadText(146), u"Cannot calculate answer %1");
  // Quotes and line breaks of the text file arrive as characters.
  EXPECT_EQ(LoadText(IDS_ADDRESS_TOO_LONG).substr(0, 19), u"The address of \"%1\"");
  EXPECT_EQ(LoadText(IDS_UNITS_WARRANTY),
            u"No warranty is made as to the accuracy\nor correctness of the above result.");
  EXPECT_EQ(LoadLabel(IDS_BUTTON_OK_ACCEL), u"OK");  // "&OK" in the dialogs
  EXPECT_TRUE(LoadText(123).empty());  // a gap in the ids
  EXPECT_TRUE(LoadText(99999).empty());
  int previous = 0;
  for (const StringTableEntry* e = StringTableBegin(); e != StringTableEnd(); ++e) {
    EXPECT_GT(e->id, previous);
    EXPECT_FALSE(e->text.empty()) << e->id;
    previous = e->id;
  }

  FakeDesktop desktop;
  desktop.answers.push_back(MessageResult::kNo);
  EXPECT_EQ(ShowStringMessage(desktop, 0, IDS_TRANSLATE_NOT_INTERNET,
                              IDS_PRODUCT_NAME,
                              {MessageIcon::kQuestion, MessageButtons::kYesNo, true}),
            MessageResult::kNo);
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].caption, u"Pellmor Quillmark");
  EXPECT_EQ(desktop.messages[0].text.substr(0, 12), u"Translation ");
  EXPECT_NE(desktop.messages[0].text.find(u".\nContinue"), std::u16string::npos);
}

}  // namespace
}  // namespace qm
