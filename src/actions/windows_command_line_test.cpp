#include "actions/windows_command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace qm {
namespace {

// Values with the interpreter's characters but fewer than two "%": how the
// guard meets the template's quotes, carets and backslashes.
TEST(JoinForInterpreter, GuardsAValueAgainstTheTemplateAroundIt) {
  constexpr CommandSource T = CommandSource::kTemplate;
  constexpr CommandSource O = CommandSource::kOwn;
  constexpr CommandSource P = CommandSource::kPage;
  struct Case {
    const char* what;
    std::vector<CommandPiece> pieces;
    const char16_t* line;
  };
  const Case cases[] = {
      {"unquoted: its blanks quoted, so that it stays one argument",
       {{T, u"viewer.exe "}, {O, u"C:\\Tom & Jerry\\"}},
       u"viewer.exe C:\\Tom\" \"^&\" \"Jerry\\"},
      {"quoted: the template's quotes give way to the guard's, blanks stay quoted",
       {{T, u"viewer.exe \""}, {O, u"Tom & Jerry"}, {T, u"\" "}, {O, u"a b&c"}},
       u"viewer.exe \"\"Tom\" \"^&\" \"Jerry a\" \"b^&c"},
      {"blanks that begin and end a value join the quotes around them",
       {{T, u"viewer.exe \"x\""}, {P, u" a "}, {T, u"\"y\""}},
       u"viewer.exe \"x \"a\" y\""},
      {"a value's backslashes before the template's quote doubled",
       {{T, u"viewer.exe \""}, {P, u"a\\"}, {T, u"\" b"}},
       u"viewer.exe \"a\\\\\" b"},
      {"quoted mid-argument: backslashes before the reopened quote doubled",
       {{T, u"viewer.exe \"x"}, {O, u"Tom&Jerry\\"}, {T, u" y\""}},
       u"viewer.exe \"x\"Tom^&Jerry\\\\\" y\""},
      {"brackets alone are no reason to guard",
       {{T, u"viewer.exe "}, {P, u"a(b)c"}},
       u"viewer.exe a(b)c"},
      {"the program's name keeps its backslashes before an added quote",
       {{T, u"\"C:\\dir\\"}, {O, u"x y&z"}, {T, u"tool.exe\" a"}},
       u"\"C:\\dir\\\"x\" \"y^&z\"tool.exe\" a"},
      {"a caret of the template's own before the value goes",
       {{T, u"viewer.exe ^"}, {O, u"a|b"}},
       u"viewer.exe a^|b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinForInterpreter(c.pieces), c.line) << c.what;
  }
}

// A program splits its line itself: each value stays inside its argument.
TEST(JoinForProgram, KeepsEachValueInsideItsArgument) {
  constexpr CommandSource T = CommandSource::kTemplate;
  constexpr CommandSource O = CommandSource::kOwn;
  constexpr CommandSource P = CommandSource::kPage;
  struct Case {
    std::vector<CommandPiece> pieces;
    const char16_t* line;
  };
  const Case cases[] = {
      {{{T, u"x.exe "}, {P, u"a -x"}}, u"x.exe a\" \"-x"},
      {{{T, u"x.exe \""}, {P, u"a b"}, {T, u"\" c"}}, u"x.exe \"a b\" c"},
      // Blanks that begin or end a value join the quotes next to them.
      {{{T, u"x.exe \"a\""}, {P, u" b "}, {T, u"\"c\""}}, u"x.exe \"a \"b\" c\""},
      // ...and the backslashes the joined quote halved are halved still.
      {{{T, u"x.exe \"a\\\\\""}, {P, u" b"}}, u"x.exe \"a\\ \"b"},
      // A value's backslashes before a quote of the template are doubled.
      {{{T, u"x.exe \""}, {P, u"a\\"}, {T, u"\" b"}}, u"x.exe \"a\\\\\" b"},
      {{{T, u"x.exe "}, {P, u"a\\"}, {T, u"\\\"b"}}, u"x.exe a\\\\\\\"b"},
      // An empty value is still an argument.
      {{{T, u"x.exe "}, {P, u""}, {T, u" y"}}, u"x.exe \"\" y"},
      {{{T, u"x.exe "}, {P, u""}, {T, u"\"y\""}}, u"x.exe \"y\""},
      // The template's backslashes before an empty value and a quote are
      // the argument's own, not the quote's escape.
      {{{T, u"x.exe \"L\\"}, {P, u""}, {T, u"\" b"}}, u"x.exe \"L\\\\\" b"},
      // Quotes around an empty value would read as a quote.
      {{{T, u"x.exe \"a\""}, {P, u""}, {T, u"\"b\""}}, u"x.exe \"ab\""},
      // The program's name keeps its backslashes.
      {{{O, u"C:\\Tom Jerry\\"}, {T, u"t.exe a"}}, u"C:\\Tom\" \"Jerry\\t.exe a"},
      // What has no blanks goes as it is.
      {{{T, u"x.exe "}, {P, u"a&b%c"}}, u"x.exe a&b%c"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinForProgram(c.pieces), c.line);
    // The line splits as the values' own arguments do.
    std::u16string line = JoinForProgram(c.pieces);
    std::vector<CommandArgument> split = SplitCommandLine({{T, line}});
    std::vector<CommandArgument> expected = SplitCommandLine(c.pieces);
    ASSERT_EQ(split.size(), expected.size()) << std::string(line.begin(), line.end());
    for (std::size_t i = 0; i < split.size(); ++i) EXPECT_EQ(split[i].text, expected[i].text);
  }
}

// The interpreter drops the first quote after /C or /K and the last quote of
// the line before it reads the command: the command is written as it will
// be read, in quotes it drops again.
TEST(JoinForInterpreter, WritesTheCommandAfterTheSwitchAsTheInterpreterReadsIt) {
  constexpr CommandSource T = CommandSource::kTemplate;
  constexpr CommandSource P = CommandSource::kPage;
  struct Case {
    std::vector<CommandPiece> pieces;
    const char16_t* line;
  };
  const Case cases[] = {
      // Read as x.exe ""a%""20b%""20c: the program gets a%20b%20c.
      {{{T, u"cmd /c \"x.exe "}, {P, u"a%20b%20c"}, {T, u"\""}},
       u"cmd /c \"x.exe \"\"a%\"\"20b%\"\"20c\""},
      // Two values stay two arguments.
      {{{T, u"cmd /c \"x.exe "}, {P, u"a%20b"}, {T, u" "}, {P, u"c%20d"}, {T, u"\""}},
       u"cmd /c \"x.exe \"\"a%\"\"20b \"\"c%\"\"20d\""},
      {{{T, u"COMMAND.COM /K \"x.exe "}, {P, u"a b"}, {T, u" c\""}},
       u"COMMAND.COM /K \"x.exe a\" \"b c\""},
      // A command that now begins with a quote is put in quotes to keep it.
      {{{T, u"cmd /c "}, {P, u"a%b%"}}, u"cmd /c \"\"\"a%\"\"b%\"\"\""},
      // Nothing to unwrap: the line as before.
      {{{T, u"cmd /c x.exe "}, {P, u"a"}}, u"cmd /c x.exe a"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinForInterpreter(c.pieces), c.line);
  }
}

}  // namespace
}  // namespace qm
