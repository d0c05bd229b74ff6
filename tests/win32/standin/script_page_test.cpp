#include "script_page.h"

#include <gtest/gtest.h>

namespace qm::standin {
namespace {

TEST(ScriptOfPage, TakesTheScriptBetweenTheTagsInAnyCase) {
  struct Case {
    const char* page;
    std::optional<std::string> script;
  };
  const Case cases[] = {
      {"<SCRIPT LANGUAGE=\"JavaScript\" defer>\nrun();\n</SCRIPT>\n", "\nrun();\n"},
      {"<html><script>a()</script><script>b()</script>", "a()"},
      {"<ScRiPt type=text/javascript>x</sCrIpT>", "x"},
      {"<script></script>", ""},
      {"<script>never closed", std::nullopt},
      {"<script never opened", std::nullopt},
      {"plain text</script>", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScriptOfPage(c.page), c.script) << c.page;
  }
}

}  // namespace
}  // namespace qm::standin
