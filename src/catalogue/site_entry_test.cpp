#include "catalogue/site_entry.h"

#include <gtest/gtest.h>

#include "catalogue/catalogue_parser.h"
#include "catalogue/site_entries.h"
#include "host/memory_selection_store.h"
#include "resource_ids.h"
#include "support/fake_module_environment.h"

namespace qm {
namespace {

SiteEntry EntryOf(const std::string& text, const SelectionStore& store) {
  SiteCatalogue catalogue;
  ParseCatalogue(text, "", catalogue);
  EXPECT_EQ(catalogue.size(), 1u);
  return ReadSiteEntry(catalogue.Sections().front(), store);
}

TEST(ReadSiteEntry, DefaultsOfAnEmptySection) {
  const MemorySelectionStore store;
  const SiteEntry e = EntryOf("[OTHER:GoTo]\n", store);
  EXPECT_EQ(e.name, "OTHER:GoTo");
  EXPECT_EQ(e.windowName, "_blank");
  EXPECT_TRUE(e.shortDescription.empty() && e.url.empty() && e.href.empty() &&
              e.command.empty() && e.left.empty() && e.height.empty());
  EXPECT_TRUE(e.URLEncode && e.directories && e.location && e.menuBar &&
              e.resizable && e.scrollBars && e.status && e.titleBar &&
              e.toolBar);
  EXPECT_FALSE(e.useConsole || e.leaveConsole || e.isMail || e.fullScreen ||
               e.exclusive || e.defaultSelected || e.selected);
}

TEST(ReadSiteEntry, KeysSetFields) {
  const MemorySelectionStore store;
  const SiteEntry e = EntryOf(
      "[CURRENCY:Rates]\n"
      "SHORTDESCRIPTION=Rates\nlongDescription=Daily rates\n"
      "url=https://example.com/?a=!S&f=!F&t=!L\nwidth=50%\nheight=100%\n"
      "left=-50%\ntop=0\nwindowName=\n"      // empty: keeps "_blank"
      "toolBar=no\nfullScreen=1\nstatus=off\n"  // "off" decides nothing
      "titleBar=no\n"                        // no key sets titleBar
      "URLEncode=n\nuseConsole=Y\nleaveConsole=t\nexclusive=yes\n",
      store);
  EXPECT_EQ(e.shortDescription, "Rates");
  EXPECT_EQ(e.longDescription, "Daily rates");
  EXPECT_EQ(e.url, "https://example.com/?a=!S&f=!F&t=!L");
  EXPECT_EQ(e.width, "50%");
  EXPECT_EQ(e.height, "100%");
  EXPECT_EQ(e.left, "-50%");
  EXPECT_EQ(e.top, "0");
  EXPECT_EQ(e.windowName, "_blank");
  EXPECT_FALSE(e.toolBar);
  EXPECT_TRUE(e.fullScreen);
  EXPECT_TRUE(e.status);
  EXPECT_TRUE(e.titleBar);
  EXPECT_FALSE(e.URLEncode);
  EXPECT_TRUE(e.useConsole && e.leaveConsole && e.exclusive);
  EXPECT_FALSE(e.isMail);
}

TEST(ReadSiteEntry, CharsetKey) {
  const MemorySelectionStore store;
  EXPECT_EQ(EntryOf("[SEARCH:x]\n", store).charset, UrlCharset::kWindows1252);
  for (const char* value : {"utf-8", "UTF-8", " Utf-8\t"}) {
    EXPECT_EQ(EntryOf(std::string("[SEARCH:x]\ncharset=") + value + "\n", store)
                  .charset,
              UrlCharset::kUtf8)
        << value;
  }
  // Unknown or empty values keep the default; the last key decides.
  for (const char* value : {"", "utf8", "utf-16", "latin1", "utf-8x"}) {
    EXPECT_EQ(EntryOf(std::string("[SEARCH:x]\nCharSet=") + value + "\n", store)
                  .charset,
              UrlCharset::kWindows1252)
        << value;
  }
  EXPECT_EQ(EntryOf("[SEARCH:x]\ncharset=utf-8\ncharset=windows-1252\n", store)
                .charset,
            UrlCharset::kWindows1252);
}

TEST(ReadSiteEntry, AnyMailFieldMakesAMailEntry) {
  const MemorySelectionStore store;
  const SiteEntry body_only = EntryOf("[EMAIL:x]\nMailBody=!S\n", store);
  EXPECT_TRUE(body_only.isMail);
  EXPECT_TRUE(body_only.MailTo.empty());
  EXPECT_EQ(body_only.MailBody, "!S");
  EXPECT_TRUE(EntryOf("[EMAIL:x]\nmailbcc=a@b\n", store).isMail);
  EXPECT_FALSE(EntryOf("[EMAIL:x]\nMailTo=\nMailCC=\n", store).isMail);
}

TEST(ReadSiteEntry, RememberedTickOverridesTheDefault) {
  MemorySelectionStore store;
  ASSERT_TRUE(store.Write({{"ISBN:ShopCom", 0}, {"isbn:other", 7}}));
  EXPECT_FALSE(
      EntryOf("[ISBN:ShopCom]\ndefaultSelected=yes\n", store).selected);
  // Names of remembered values compare without regard to case; any
  // non-zero number means ticked.
  EXPECT_TRUE(EntryOf("[ISBN:Other]\n", store).selected);
  // Nothing remembered: the default decides.
  EXPECT_TRUE(EntryOf("[ISBN:New]\ndefaultSelected=y\n", store).selected);
  // A renamed section forgets what was remembered for the old name.
  EXPECT_FALSE(EntryOf("[ISBN:ShopCom2]\n", store).selected);
}

TEST(DisplayDescription, PrefersTheLongOne) {
  SiteEntry e;
  e.shortDescription = "short";
  EXPECT_EQ(DisplayDescription(e), "short");
  e.longDescription = "long";
  EXPECT_EQ(DisplayDescription(e), "long");
}

TEST(CollectSiteEntries, NameOrderAndSaving) {
  FakeModuleEnvironment env("C:\\Apps\\qmkit.dll");
  env.SetFile("C:\\Apps\\qmkit.ini",
              "[BOOK:ShopCoUk]\ndefaultSelected=y\n"
              "[BOOK:ShopCom]\nshortDescription=first\nshortDescription=second\n"
              "[BOOK:ShopCa]\n"
              "[BOOK:Nothing]\n");  // does nothing, still listed
  MemorySelectionStore store;
  SiteEntryList list;
  ASSERT_TRUE(CollectSiteEntries(env, store, "BOOK:", false, list));
  ASSERT_EQ(list.size(), 4u);
  EXPECT_EQ(list[0].name, "BOOK:Nothing");
  EXPECT_EQ(list[1].name, "BOOK:ShopCa");
  EXPECT_EQ(list[2].name, "BOOK:ShopCom");
  EXPECT_EQ(list[2].shortDescription, "second");
  EXPECT_EQ(list[3].name, "BOOK:ShopCoUk");
  EXPECT_TRUE(list[3].selected);

  // Every entry is remembered, ticked or not; then the default no longer
  // matters.
  list[1].selected = true;
  list[3].selected = false;
  ASSERT_TRUE(SaveSelections(list, store));
  EXPECT_EQ(store.values().size(), 4u);
  SiteEntryList again;
  ASSERT_TRUE(CollectSiteEntries(env, store, "BOOK:", false, again));
  EXPECT_TRUE(again[1].selected);
  EXPECT_FALSE(again[3].selected);
  EXPECT_FALSE(again[0].selected);
}

TEST(CollectSiteEntries, SavingWritesOnlyWhatTheUserChanged) {
  FakeModuleEnvironment env("C:\\Apps\\qmkit.dll");
  env.SetFile("C:\\Apps\\qmkit.ini",
              "[BOOK:Kept]\n[BOOK:Many]\n[BOOK:New]\ndefaultSelected=y\n"
              "[BOOK:NewChosen]\n[BOOK:NewLeft]\n[BOOK:Off]\n[BOOK:On]\n");
  MemorySelectionStore store;
  ASSERT_TRUE(store.Write(
      {{"BOOK:Kept", 1}, {"BOOK:Many", 7}, {"BOOK:Off", 1}, {"BOOK:On", 0}}));
  SiteEntryList list;
  ASSERT_TRUE(CollectSiteEntries(env, store, "BOOK:", false, list));
  ASSERT_EQ(list.size(), 7u);
  list[3].selected = true;   // BOOK:NewChosen
  list[5].selected = false;  // BOOK:Off
  list[6].selected = true;   // BOOK:On

  // Another dialog of the category, confirmed meanwhile, changed the
  // entries this one leaves as they were; its changes stay.
  ASSERT_TRUE(store.Write({{"BOOK:Kept", 0},
                           {"BOOK:Many", 0},
                           {"BOOK:NewChosen", 0},
                           {"BOOK:NewLeft", 1}}));
  ASSERT_TRUE(SaveSelections(list, store));
  const auto& v = store.values();
  EXPECT_EQ(v.at("BOOK:Kept"), 0u);
  EXPECT_EQ(v.at("BOOK:Many"), 0u);  // 7 read as ticked, and ticked it stayed
  EXPECT_EQ(v.at("BOOK:New"), 1u);   // nothing remembered: the default
  EXPECT_EQ(v.at("BOOK:NewChosen"), 1u);  // the user's own choice
  EXPECT_EQ(v.at("BOOK:NewLeft"), 1u);    // the default gives way
  EXPECT_EQ(v.at("BOOK:Off"), 0u);
  EXPECT_EQ(v.at("BOOK:On"), 1u);
}

TEST(CollectSiteEntries, EmptyCategoryAndSystemEntries) {
  FakeModuleEnvironment env;
  env.SetBuiltIn(IDR_DEFAULT_CATALOGUE, "[BOOK:x]\n");
  MemorySelectionStore store;
  SiteEntryList list;
  EXPECT_FALSE(CollectSiteEntries(env, store, "MUSIC:", false, list));
  EXPECT_TRUE(list.empty());
  ASSERT_TRUE(CollectSiteEntries(env, store, "SYSTEM:", true, list));
  EXPECT_EQ(list.front().name, "SYSTEM:Home");
}

}  // namespace
}  // namespace qm
