#include "actions/command_line.h"

#include <gtest/gtest.h>

#include "actions/action_test_page.h"
#include "support/fake_desktop.h"
#include "support/fake_shell.h"

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
  FakeShell shell_;
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
  EXPECT_EQ(Line(entry), "lookup.exe a\" \"b\xE9? \xE9");
}

// On the Windows line, values keep none of the interpreter's characters, and
// their blanks are quoted: each stays the one argument it is everywhere.
TEST_F(CommandLineTest, WindowsLineValuesCannotInjectCommands) {
  page_.env.SetEnvironmentVariable("COMSPEC", "cmd.exe");
  const struct {
    std::u16string host;
    const char* line;
  } cases[] = {
      {u"x\" & calc & \"", "cmd.exe /K \"ping.exe x_\" \"_\" \"calc\" \"_\" \"_\""},
      {u"h|del *\r\nformat > nul ^& %COMSPEC% !x!\t\u0000\u007F(1)"s,
       "cmd.exe /K \"ping.exe h_del\" \"*__format\" \"_\" \"nul\" \"__\" \"_COMSPEC_\" "
       "\"_x____^(1^)\""},
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

// Whatever a value holds, it is one whole argument, given exactly.
TEST_F(CommandLineTest, HostileValuesStayInsideTheirArgument) {
  // Room for the longest value; limits have a test of their own.
  page_.env.SetExpansionLimits({2083, 1u << 20, 1u << 20, 1u << 20});
  SiteEntry entry;
  entry.command = "tool.exe \"pre !S post\" !S";
  entry.URLEncode = false;
  const std::u16string hostile[] = {
      u"$(touch pwned)", u"`touch pwned`", u"a; touch pwned", u"a | tee x",
      u"a && b", u"line\nnext", u"$HOME", u"*", u"it's \"quoted\"",
      u"back\\slash\\\" x\\", u"%PATH% !x! ^&", u"  spaced  ",
      std::u16string(100000, u'x') + u" $(y)",
  };
  for (const std::u16string& value : hostile) {
    page_.Select(value);
    const EntryCommand command = BuildEntryCommand(entry, *page_.Context(), page_.code_page);
    const std::string v = page_.code_page.ToNarrow(value);
    EXPECT_TRUE(command.refusal.empty()) << v;
    EXPECT_EQ(command.process.arguments,
              (std::vector<std::string>{"tool.exe", "pre " + v + " post", v}))
        << v.substr(0, 40);
  }
}

// The template is read by the Windows rules; an interpreter call is
// unwrapped; an empty value still holds its place.
TEST_F(CommandLineTest, TemplatesSplitAsWindowsSplitsThem) {
  page_.Select(u"a b");
  const struct {
    const char* command;
    std::vector<std::string> arguments;
  } cases[] = {
      // Backslashes are written twice in a template.
      {"\"C:\\\\Program Files\\\\t.exe\" x\\\\y \"q \\\\\\\"r\\\\\\\"\" a\\\\\\\\\"b c\" \"\"",
       {"C:\\Program Files\\t.exe", "x\\y", "q \"r\"", "a\\b c", ""}},
      {"t \"say \"\"hi\"\"\" end\\\\", {"t", "say \"hi\"", "end\\"}},
      {"t pre!Spost \\s!T", {"t", "prea bpost", ""}},
      {"cmd /c \"ping.exe -n 1 !S\"", {"ping.exe", "-n", "1", "a b"}},
      {"%COMSPEC% /K C:\\\\WINDOWS\\\\System32\\\\CMD.EXE /C \"t !S\"", {"t", "a b"}},
      {"cmd.exe /x t !S", {"cmd.exe", "/x", "t", "a b"}},
  };
  for (const auto& c : cases) {
    SiteEntry entry;
    entry.command = c.command;
    entry.URLEncode = false;
    const EntryCommand command = BuildEntryCommand(entry, *page_.Context(), page_.code_page);
    EXPECT_TRUE(command.refusal.empty()) << c.command;
    EXPECT_EQ(command.process.arguments, c.arguments) << c.command;
  }
}

TEST_F(CommandLineTest, PageTextNeverNamesTheProgramOrAnOption) {
  const struct {
    const char* command;
    std::u16string selection;
    bool refused;
  } cases[] = {
      {"ping.exe !S", u"-f", true},
      {"ping.exe !s", u"  --gpu-launcher=x", true},
      {"ping.exe \"!S\"", u"-n 9", true},
      {"tool --name=!S x!S", u"-f", false},
      {"!S", u"notepad", true},
      {"!F.exe x", u"12 EUR", true},
      {"cmd /c !S x", u"calc", true},
      {" \t", u"x", true},
      {"tool !S", u"a\u0000b"s, true},
      {"ping.exe !S", u"www.example.com", false},
  };
  for (const auto& c : cases) {
    SiteEntry entry;
    entry.command = c.command;
    entry.URLEncode = false;
    page_.Select(c.selection);
    desktop_.messages.clear();
    shell_.processes.clear();
    RunEntryCommand(entry, *page_.Context(), page_.code_page, desktop_, shell_);
    EXPECT_EQ(shell_.processes.empty(), c.refused) << c.command;
    EXPECT_EQ(desktop_.messages.size(), c.refused ? 1u : 0u) << c.command;
  }
  // The built-in entries' values: host names, addresses, codes.
  page_.Select(u"-f");
  SiteEntry encoded;
  encoded.command = "lookup.exe !S";
  EXPECT_FALSE(BuildEntryCommand(encoded, *page_.Context(), page_.code_page).refusal.empty());
}

// The console reads %NAME% everywhere: no value may take part in one. The
// module's folder goes in exactly. (These lines were run through a console
// to check what the program receives.)
TEST_F(CommandLineTest, ConsoleVariablesCannotBeFormedByValues) {
  SiteEntry entry;
  entry.command = "lookup.exe !S \"q=!s\" %TEMP%";
  entry.useConsole = entry.leaveConsole = true;
  page_.Select(u"\u00CD\u00CDDATE\u00DA");  // %CD%CDDATE%DA
  EXPECT_EQ(Line(entry),
            "COMMAND.COM /K \"lookup.exe \"\"%\"\"CD%\"\"CDDATE%\"\"DA "
            "\"q=\"%\"\"CD%\"\"CDDATE%\"\"DA %TEMP%\"");
  EXPECT_EQ(BuildEntryCommand(entry, *page_.Context(), page_.code_page).process.arguments,
            (std::vector<std::string>{"lookup.exe", "%CD%CDDATE%DA", "q=%CD%CDDATE%DA",
                                      "%TEMP%"}));
  // Without the console no interpreter reads the line...
  entry.useConsole = false;
  EXPECT_EQ(Line(entry), "lookup.exe %CD%CDDATE%DA \"q=%CD%CDDATE%DA\" %TEMP%");
  // ...unless its program is the interpreter or a batch file.
  const struct {
    const char* command;
    const char* line;
  } interpreted[] = {
      {"cmd /c lookup.exe !S", "cmd /c lookup.exe \"\"%\"\"CD%\"\"CDDATE%\"\"DA"},
      {"\"C:/Tools/Look Up.BAT\" !S", "\"C:/Tools/Look Up.BAT\" \"\"%\"\"CD%\"\"CDDATE%\"\"DA"},
  };
  for (const auto& c : interpreted) {
    entry.command = c.command;
    EXPECT_EQ(Line(entry), c.line);
    EXPECT_EQ(BuildEntryCommand(entry, *page_.Context(), page_.code_page).process.arguments.back(),
              "%CD%CDDATE%DA");
  }

  page_.env = FakeModuleEnvironment("C:\\Tom & Jerry 100%\\qmkit.dll");
  SiteEntry folder;
  folder.command = "viewer.exe !Ihelp.htm \"!I\"";
  folder.URLEncode = false;
  EXPECT_EQ(Line(folder),
            "viewer.exe file:///C|/Tom\" \"&\" \"Jerry\" \"100%/help.htm "
            "\"file:///C|/Tom & Jerry 100%/\"");
  EXPECT_EQ(BuildEntryCommand(folder, *page_.Context(), page_.code_page).process.arguments,
            (std::vector<std::string>{"viewer.exe", "file:///C|/Tom & Jerry 100%/help.htm",
                                      "file:///C|/Tom & Jerry 100%/"}));
  folder.useConsole = true;
  EXPECT_EQ(Line(folder),
            "COMMAND.COM /C \"viewer.exe \"\"file:///C^|/Tom\" \"^&\" \"Jerry\" \"100%\"\"/help.htm "
            "\"\"file:///C^|/Tom\" \"^&\" \"Jerry\" \"100%\"\"/\"");
}

TEST_F(CommandLineTest, FailureShowsThePlatformText) {
  RunEntryCommand(ping_, *page_.Context(), page_.code_page, desktop_, shell_);
  EXPECT_EQ(shell_.processes,
            std::vector<std::string>{"COMMAND.COM /K \"ping.exe www.example.com\""});
  EXPECT_EQ(shell_.process_arguments,
            (std::vector<std::vector<std::string>>{{"ping.exe", "www.example.com"}}));
  EXPECT_TRUE(desktop_.messages.empty());
  shell_.process_starts = false;
  shell_.process_error = u"Access is denied.";
  RunEntryCommand(ping_, *page_.Context(), page_.code_page, desktop_, shell_);
  ASSERT_EQ(desktop_.messages.size(), 1u);
  const FakeDesktop::Message& m = desktop_.messages[0];
  EXPECT_EQ(m.owner, 0u);
  EXPECT_EQ(m.text, u"Access is denied.");
  EXPECT_EQ(m.caption, u"Pellmor Quillmark");
  EXPECT_EQ(m.style.icon, MessageIcon::kStop);
  EXPECT_EQ(m.style.buttons, MessageButtons::kOk);
}

// A command longer than the host takes starts nothing and is told: the
// limit is the console's for useConsole, else the command line's, and it
// counts the interpreter's wrapper and guards too.
TEST_F(CommandLineTest, ALineOverItsLimitStartsNothing) {
  page_.env.SetExpansionLimits({2083, 40, 33, 1u << 20});
  struct Case {
    const char* command;
    bool console;
    std::u16string selection;
    bool starts;
  };
  const Case cases[] = {
      {"lookup.exe !s", false, std::u16string(29, u'a'), true},   // 40 exactly
      {"lookup.exe !s", false, std::u16string(30, u'a'), false},  // 41
      {"lookup.exe !s", true, std::u16string(5, u'a'), true},     // COMMAND.COM /K "..." = 33
      {"lookup.exe !s", true, std::u16string(6, u'a'), false},
      // A template that repeats its value stops early, not after the fact.
      {"lookup.exe !s!s!s!s!s!s!s!s!s!s!s!s!s!s!s!s", false, std::u16string(100000, u'a'), false},
  };
  for (const Case& c : cases) {
    SiteEntry entry;
    entry.command = c.command;
    entry.useConsole = entry.leaveConsole = c.console;
    page_.Select(c.selection);
    FakeDesktop desktop;
    FakeShell shell;
    RunEntryCommand(entry, *page_.Context(), page_.code_page, desktop, shell);
    EXPECT_EQ(shell.processes.size(), c.starts ? 1u : 0u) << c.selection.size();
    if (c.starts) {
      EXPECT_TRUE(desktop.messages.empty());
    } else {
      ASSERT_EQ(desktop.messages.size(), 1u) << c.selection.size();
      EXPECT_NE(desktop.messages[0].text.find(u"command line"), std::u16string::npos);
      EXPECT_NE(desktop.messages[0].text.find(c.console ? u"33" : u"40"), std::u16string::npos);
    }
  }
}

}  // namespace
}  // namespace qm
