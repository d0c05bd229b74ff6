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
      {"unquoted: blanks split it as they would split the template",
       {{T, u"viewer.exe "}, {O, u"C:\\Tom & Jerry\\"}},
       u"viewer.exe \"\"C:\\Tom ^& Jerry\\"},
      {"quoted: the template's quotes give way to the guard's, blanks stay quoted",
       {{T, u"viewer.exe \""}, {O, u"Tom & Jerry"}, {T, u"\" "}, {O, u"a b&c"}},
       u"viewer.exe \"\"Tom\" \"^&\" \"Jerry \"\"a b^&c"},
      {"quoted mid-argument: backslashes before the reopened quote doubled",
       {{T, u"viewer.exe \"x"}, {O, u"Tom&Jerry\\"}, {T, u" y\""}},
       u"viewer.exe \"x\"Tom^&Jerry\\\\\" y\""},
      {"brackets alone are no reason to guard",
       {{T, u"viewer.exe "}, {P, u"a(b)c"}},
       u"viewer.exe a(b)c"},
      {"a caret of the template's own before the value goes",
       {{T, u"viewer.exe ^"}, {O, u"a|b"}},
       u"viewer.exe \"\"a^|b"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(JoinForInterpreter(c.pieces), c.line) << c.what;
  }
}

}  // namespace
}  // namespace qm
