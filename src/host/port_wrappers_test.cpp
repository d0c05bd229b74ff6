// The forwarding bases: a wrapper that overrides one call still hands every
// other call, with all its arguments and its answer, to the port it wraps.
#include <gtest/gtest.h>

#include "dialogs/about_dlg.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/category_dialogs.h"
#include "support/fake_desktop.h"
#include "support/fake_dialog_host.h"
#include "support/fake_module_environment.h"
#include "support/fake_shell.h"
#include "text/windows_1252.h"
#include "units/unit_table.h"

namespace qm {
namespace {

TEST(PortWrappers, DesktopWrapperForwardsEveryCall) {
  FakeDesktop fake;
  fake.answers = {MessageResult::kNo};
  fake.help_succeeds = false;
  // Overrides the beep alone.
  struct Quiet final : DesktopWrapper {
    using DesktopWrapper::DesktopWrapper;
    void Beep(BeepKind) override { ++silenced; }
    int silenced = 0;
  } wrapper(&fake);
  Desktop& desktop = wrapper;

  const MessageStyle style{MessageIcon::kQuestion, MessageButtons::kYesNo, true};
  EXPECT_EQ(desktop.ShowMessage(7, u"text", u"caption", style), MessageResult::kNo);
  ASSERT_EQ(fake.messages.size(), 1u);
  EXPECT_EQ(fake.messages[0].owner, 7u);
  EXPECT_EQ(fake.messages[0].text, u"text");
  EXPECT_EQ(fake.messages[0].caption, u"caption");
  EXPECT_EQ(fake.messages[0].style.icon, MessageIcon::kQuestion);
  EXPECT_EQ(fake.messages[0].style.buttons, MessageButtons::kYesNo);
  EXPECT_TRUE(fake.messages[0].style.second_button_default);

  EXPECT_FALSE(desktop.ShowHelp(7, "C:\\a\\qmkit.chm::/HelpISBN.htm"));
  EXPECT_EQ(fake.help_topics, std::vector<std::string>{"C:\\a\\qmkit.chm::/HelpISBN.htm"});

  desktop.Beep(BeepKind::kError);
  EXPECT_EQ(wrapper.silenced, 1);
  EXPECT_TRUE(fake.beeps.empty());
  // The base itself forwards the beep.
  DesktopWrapper plain(&fake);
  plain.Beep(BeepKind::kExclamation);
  EXPECT_EQ(fake.beeps, std::vector<BeepKind>{BeepKind::kExclamation});
}

TEST(PortWrappers, ShellWrapperForwardsEveryCall) {
  FakeShell fake;
  fake.shell_succeeds = false;
  fake.mail_result = MailResult::kUserAbort;
  fake.process_starts = false;
  fake.process_error = u"Access is denied.";
  ShellWrapper wrapper(&fake);
  Shell& shell = wrapper;

  EXPECT_FALSE(shell.ShellOpen("https://a.example/"));
  EXPECT_EQ(fake.shell_opened, std::vector<std::string>{"https://a.example/"});

  std::u16string error;
  EXPECT_FALSE(shell.StartProcess({"ping.exe host", {"ping.exe", "host"}}, &error));
  EXPECT_EQ(error, u"Access is denied.");
  EXPECT_EQ(fake.processes, std::vector<std::string>{"ping.exe host"});
  EXPECT_EQ(fake.process_arguments,
            (std::vector<std::vector<std::string>>{{"ping.exe", "host"}}));

  MailMessage message;
  message.recipients = {{MailRecipient::Kind::kCc, "a@example.com"}};
  message.has_subject = true;
  message.subject = "s";
  EXPECT_EQ(shell.SendMail(message), MailResult::kUserAbort);
  ASSERT_EQ(fake.mails.size(), 1u);
  EXPECT_EQ(fake.mails[0].recipients[0].address, "a@example.com");
  EXPECT_EQ(fake.mails[0].subject, "s");
}

TEST(PortWrappers, DialogHostWrapperForwardsEveryDialogWithItsOwner) {
  FakeModuleEnvironment env;
  RequestContext context(env);
  FakeDesktop desktop;
  Windows1252CodePage code_page;
  SiteEntryList entries(1);
  entries[0].name = "URL:a";
  entries[0].selected = true;
  UnitTable units;

  FakeDialogHost fake;
  fake.scripts = {"ok", "cancel", "home"};
  DialogHostWrapper wrapper(&fake);
  DialogHost& dialogs = wrapper;

  CAskURLDlg choice(context, desktop, code_page, entries, DialogResources{});
  dialogs.RunChoiceDialog(11, choice);
  CAskCurrencyDlg currency(context, desktop, code_page, entries, u"1", nullptr, nullptr,
                           DialogResources{});
  dialogs.RunCurrencyDialog(12, currency);
  CAboutDlg about(context, desktop, DialogResources{});
  dialogs.RunAboutDialog(13, about);
  CAskConvertDlg convert(context, desktop, code_page, u"1", nullptr, units, DialogResources{});
  dialogs.RunConvertDialog(14, convert);

  ASSERT_EQ(fake.shown.size(), 4u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(fake.shown[i].owner, 11u + i);
  EXPECT_TRUE(fake.script_errors.empty());
  EXPECT_EQ(choice.result(), kResultOk);
  EXPECT_EQ(currency.result(), kResultCancel);
  EXPECT_EQ(about.result(), CAboutDlg::kResultHomePage);
}

}  // namespace
}  // namespace qm
