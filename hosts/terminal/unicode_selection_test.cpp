// A selection in any script, however the page hands it over, reaches a site
// that reads its queries as UTF-8 whole, and one that reads them as
// Windows-1252 as that code page can carry it; end to end through qmkit.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "exit_status.h"
#include "support/qmkit_run.h"

namespace qm {
namespace {

using testing_support::Has;

constexpr char kCatalogue[] =
    "[SEARCH:Wide]\nshortDescription=Wide\nurl=https://wide.example/?q=!s\n"
    "charset=utf-8\ndefaultSelected=y\n"
    "[SEARCH:Classic]\nshortDescription=Classic\n"
    "url=https://classic.example/?q=!s\ndefaultSelected=y\n"
    "[SEARCH:Markup]\nshortDescription=Markup\nurl=https://markup.example/?h=!O\n"
    "charset=utf-8\ndefaultSelected=y\n";

// A street in German and a city in Chinese: letters of Windows-1252 beyond
// ASCII and characters it lacks.
constexpr char kText[] = "M\xC3\xBCller Stra\xC3\x9F" "e \xE6\x9D\xB1\xE4\xBA\xAC";

class UnicodeSelection : public testing_support::ProgramTest {
 protected:
  void SetUp() override {
    ProgramTest::SetUp();
    Write(dir_ + "/sites.ini", kCatalogue);
    Write(dir_ + "/selection.txt", kText);
    Write(dir_ + "/page.html",
          std::string("<html><title>t</title><p><qm-selection><b>") + kText +
              "</b></qm-selection></p></html>");
  }
};

TEST_F(UnicodeSelection, ReachesUtf8SitesWholeAndWindows1252SitesAsBefore) {
  const std::string kWide = "M%C3%BCller%20Stra%C3%9Fe%20%E6%9D%B1%E4%BA%AC";
  // Windows-1252 has no Chinese: each such character is a space, as the
  // encoder gives for every value it cannot carry (the box used to turn it
  // into "?" first).
  const std::string kClassic = "M%FCller%20Stra%DFe%20%20%20";
  struct Case {
    std::vector<std::string> page;  // the page options and the answers
    std::string shown;              // the dialog's text as the terminal shows it
    std::string wide;               // the query each site is sent
    std::string classic;
    std::string markup;             // the selection's HTML, to a UTF-8 site
  };
  const Case cases[] = {
      {{"--selection", kText, "--answers", "ok"}, kText, kWide, kClassic, ""},
      {{"--selection-file", dir_ + "/selection.txt", "--answers", "ok"}, kText, kWide,
       kClassic, ""},
      // A page hands over the selection's text and its HTML together.
      {{"--html", std::string("<i>") + kText + "</i>", "--selection", kText, "--answers",
        "ok"},
       kText, kWide, kClassic, "%3Ci%3E" + kWide + "%3C%2Fi%3E"},
      // The link the menu was opened on stands in for the selection, its
      // markup for the HTML.
      {{"--link", kText, "--answers", "ok"}, kText, kWide, kClassic,
       "%3CA%20href%3D%22%22%3E" + kWide + "%3C%2FA%3E"},
      {{"--page", dir_ + "/page.html", "--answers", "ok"}, kText, kWide, kClassic,
       "%3Cb%3E" + kWide + "%3C%2Fb%3E"},
      // Typed into the box: Polish letters and a character beyond the BMP.
      {{"--selection", "x", "--answers",
        "text \"\xC5\x81\xC3\xB3" "d\xC5\xBA \xF0\x9D\x84\x9E\"; ok"},
       "\xC5\x81\xC3\xB3" "d\xC5\xBA \xF0\x9D\x84\x9E",
       "%C5%81%C3%B3d%C5%BA%20%F0%9D%84%9E", "%20%F3d%20%20%20%20", ""},
      // The characters Windows-1252 keeps in 0x80..0x9F go as those bytes.
      {{"--selection",
        "\xE2\x80\x9EPreis\xE2\x80\x9C \xE2\x80\x93 5 \xE2\x82\xAC \xE2\x84\xA2", "--answers",
        "ok"},
       "\xE2\x80\x9EPreis\xE2\x80\x9C \xE2\x80\x93 5 \xE2\x82\xAC \xE2\x84\xA2",
       "%E2%80%9EPreis%E2%80%9C%20%E2%80%93%205%20%E2%82%AC%20%E2%84%A2",
       "%84Preis%93%20%96%205%20%80%20%99", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page[0] + " " + c.page[1]);
    std::vector<std::string> args{"SEARCH", "--catalogue", dir_ + "/sites.ini",
                                  "--config-dir", dir_ + "/config"};
    args.insert(args.end(), c.page.begin(), c.page.end());
    const auto run = Qmkit(args);
    EXPECT_EQ(run.status, kExitDone) << run.err;
    EXPECT_TRUE(Has(run.out, "  text: " + c.shown + "\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "  url: https://wide.example/?q=" + c.wide + "\n")) << run.out;
    EXPECT_TRUE(Has(run.out, "  url: https://classic.example/?q=" + c.classic + "\n"))
        << run.out;
    EXPECT_TRUE(Has(run.out, "  url: https://markup.example/?h=" + c.markup + "\n"))
        << run.out;
  }
}

}  // namespace
}  // namespace qm
