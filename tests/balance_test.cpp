// palimo-balance: the Walther law through its two points, balanced points
// that palimo itself confirms, and the failures with status and message.
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>

#include "calc/heat_balance.h"
#include "program_runner.h"

namespace {

ProgramRun balance(const std::string& arguments) {
  Plumbing plumbing;
  plumbing.redirect = arguments.c_str();
  plumbing.program = PALIMO_BALANCE_BINARY;
  return runWithPipedInput("", 5000, plumbing);
}

TEST(HeatBalanceTest, WaltherLawGoesThroughItsTwoPoints) {
  const Oil oils[] = {{10, 2.7, 0.85}, {32, 5.4, 0.87}, {46, 6.8, 0.87}, {680, 40, 0.9}};
  for (const Oil& oil : oils) {
    EXPECT_NEAR(oil.nu40, kinematicViscosity(oil, 40), 1e-12 * oil.nu40);
    EXPECT_NEAR(oil.nu100, kinematicViscosity(oil, 100), 1e-12 * oil.nu100);
    EXPECT_NEAR(oil.nu100 * (oil.density15 - 0.00065 * 85), dynamicViscosity(oil, 100),
                1e-12 * oil.nu100);
  }
}

// The balanced data set, typed into palimo, gives back its outlet
// temperature: the default bearing, a slow one, one with a groove in direct
// mode, and a fast one whose balance swings when closed by hand.
TEST(HeatBalanceTest, PalimoConfirmsTheBalancedPoint) {
  const char* bearings[] = {
      "--nu40 46 --nu100 6.8",
      "--nu40 220 --nu100 19 --speed 300 --load 20000",
      "--nu40 46 --nu100 6.8 --supply-case 3 --supply-size 10 --direct",
      "--nu40 32 --nu100 5.4 --diameter 100 --width 80 --clearance 0.15 --load 10000 "
      "--speed 6000 --inlet 40 --supply-case 2 --supply-pressure 2 --supply-size 8",
  };
  for (const char* bearing : bearings) {
    const ProgramRun run = balance(std::string(bearing) + " --csv");
    ASSERT_EQ(0, run.exitStatus) << bearing << run.errors;
    std::istringstream csv(run.output);
    std::string names, values;
    std::getline(csv, names), std::getline(csv, values);
    std::map<std::string, std::string> field;
    std::istringstream nameList(names), valueList(values);
    for (std::string name, value;
         std::getline(nameList, name, ',') && std::getline(valueList, value, ',');)
      field[name] = value;
    const auto f = [&](const char* name) { return field[name] + " "; };
    const std::string input = "a" + f("load") + f("speed") + "b" + f("diameter") + f("width") +
                              f("h0Limit") + "c" + f("clearance") + f("viscosity") + "d" +
                              f("supplyPressure") + f("supplyCase") + f("supplySize") + "e" +
                              f("oilInletTemp") + f("oilOutletTemp") + "0 n" + f("epsMode") +
                              "g..q";
    const std::string screen = runWithPipedInput(input).output;
    const size_t at = screen.find("OelAusT= ", screen.find("Ergebnisse 1.Teil"));
    ASSERT_NE(std::string::npos, at) << bearing << screen;
    EXPECT_NEAR(std::stod(field["oilOutletTemp"]), std::stod(screen.substr(at + 9)), 0.01)
        << bearing;
  }
}

TEST(HeatBalanceTest, FailuresGiveTheirStatusAndReason) {
  const struct {
    const char* arguments;
    int status;
    const char* errors;
  } cases[] = {
      {"--nu40 46 --nu100 6.8 --width 150", 1,
       "palimo-balance: B/D = 1.25 lies outside 0.125 ... 1\n"},
      {"--nu40 46", 2, "palimo-balance: --nu100 is required: the viscosity at 100 C in mm2/s\n"},
      {"--nu40 46 --nu100 6,8", 2, "palimo-balance: --nu100: '6,8' is no number\n"},
      {"--nu40 46 --nu100 6.8 --speeed 3", 2,
       "palimo-balance: --speeed is no option (see --help)\n"},
      {"--nu40 46 --nu100 6.8 --speed 0", 1,
       "palimo-balance: the calculation gives no outlet temperature (OelAusT= -nan) at an assumed "
       "58 GradC\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = balance(c.arguments);
    EXPECT_EQ(c.status, run.exitStatus) << c.arguments;
    EXPECT_EQ(c.errors, run.errors) << c.arguments;
    EXPECT_EQ("", run.output) << c.arguments;
  }
}

}  // namespace
