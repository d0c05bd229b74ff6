#include "actions/navigation.h"

#include <gtest/gtest.h>

#include "actions/action_test_page.h"
#include "support/fake_desktop.h"
#include "support/fake_shell.h"

namespace qm {
namespace {

class NavigationTest : public ::testing::Test {
 protected:
  void Open(std::size_t index = 0) {
    OpenUrlWindow(entry_, *page_.Context(), page_.code_page, desktop_, shell_, index);
  }
  void Follow() { FollowHref(entry_, *page_.Context(), page_.code_page, desktop_); }
  const std::vector<FollowedLink>& Clicked() { return page_.frame_document->clicked; }

  ActionTestPage page_;
  FakeDesktop desktop_;
  FakeShell shell_;
  SiteEntry entry_;
};

TEST_F(NavigationTest, OpensOnTheTopWindowOrThroughTheShell) {
  page_.Select(u"a b\u00E9");
  entry_.url = "https://s.example/?q=!s&x=%22";
  entry_.windowName = "Site\xE9";
  entry_.charset = UrlCharset::kUtf8;
  Open(2);
  ASSERT_EQ(page_.top->opened.size(), 1u);
  EXPECT_TRUE(page_.frame->opened.empty());
  EXPECT_EQ(page_.top->opened[0].url, u"https://s.example/?q=a%20b%C3%A9&x=%22");
  EXPECT_EQ(page_.top->opened[0].name, u"Site\u00E9");
  EXPECT_NE(page_.top->opened[0].features.find(u",left=40,"), std::u16string::npos);
  EXPECT_EQ(page_.top->brought_to_front, 1);

  // No window back: the shell opens the address as 8-bit text, silently.
  page_.top->open_gives_window = false;
  shell_.shell_succeeds = false;
  entry_.URLEncode = false;
  Open();
  EXPECT_EQ(page_.top->brought_to_front, 1);
  EXPECT_EQ(shell_.shell_opened, std::vector<std::string>{"https://s.example/?q=a b\xE9&x=%22"});
  EXPECT_TRUE(desktop_.messages.empty() && desktop_.beeps.empty());
}

TEST_F(NavigationTest, FollowsALinkInsertedIntoTheFrame) {
  page_.top->href = u"https://top.example/p?a=1&b=2";
  entry_.href = "https://tr.example/t?sl=en&u=!U";
  entry_.windowName = "_top";
  Follow();
  const FollowedLink expected{
      u"QMKIT7587",
      u"https://tr.example/t?sl=en&u=https%3A%2F%2Ftop.example%2Fp%3Fa%3D1%26b%3D2", u"_top",
      u"TRANSLATE"};
  EXPECT_TRUE(page_.top_document->body.empty());
  EXPECT_EQ(page_.frame_document->body, std::vector<FollowedLink>{expected});
  EXPECT_EQ(Clicked(), std::vector<FollowedLink>{expected});
  EXPECT_TRUE(desktop_.beeps.empty());
}

// Page values reach the browser as they are (the browser's adapter makes
// them attributes), long addresses are whole, and each href entry of a run
// follows its own address.
TEST_F(NavigationTest, LinkIsWholeAndOwnedByItsEntry) {
  page_.Select(u"x\" onclick=\"evil()\"><script>alert('1')</script>&amp;");
  entry_.href = "!S";
  entry_.URLEncode = false;
  entry_.windowName = "a\"b<c>";
  Follow();
  ASSERT_EQ(Clicked().size(), 1u);
  EXPECT_EQ(Clicked()[0],
            (FollowedLink{u"QMKIT7587", u"x\" onclick=\"evil()\"><script>alert('1')</script>&amp;",
                          u"a\"b<c>", u"TRANSLATE"}));

  // The longest address the browser takes goes whole.
  const std::u16string long_address(kWindowsTextLimits.address, u'q');
  page_.Select(long_address);
  entry_.windowName = "two";
  Follow();
  ASSERT_EQ(Clicked().size(), 2u);
  EXPECT_EQ(Clicked()[1].address, long_address);
  EXPECT_EQ(Clicked()[1].target, u"two");
  EXPECT_EQ(page_.frame_document->body.size(), 1u);  // the earlier one is gone
}

TEST_F(NavigationTest, FailuresGiveTheExclamationBeep) {
  entry_.href = "https://t.example/";
  page_.frame_document->click_fails = true;
  Follow();
  page_.frame_document->has_body = false;
  Follow();
  page_.frame->document = nullptr;
  Follow();
  EXPECT_EQ(desktop_.beeps, std::vector<BeepKind>(3, BeepKind::kExclamation));
  EXPECT_TRUE(desktop_.messages.empty() && page_.top->opened.empty());
}

// An address past the environment's limit is refused with a message naming
// the entry and the limit: nothing opened, followed or inserted.
TEST_F(NavigationTest, AnAddressTooLongIsRefusedWithAMessage) {
  page_.env.SetExpansionLimits({28, 100, 100, 100});
  page_.Select(u"abcdefghij");
  entry_.shortDescription = "Shop";
  entry_.url = "https://s.example/?!s";  // 29 characters
  entry_.href = "https://s.example/?!s";
  Open();
  Follow();
  EXPECT_TRUE(page_.top->opened.empty());
  EXPECT_TRUE(shell_.shell_opened.empty());
  EXPECT_TRUE(page_.frame_document->body.empty());
  EXPECT_TRUE(Clicked().empty());
  ASSERT_EQ(desktop_.messages.size(), 2u);
  EXPECT_EQ(desktop_.messages[0].text,
            u"The address of \"Shop\" would be longer than 28 characters, the most "
            u"that can be opened.\nNothing was opened for it.");
  EXPECT_EQ(desktop_.messages[0].caption, u"Pellmor Quillmark");
  EXPECT_EQ(desktop_.messages[1].text, desktop_.messages[0].text);

  // Exactly at the limit it goes.
  entry_.url = entry_.href = "https://s.example/!s";
  Open();
  Follow();
  EXPECT_EQ(page_.top->opened.size(), 1u);
  EXPECT_EQ(Clicked().size(), 1u);
  EXPECT_EQ(desktop_.messages.size(), 2u);
}

}  // namespace
}  // namespace qm
