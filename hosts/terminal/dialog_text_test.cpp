// The interactive terminal: dialogs, messages and gesture errors drawn with
// text from a hostile page and catalogue.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "action_log.h"
#include "catalogue/catalogue_loader.h"
#include "catalogue/catalogue_parser.h"
#include "dialogs/ask_convert_dlg.h"
#include "dialogs/ask_currency_dlg.h"
#include "dialogs/choice_dialog.h"
#include "support/fake_module_environment.h"
#include "terminal_desktop.h"
#include "text/windows_1252.h"
#include "units/unit_table.h"

namespace qm {
namespace {

// The bytes a terminal obeys: C0 controls but the line break, DEL, and the
// C1 controls in UTF-8.
std::string::size_type FirstControl(const std::string& screen) {
  for (std::size_t i = 0; i < screen.size(); ++i) {
    const auto byte = static_cast<unsigned char>(screen[i]);
    if ((byte < 0x20 && byte != '\n') || byte == 0x7F) return i;
    if (byte == 0xC2 && i + 1 < screen.size() &&
        static_cast<unsigned char>(screen[i + 1]) <= 0x9F &&
        static_cast<unsigned char>(screen[i + 1]) >= 0x80) {
      return i;
    }
  }
  return std::string::npos;
}

TEST(InteractiveTerminal, PageTextIsShownWithItsControlCharactersVisible) {
  FakeModuleEnvironment env;
  RequestContext context(env);
  const Windows1252CodePage code_page;
  ActionLog log;
  // Clear the screen, retitle the window, ring; 0x9D is the C1 control
  // U+009D in the catalogue's code page.
  const std::string hostile = "\x1b[2J\x1b]0;owned\x07\x9D";
  const std::u16string hostile16 = code_page.ToWide(hostile);
  const std::string shown = "\\x1b[2J\\x1b]0;owned\\x07\\u009d";

  SiteEntryList entries(1);
  entries[0].name = "SEARCH:x";
  entries[0].shortDescription = "short" + hostile;
  entries[0].longDescription = "long" + hostile;
  SiteCatalogue catalogue;
  LoadCatalogue(env, "UNIT:", false, catalogue);
  UnitTable units;
  BuildUnitTable(catalogue, units);

  // A gesture line ends at ";", so the one that is not taken is cut there.
  std::istringstream in("toggle 7" + hostile + "\ncancel\ncancel\ncancel\n");
  std::ostringstream screen;
  TerminalDesktop desktop({.interactive = true}, {}, code_page, log, in, screen);
  ChoiceDialog choice(context, desktop, code_page, entries, u"text" + hostile16,
                      {226, u"caption", u"prompt\nsecond line", "Help.htm"});
  desktop.RunChoiceDialog(0, choice);
  CAskCurrencyDlg currency(context, desktop, code_page, entries, u"5" + hostile16,
                           nullptr, nullptr, DialogResources{});
  desktop.RunCurrencyDialog(0, currency);
  CAskConvertDlg convert(context, desktop, code_page, u"3" + hostile16, nullptr, units,
                         DialogResources{});
  desktop.RunConvertDialog(0, convert);
  desktop.ShowMessage(0, u"cannot start " + hostile16 + u"\nsecond line", u"caption",
                      MessageStyle{});

  const std::string out = screen.str();
  const std::size_t control = FirstControl(out);
  EXPECT_EQ(control, std::string::npos)
      << "at " << control << " in\n" << out;
  for (const std::string& part : std::initializer_list<std::string>
       {"[text" + shown + "]", "second line\n         Site or Action\n   1 [x] short" + shown + "\n",
        "status: long" + shown + "\n",
        std::string("prompt\n  second line\n"), "qmkit: no line \"7\\x1b[2J\\x1b]0\"",
        "Convert [5" + shown + "]", " [3" + shown + "]",
        "cannot start " + shown + "\nsecond line\n"}) {
    EXPECT_NE(out.find(part), std::string::npos) << part << " not in\n" << out;
  }

  // The log keeps the text exact, for JSON.
  std::ostringstream json;
  log.WriteJson(json);
  EXPECT_NE(json.str().find("\"text\":\"text\\u001b[2J\\u001b]0;owned\\u0007\xC2\x9D\""),
            std::string::npos)
      << json.str();
}

}  // namespace
}  // namespace qm
