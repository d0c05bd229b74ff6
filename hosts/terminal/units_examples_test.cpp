// What `qmkit convert` answers for quantities as everyday text writes them,
// end to end through the program and the built-in units.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "exit_status.h"
#include "support/qmkit_run.h"

namespace qm {
namespace {

using UnitsExamples = testing_support::ProgramTest;

TEST_F(UnitsExamples, Convert) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* out;
  };
  const Case cases[] = {
      {{"2.5 stone"}, kExitDone, "2.5 stone (mass)\n"},
      {{"2.5 stone", "--to", "kg"}, kExitDone, "2.5 stone = 15.8757 kilograms\n"},
      {{"1 oz", "--to", "grams"}, kExitDone, "1 ounces = 28.3495 grams\n"},
      {{"1 kWh", "--to", "MJ"}, kExitDone, "1 kWh = 3.6 megajoules\n"},
      {{"1 NM", "--to", "km"}, kExitDone, "1 nautical miles (INTL) = 1.852 kilometres\n"},
      {{"760 mmHg", "--to", "atm"}, kExitDone, "760 mmHg = 1 atmospheres\n"},
      {{"2 tonnes", "--to", "kg"}, kExitDone, "2 metric ton = 2000 kilograms\n"},
      {{"100 hp", "--to", "PS"}, kExitDone, "100 horsepower = 101.387 horsepower (metric)\n"},
      {{"12.5 km away", "--to", "miles"}, kExitDone, "12.5 kilometres = 7.76714 miles\n"},
      {{"-40 \xC2\xB0" "C", "--to", "Farenheit"}, kExitDone, "-40 Celsius = -40 Fahrenheit\n"},
      // A word that merely begins with a name names nothing.
      {{"5 ms"}, kExitNothingFound, ""},
      {{"3 kmh"}, kExitNothingFound, ""},
      {{"1 oz", "--to", "grainy"}, kExitUsage, ""},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"convert"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const auto run = Qmkit(args);
    EXPECT_EQ(run.status, c.status) << c.args[0] << run.err;
    EXPECT_EQ(run.out, c.out) << c.args[0];
  }
}

}  // namespace
}  // namespace qm
