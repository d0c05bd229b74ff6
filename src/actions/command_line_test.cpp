#include "actions/command_line.h"

#include <gtest/gtest.h>

#include "actions/action_test_page.h"
#include "support/fake_desktop.h"

namespace qm {
namespace {

using namespace std::string_literals;

class CommandLineTest : public ::testing::Test {
 protected:
  CommandLineTest() {
    ping_.command = "ping.exe !H";
    ping_.URLEncode = false;
    ping_.useConsole = ping_.leaveConsole = true;
    page_.top->hostname = u"www.example.com";
  }
  std::string Line(const SiteEntry& entry) {
    return BuildCommandLine(entry, *page_.Context(), page_.code_page);
  }

  ActionTestPage page_;
  FakeDesktop desktop_;
  SiteEntry ping_;
};

TEST_F(CommandLineTest, InterpreterAndSwitches) {
  EXPECT_EQ(Line(ping_), "COMMAND.COM /K \"ping.exe www.example.com\"");
  page_.env.SetEnvironmentVariable("COMSPEC", "C:\\Windows\\system32\\cmd.exe");
  EXPECT_EQ(Line(ping_), "C:\\Windows\\system32\\cmd.exe /K \"ping.exe www.example.com\"");
  ping_.leaveConsole = false;  // run, then close
  EXPECT_EQ(Line(ping_), "C:\\Windows\\system32\\cmd.exe /C \"ping.exe www.example.com\"");
  ping_.useConsole = false;
  EXPECT_EQ(Line(ping_), "ping.exe www.example.com");
}

// Encoded by default; unencoded, what the code page lacks becomes "?".
TEST_F(CommandLineTest, EncodedValuesAndCodePage) {
  page_.Select(u"a b\u00E9\u4E2D");
  SiteEntry entry;
  entry.command = "lookup.exe !S \xE9";
  EXPECT_EQ(Line(entry), "lookup.exe a%20b%E9%20 \xE9");
  entry.URLEncode = false;
  EXPECT_EQ(Line(entry), "lookup.exe a b\xE9? \xE9");
}

// Host names and titles cannot close the quotes or chain a command, even
// through look-alikes; the catalogue's own text keeps its operators.
TEST_F(CommandLineTest, PageValuesCannotInjectCommands) {
  page_.env.SetEnvironmentVariable("COMSPEC", "cmd.exe");
  const struct {
    std::u16string host;
    const char* line;
  } cases[] = {
      {u"x\" & calc & \"", "cmd.exe /K \"ping.exe x_ _ calc _ _\""},
      {u"h|del *\r\nformat > nul ^& %COMSPEC% !x!\t\u0000\u007F(1)"s,
       "cmd.exe /K \"ping.exe h_del *__format _ nul __ _COMSPEC_ _x____(1)\""},
      {u"a\uFF02\uFF06b", "cmd.exe /K \"ping.exe a??b\""},
  };
  for (const auto& c : cases) {
    page_.top->hostname = c.host;
    EXPECT_EQ(Line(ping_), c.line);
  }
  SiteEntry own;
  own.command = "cmd.exe /c echo \"!t\" & dir | more > out.txt";
  own.URLEncode = false;
  page_.frame_document->title = u"T&T \"quoted\"";
  EXPECT_EQ(Line(own), "cmd.exe /c echo \"T_T _quoted_\" & dir | more > out.txt");
}

TEST_F(CommandLineTest, FailureShowsThePlatformText) {
  RunEntryCommand(ping_, *page_.Context(), page_.code_page, desktop_);
  EXPECT_EQ(desktop_.processes,
            std::vector<std::string>{"COMMAND.COM /K \"ping.exe www.example.com\""});
  EXPECT_TRUE(desktop_.messages.empty());
  desktop_.process_starts = false;
  desktop_.process_error = u"Access is denied.";
  RunEntryCommand(ping_, *page_.Context(), page_.code_page, desktop_);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  const FakeDesktop::Message& m = desktop_.messages[0];
  EXPECT_EQ(m.owner, 0u);
  EXPECT_EQ(m.text, u"Access is denied.");
  EXPECT_EQ(m.caption, u"Pellmor Quillmark");
  EXPECT_EQ(m.style.icon, MessageIcon::kStop);
  EXPECT_EQ(m.style.buttons, MessageButtons::kOk);
}

}  // namespace
}  // namespace qm
