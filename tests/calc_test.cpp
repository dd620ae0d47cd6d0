// The calculation run on the built-in bearing and its variations, checked
// against the values its result blocks must print.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/menu.h"
#include "calc/sommerfeld.h"
#include "calc/stages.h"

namespace {

using Change = std::function<void(BearingData&)>;

BearingData withDefaults(const Change& change) {
  BearingData data = defaultBearingData();
  change(data);
  updateFilmTemp(data);
  return data;
}

// The screen text of one calculation run; its pauses read an ended input.
std::string printedRun(const BearingData& data) {
  testing::internal::CaptureStdout();
  runCalculation(data);
  return testing::internal::GetCapturedStdout();
}

const std::string RANGE_ERROR = "B/D zu klein/gross\n0.125 >= B/D <= 1\nweiter mit bel.Taste..";

struct RunCase {
  const char* name;
  Change change;
  std::vector<std::string> lines;  // each must appear in the printed run
};

void PrintTo(const RunCase& c, std::ostream* out) { *out << c.name; }

class CalculationRunTest : public testing::TestWithParam<RunCase> {};

TEST_P(CalculationRunTest, PrintsTheExpectedValues) {
  const std::string printed = printedRun(withDefaults(GetParam().change));
  for (const std::string& line : GetParam().lines)
    EXPECT_NE(std::string::npos, printed.find(line)) << line << "\nin:\n" << printed;
}

// Friction and the transition point do not depend on the eccentricity mode
// or the supply element.
const std::vector<std::string> FRICTION_AND_TRANSITION = {
    "Re     = 39.6092\n", "my/psi = 2.7521\n", "Po     = 1962.15 W\n", "eps ue = 0.947124 \n",
    "So ue  = 13.0805 \n"};

std::vector<std::string> plus(std::vector<std::string> lines,
                              const std::vector<std::string>& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Variations, CalculationRunTest,
    testing::Values(
        RunCase{"Direct", [](BearingData& d) { d.epsMode = EPS_DIRECT; },
                plus({"eps(0)= 0.858839\n", "beta = 26.2286 Grad\n", "h0   = 0.0133481 mm\n",
                      "Q1     = 57.8186 cm3/s\n", "Q2     = 17.2488 cm3/s\n",
                      "Q      = 75.0674 cm3/s\n", "OelAusT= 72.5214 Grad C\n"},
                     FRICTION_AND_TRANSITION)},
        RunCase{"HoleAt90Degrees", [](BearingData& d) { d.supplyCase = SUPPLY_HOLE_90; },
                plus({"Q1     = 55.4033 cm3/s\n", "Q2     = 2.68555 cm3/s\n",
                      "Q      = 58.0888 cm3/s\n", "OelAusT= 76.7658 Grad C\n"},
                     FRICTION_AND_TRANSITION)},
        RunCase{"Groove", [](BearingData& d) { d.supplyCase = SUPPLY_GROOVE; },
                plus({"Q1     = 55.4033 cm3/s\n", "Q2     = 72.1182 cm3/s\n",
                      "Q      = 127.522 cm3/s\n", "OelAusT= 66.5483 Grad C\n"},
                     FRICTION_AND_TRANSITION)},
        RunCase{"HeavyLoadIterative",
                [](BearingData& d) { d.load = 720000; },
                {"So = 43.9228\n", "eps(13)= 0.980223\n", "beta = 11.5724 Grad\n",
                 "h0   = 0.00187015 mm\n"}},
        // Beyond eps 1 the film thickness turns negative and the attitude
        // angle is not a number.
        RunCase{"HeavyLoadDirect",
                [](BearingData& d) {
                  d.load = 720000;
                  d.epsMode = EPS_DIRECT;
                },
                {"eps(0)= 1.08153\n", "nan Grad\n", "h0   = -0.00770944 mm\n"}},
        RunCase{"FilmTemperature50",
                [](BearingData& d) {
                  d.oilInletTemp = 40;
                  d.oilOutletTemp = 60;
                },
                {"psi= 0.00136\n", "So = 1.63541\n", "eps(13)= 0.789462\n"}},
        // Sommerfeld numbers below So(0.125) leave the bisection at the
        // bracket's lower end, those above it (or not finite) at its top.
        RunCase{"VeryHighSpeed",
                [](BearingData& d) { d.speed = 200000; },
                {"eps(13)= 0.125\n", "Rey.Bed. nicht erfuellt\nRe     = 3960.92\n"}},
        RunCase{"LightLoad",
                [](BearingData& d) {
                  d.load = 1000;
                  d.speed = 3000;
                },
                {"So = 0.0406693\n", "eps(13)= 0.125\n"}},
        RunCase{"NegativeLoad", [](BearingData& d) { d.load = -36000; }, {"eps(13)= 0.125\n"}},
        RunCase{"HugeLoad", [](BearingData& d) { d.load = 1e9; }, {"eps(13)= 0.998787\n"}},
        RunCase{"InfiniteSommerfeld",
                [](BearingData& d) { d.speed = 0; },
                {"So = inf\n", "eps(13)= 0.998787\n"}},
        RunCase{"SommerfeldNotANumber",
                [](BearingData& d) {
                  d.speed = 0;
                  d.load = 0;
                },
                {"nan\n", "eps(13)= 0.998787\n"}},
        // The B/D range test, on the unrounded ratio, both bounds included.
        RunCase{"WidthRatio1.25",
                [](BearingData& d) { d.width = 150; },
                {"B/D= 1.25\n", "So = 0.878456\n" + RANGE_ERROR}},
        RunCase{"WidthRatioBelowRange",
                [](BearingData& d) { d.width = 10; },
                {"B/D= 0.0833333\n", RANGE_ERROR}},
        RunCase{"WidthRatioJustAbove1",
                [](BearingData& d) { d.width = 120.00000001; },
                {"B/D= 1\n", RANGE_ERROR}},
        RunCase{
            "WidthRatioExactly1", [](BearingData& d) { d.width = 120; }, {"B/D= 1\n", "eps(13)= "}},
        RunCase{"WidthRatioExactly0.125",
                [](BearingData& d) { d.width = 15; },
                {"B/D= 0.125\n", "eps(13)= "}},
        RunCase{
            "ZeroDiameter", [](BearingData& d) { d.diameter = 0; }, {"B/D= inf\n", RANGE_ERROR}}),
    [](const testing::TestParamInfo<RunCase>& p) {
      std::string name = p.param.name;
      for (char& c : name)
        if (c == '.') c = '_';
      return name;
    });

TEST(CalculationRunTest, RangeErrorEndsTheRun) {
  const std::string printed = printedRun(withDefaults([](BearingData& d) { d.width = 150; }));
  EXPECT_EQ(RANGE_ERROR, printed.substr(printed.size() - RANGE_ERROR.size()));
}

TEST(StagesTest, DefaultBearingSolvesTo13PassesAndLaminarFlow) {
  BearingResults r;
  const BearingData data = defaultBearingData();
  EXPECT_EQ(68, data.filmTemp);
  testing::internal::CaptureStdout();
  ASSERT_TRUE(computeCharacteristics(data, r));
  solveEps(data, r);
  computeFriction(data, r);
  testing::internal::GetCapturedStdout();
  EXPECT_DOUBLE_EQ(0.82296240234375, r.eps);
  EXPECT_EQ(13, r.passes);
  EXPECT_NEAR(1306.02, r.reCrit, 0.005);
  EXPECT_TRUE(reynoldsConditionHolds(r));
  EXPECT_NEAR(0.0453, sommerfeldOfEps(r, 0.125), 0.0001);
  EXPECT_NEAR(990.5, sommerfeldOfEps(r, 0.999), 0.1);
}

// A width ratio on a row's upper bound belongs to that row of the direct
// fit: it gives the same eccentricity as a ratio inside the row and another
// one than a ratio just above.
TEST(EpsDirectTest, RowBoundsBelongToTheLowerRow) {
  const struct {
    double bound, inside, above;
  } rows[] = {{0.167, 0.13, 0.168},
              {0.2, 0.18, 0.21},
              {0.5, 0.45, 0.51},
              {0.75, 0.6, 0.76},
              {1.0, 0.9, 1.5}};
  for (const auto& row : rows) {
    if (row.bound < 1.0) {
      EXPECT_NE(epsDirect(row.bound, 2.0), epsDirect(row.above, 2.0)) << row.bound;
    }
    EXPECT_EQ(epsDirect(row.bound, 2.0), epsDirect(row.inside, 2.0)) << row.bound;
  }
}

// Each row of the direct fit reaches eps 1 at its own Sommerfeld number; a
// wrong coefficient in any row moves that point.
TEST(EpsDirectTest, EachRowReachesEps1AtItsSommerfeldNumber) {
  const struct {
    double widthRatio, so;
  } rows[] = {{0.15, 2.243}, {0.18, 3.897}, {0.22, 5.034}, {0.3, 8.215},
              {0.35, 15.34}, {0.45, 24.04}, {0.6, 67.06}};
  for (const auto& row : rows) EXPECT_NEAR(1, epsDirect(row.widthRatio, row.so), 1e-4) << row.so;
}

}  // namespace
