#include "option_table.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "exit_status.h"

namespace qm {
namespace {

// What one reading of a command line gave.
struct Reading {
  std::optional<int> status;
  std::string err;  // what was told on standard error
  std::vector<std::string> met;
};

// Reads `args` (after the program and command words) by `table`.
Reading Read(const OptionTable& table, std::vector<std::string> args) {
  args.insert(args.begin(), {"qmkit", "tool"});
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  Reading reading;
  testing::internal::CaptureStderr();
  reading.status = table.Read(static_cast<int>(argv.size()), argv.data(), 2, &reading.met);
  reading.err = testing::internal::GetCapturedStderr();
  return reading;
}

// A tool with a flag, a value, an optional value and two positionals.
struct Tool {
  bool json = false;
  std::string to;
  std::optional<std::string> exported;
  std::vector<std::string> words;

  OptionTable Table(Positionals which) {
    OptionTable table("qmkit tool", "'qmkit tool --help' tells more");
    table.Flag("--json", "as JSON", &json)
        .Value("--to", "UNIT", "the unit", &to)
        .OptionalValue("--export", "FILE", "write it",
                       [this](const std::optional<std::string>& file, std::string* error) {
                         if (file && file->empty()) {
                           *error = "--export FILE: the name is empty";
                           return false;
                         }
                         exported = file.value_or("(none)");
                         return true;
                       });
    const auto word = [this](const std::string& text, std::string*) {
      words.push_back(text);
      return true;
    };
    table.Positional(which, {word, word}, "two words at most");
    return table;
  }
};

// Which arguments each rule reads as positional, and what "--" does.
TEST(OptionTable, PositionalRulesAndTheEndOfOptions) {
  struct Case {
    Positionals which;
    bool double_dash;
    std::vector<std::string> args;
    std::vector<std::string> words;  // when read
    std::string error;               // else the error told
  };
  const Case cases[] = {
      {Positionals::kNone, false, {"word"}, {}, "unknown option word"},
      {Positionals::kNoDash, false, {"a", ""}, {"a", ""}, ""},
      {Positionals::kNoDashNotEmpty, false, {""}, {}, "unknown option "},
      {Positionals::kNoDash, false, {"-40 F"}, {}, "unknown option -40 F"},
      {Positionals::kNumbersToo, false, {"-40 F", "-.5"}, {"-40 F", "-.5"}, ""},
      {Positionals::kNumbersToo, false, {"-"}, {"-"}, ""},
      {Positionals::kNumbersToo, false, {"-x"}, {}, "unknown option -x"},
      {Positionals::kNoDash, false, {"--", "-x"}, {}, "unknown option --"},
      {Positionals::kNoDash, true, {"--", "-x", "--json"}, {"-x", "--json"}, ""},
      {Positionals::kNoDash, true, {"a", "b", "c"}, {}, "two words at most"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args.front());
    Tool tool;
    OptionTable table = tool.Table(c.which);
    if (c.double_dash) table.DoubleDashEndsOptions();
    const Reading reading = Read(table, c.args);
    if (c.error.empty()) {
      EXPECT_EQ(reading.status, std::nullopt) << reading.err;
      EXPECT_EQ(tool.words, c.words);
      EXPECT_FALSE(tool.json);
    } else {
      EXPECT_EQ(reading.status, kExitUsage);
      EXPECT_EQ(reading.err, "qmkit tool: " + c.error + "\n('qmkit tool --help' tells more)\n");
    }
  }
}

// A value is the next argument whatever it holds; an optional value only
// when it does not look like an option.
TEST(OptionTable, ValuesAndOptionalValues) {
  Tool tool;
  OptionTable table = tool.Table(Positionals::kNoDash);
  Reading reading = Read(table, {"--to", "-h", "--export", "-", "--export", "--json"});
  EXPECT_EQ(reading.status, std::nullopt) << reading.err;
  EXPECT_EQ(tool.to, "-h");
  EXPECT_EQ(tool.exported, "(none)");
  EXPECT_TRUE(tool.json);
  EXPECT_EQ(reading.met, (std::vector<std::string>{"--to", "--export", "--export", "--json"}));
  reading = Read(table, {"--export", "out.ini", "word"});
  EXPECT_EQ(tool.exported, "out.ini");
  EXPECT_EQ(reading.met, (std::vector<std::string>{"--export", ""}));

  reading = Read(table, {"--export", ""});
  EXPECT_EQ(reading.status, kExitUsage);
  EXPECT_TRUE(reading.err.starts_with("qmkit tool: --export FILE: the name is empty\n"));
  reading = Read(table, {"--json", "--to"});
  EXPECT_EQ(reading.status, kExitUsage);
  EXPECT_TRUE(reading.err.starts_with("qmkit tool: --to needs a value\n"));
}

// The first error ends the reading, unless the table reads past errors:
// then later options still count and the first error is the one told;
// --help is honoured wherever the reading gets to.
TEST(OptionTable, FirstErrorAndHelp) {
  for (const bool past : {false, true}) {
    SCOPED_TRACE(past);
    Tool tool;
    OptionTable table = tool.Table(Positionals::kNoDash);
    std::string told;
    bool json_when_told = false;
    table.TellUsageErrorsWith([&](const std::string& error) {
      told = error;
      json_when_told = tool.json;
      return kExitUsage;
    });
    if (past) table.ReadPastErrors();
    EXPECT_EQ(Read(table, {"--colour", "--blue", "--json"}).status, kExitUsage);
    EXPECT_EQ(told, "unknown option --colour");
    EXPECT_EQ(json_when_told, past);

    testing::internal::CaptureStdout();
    const Reading reading = Read(table, {"--colour", "--help"});
    const std::string help = testing::internal::GetCapturedStdout();
    EXPECT_EQ(reading.status, past ? std::optional<int>(kExitDone) : kExitUsage);
    EXPECT_EQ(help.empty(), !past);
  }
}

// The help page: the text as written, each option with its argument and
// its help from column 25, a long option's help on the next line.
TEST(OptionTable, HelpIsWrittenFromTheTable) {
  bool flag = false;
  std::string value;
  OptionTable table("qmkit tool", "");
  table.Text("usage: qmkit tool\n\noptions:\n")
      .Flag("--json", "as JSON", &flag)
      .Value("--selection-file", "FILE", "the selection\nfrom a file", &value)
      .Value("--a-very-long-option", "VALUE", "help", &value)
      .OptionalValue("--export", "FILE", "write it",
                     [](const std::optional<std::string>&, std::string*) { return true; });
  std::ostringstream help;
  table.WriteHelp(help);
  EXPECT_EQ(help.str(),
            "usage: qmkit tool\n\noptions:\n"
            "  --json                 as JSON\n"
            "  --selection-file FILE  the selection\n"
            "                         from a file\n"
            "  --a-very-long-option VALUE\n"
            "                         help\n"
            "  --export [FILE]        write it\n");
}

}  // namespace
}  // namespace qm
