#include "actions/mail.h"

#include <gtest/gtest.h>

#include <map>

#include "actions/action_test_page.h"
#include "catalogue/site_entries.h"
#include "host/memory_selection_store.h"
#include "strings/string_table.h"
#include "support/fake_desktop.h"
#include "support/fake_shell.h"

namespace qm {
namespace {

// A message as one line: "to:", "cc:", "bcc:" per recipient, then the
// subject and note when set.
std::string Describe(const MailMessage& m) {
  static constexpr const char* kKinds[] = {"to:", "cc:", "bcc:"};
  std::string text;
  for (const MailRecipient& r : m.recipients) {
    text += kKinds[static_cast<int>(r.kind)] + r.address + "|";
  }
  if (m.has_subject) text += "subject:" + m.subject + "|";
  if (m.has_note) text += "note:" + m.note;
  return text;
}

class MailTest : public ::testing::Test {
 protected:
  MailTest() {
    page_.top->href = u"https://top.example/a?b=c";
    page_.top_document->title = u"Top Page";
    page_.frame->href = u"https://top.example/frame";
    page_.frame_document->title = u"Frame";
    page_.Select(u" ann@example.com ");
  }
  std::u16string Mailto(const MailTemplates& mail, UrlCharset charset) {
    return BuildMailtoAddress(mail, *page_.Context(), page_.code_page, charset);
  }
  std::string Mapi(const MailTemplates& mail) {
    return Describe(BuildMapiMessage(mail, *page_.Context(), page_.code_page));
  }

  ActionTestPage page_;
  FakeDesktop desktop_;
  FakeShell shell_;
};

TEST_F(MailTest, TheBuiltInEntries) {
  MemorySelectionStore store;
  SiteEntryList list;
  CollectSiteEntries(page_.env, store, "EMAIL:", false, list);
  std::map<std::string, SiteEntry> entries;
  for (const SiteEntry& e : list) entries[e.name] = e;
  ASSERT_EQ(entries.size(), 3u);
  const auto mailto = [&](const char* name) {
    return Mailto(MailTemplatesOf(entries[name]), entries[name].charset);
  };
  const auto mapi = [&](const char* name) { return Mapi(MailTemplatesOf(entries[name])); };
  const std::u16string credit =
      u"Pellmor%20Quillmark%20https%3A%2F%2Fquillmark.pellmor.example%2F";
  EXPECT_EQ(mailto("EMAIL:Url"),
            u"mailto:?subject=Top%20Page&body=%0D%0Ahttps%3A%2F%2Ftop.example%2Fa"
            u"%3Fb%3Dc%0D%0A%0D%0A[Email prepared by " + credit + u" ]");
  EXPECT_EQ(mapi("EMAIL:Url"),
            "subject:Top Page|note:\r\nhttps://top.example/a?b=c\r\n\r\n[Email "
            "prepared by Pellmor Quillmark https://quillmark.pellmor.example/ ]");
  EXPECT_EQ(mailto("EMAIL:Address"),
            u"mailto:ann%40example.com?subject=Top%20Page");
  EXPECT_EQ(mapi("EMAIL:Address"), "to:ann@example.com|subject:Top Page|");
  EXPECT_EQ(mailto("EMAIL:Quote"),
            u"mailto:?subject=Frame&body=%20ann%40example.com%20%0D%0A%0D%0A[Extracted "
            u"from web page https%3A%2F%2Ftop.example%2Fframe %0D%0Aby " + credit + u" ]");
  EXPECT_EQ(mapi("EMAIL:Quote"),
            "subject:Frame|note: ann@example.com \r\n\r\n[Extracted from web page "
            "https://top.example/frame \r\nby Pellmor Quillmark "
            "https://quillmark.pellmor.example/ ]");
}

TEST_F(MailTest, RecipientsAndOptionalFields) {
  EXPECT_EQ(Mailto({"", "", "", "", "!t"}, UrlCharset::kWindows1252), u"mailto:?body=Frame");
  page_.Select(u"\u00E9");
  const MailTemplates all{"a@x; b@y", "c@z", "d@w", "", "hi \xE9!S"};
  EXPECT_EQ(Mailto(all, UrlCharset::kUtf8),
            u"mailto:a@x; b@y?cc=c@z&bcc=d@w&body=hi \u00E9%C3%A9");
  EXPECT_EQ(Mapi(all), "to:a@x; b@y|cc:c@z|bcc:d@w|note:hi \xE9\xE9");
  // Empty expansions: no recipient, but a subject whose template is set.
  page_.Select(u"");
  EXPECT_EQ(Mapi({"!s", "", "!S", "!S", ""}), "subject:|");
}

TEST_F(MailTest, BrowserThenMailProgramThenMessage) {
  SiteEntry entry;
  entry.MailTo = "!s";
  entry.isMail = true;
  const auto send = [&] {
    SendEntryMail(entry, *page_.Context(), page_.code_page, desktop_, shell_);
  };
  send();
  EXPECT_EQ(page_.top->navigated, std::vector<std::u16string>{u"mailto:ann%40example.com"});
  EXPECT_TRUE(page_.frame->navigated.empty() && shell_.mails.empty());

  // Refused by the browser: the mail program, where a cancel is no failure;
  // when that fails too, string 136 once per entry.
  page_.top->navigate_succeeds = false;
  for (const MailResult result : {MailResult::kSent, MailResult::kUserAbort,
                                  MailResult::kUnavailable, MailResult::kFailed}) {
    shell_.mail_result = result;
    send();
  }
  EXPECT_EQ(shell_.mails.size(), 4u);
  ASSERT_EQ(desktop_.messages.size(), 2u);
  for (const FakeDesktop::Message& m : desktop_.messages) {
    EXPECT_EQ(m.owner, 0u);
    EXPECT_EQ(m.text, LoadText(IDS_NO_MAIL_PROGRAM));
    EXPECT_EQ(m.caption, u"Pellmor Quillmark");
    EXPECT_EQ(m.style.icon, MessageIcon::kExclamation);
  }
}

// A mailto address past the address limit falls back to the mail program;
// a field past the mail field limit is refused with a message, not cut.
TEST_F(MailTest, LongTextsGoToTheMailProgramOrAreRefused) {
  SiteEntry entry;
  entry.shortDescription = "Quote";
  entry.isMail = true;
  entry.MailTo = "ann@example.com";
  entry.MailBody = "!s!s";  // 30 characters, 34 encoded
  page_.Select(u"fifteen chars!!");
  // "mailto:ann@example.com?body=" is 28 characters.
  page_.env.SetExpansionLimits({62, 100, 100, 30});
  SendEntryMail(entry, *page_.Context(), page_.code_page, desktop_, shell_);
  EXPECT_EQ(page_.top->navigated.size(), 1u);
  EXPECT_TRUE(shell_.mails.empty());

  page_.env.SetExpansionLimits({61, 100, 100, 30});
  SendEntryMail(entry, *page_.Context(), page_.code_page, desktop_, shell_);
  EXPECT_EQ(page_.top->navigated.size(), 1u);
  ASSERT_EQ(shell_.mails.size(), 1u);
  EXPECT_EQ(shell_.mails[0].note, "fifteen chars!!fifteen chars!!");

  page_.env.SetExpansionLimits({61, 100, 100, 29});
  SendEntryMail(entry, *page_.Context(), page_.code_page, desktop_, shell_);
  EXPECT_EQ(shell_.mails.size(), 1u);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  EXPECT_EQ(desktop_.messages[0].text,
            u"A mail field of \"Quote\" would be longer than 29 characters, the most "
            u"that can be sent.\nNo mail was sent for it.");
}

}  // namespace
}  // namespace qm
