#include "dialogs/site_choice_list.h"

#include <gtest/gtest.h>

#include "support/fake_desktop.h"

namespace qm {
namespace {

SiteEntry Entry(const char* name, bool selected, bool exclusive = false,
                const char* long_description = "") {
  SiteEntry e;
  e.name = name;
  e.shortDescription = std::string(name) + " short";
  e.longDescription = long_description;
  e.selected = selected;
  e.exclusive = exclusive;
  return e;
}

std::string Chosen(const SiteChoiceList& list) {
  std::string chosen;
  for (std::size_t i = 0; i < list.size(); ++i) chosen += list.IsChosen(i) ? 'x' : '.';
  return chosen;
}

TEST(SiteChoiceList, OpeningKeepsTheFirstChosenAndClearsConflicts) {
  // Two defaults, the second exclusive: only the first stays.
  SiteEntryList entries = {Entry("a", false), Entry("b", true),
                           Entry("c", true, true), Entry("d", true)};
  SiteChoiceList list(entries);
  list.Populate();
  EXPECT_EQ(Chosen(list), ".x.x");
  EXPECT_EQ(list.scroll_target(), 1u);
  // The status line shows the line whose image changed last.
  EXPECT_EQ(list.status_line(), "c short");

  // The first chosen line is exclusive: it alone stays.
  SiteEntryList first_exclusive = {Entry("a", true, true), Entry("b", true)};
  SiteChoiceList list2(first_exclusive);
  list2.Populate();
  EXPECT_EQ(Chosen(list2), "x.");
}

TEST(SiteChoiceList, NothingChosenChoosesTheFirstLine) {
  SiteEntryList entries = {Entry("a", false, false, "long a"), Entry("b", false)};
  SiteChoiceList list(entries);
  list.Populate();
  EXPECT_EQ(Chosen(list), "x.");
  EXPECT_EQ(list.status_line(), "long a");
  SiteEntryList none;
  SiteChoiceList empty(none);
  empty.Populate();
  EXPECT_EQ(empty.size(), 0u);
  EXPECT_FALSE(empty.scroll_target());
}

TEST(SiteChoiceList, DoubleClickTogglesWithExclusiveRule) {
  SiteEntryList entries = {Entry("a", true), Entry("b", true), Entry("c", true),
                           Entry("x", false, true)};
  SiteChoiceList list(entries);
  list.Populate();
  list.OnDoubleClick(3);  // the exclusive one clears every other choice
  EXPECT_EQ(Chosen(list), "...x");
  EXPECT_EQ(list.status_line(), "x short");
  list.OnDoubleClick(1);  // an ordinary one clears the exclusive one
  EXPECT_EQ(Chosen(list), ".x..");
  list.OnDoubleClick(1);  // unchoosing the only choice leaves nothing
  EXPECT_EQ(Chosen(list), "....");
  list.OnDoubleClick(std::nullopt);  // below the last line: nothing
  list.OnDoubleClick(99);
  EXPECT_EQ(Chosen(list), "....");
}

TEST(SiteChoiceList, HighlightMovesOnlyTheStatusLine) {
  SiteEntryList entries = {Entry("a", true), Entry("b", false, false, "about b")};
  SiteChoiceList list(entries);
  list.Populate();
  list.OnItemChanged(1);
  EXPECT_EQ(list.status_line(), "about b");
  EXPECT_EQ(list.highlight(), 1u);
  EXPECT_EQ(Chosen(list), "x.");
  list.OnItemChanged(std::nullopt);
  EXPECT_EQ(list.status_line(), "");
}

TEST(SiteChoiceList, ConfirmChoiceWarnsWhenNothingIsChosen) {
  SiteEntryList entries = {Entry("a", true)};
  SiteChoiceList list(entries);
  FakeDesktop desktop;
  EXPECT_TRUE(list.ConfirmChoice(desktop, 7));
  EXPECT_TRUE(desktop.messages.empty());
  entries[0].selected = false;
  EXPECT_FALSE(list.ConfirmChoice(desktop, 7));
  ASSERT_EQ(desktop.messages.size(), 1u);
  EXPECT_EQ(desktop.messages[0].owner, 7u);
  EXPECT_EQ(desktop.messages[0].text.substr(0, 25), u"No site or action chosen.");
  EXPECT_EQ(desktop.messages[0].style.icon, MessageIcon::kExclamation);
}

}  // namespace
}  // namespace qm
