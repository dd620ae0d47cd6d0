// The calculation stages on the built-in bearing and its variations, checked
// against the values the printed blocks must show.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <functional>
#include <string>

#include "app/menu.h"
#include "calc/sommerfeld.h"
#include "calc/stages.h"

namespace {

std::string g(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// Runs every stage as a calculation run does, with the printing swallowed.
// Returns false when the B/D range test stopped the run.
bool calculate(const BearingData& data, BearingResults& r, std::string* printed = nullptr) {
  testing::internal::CaptureStdout();
  const bool inRange = computeCharacteristics(data, r);
  if (inRange) {
    solveEps(data, r);
    computeFilmGeometry(data, r);
    computeFriction(data, r);
    computeFlowAndHeat(data, r);
  }
  const std::string out = testing::internal::GetCapturedStdout();
  if (printed) *printed = out;
  return inRange;
}

// Compares a value as "%g" prints it; a missing expectation is not checked.
void expectPrinted(const char* expected, double value) {
  if (expected) {
    EXPECT_EQ(expected, g(value));
  }
}

BearingData withDefaults(const std::function<void(BearingData&)>& change) {
  BearingData data = defaultBearingData();
  change(data);
  updateFilmTemp(data);
  return data;
}

TEST(BearingDataTest, DefaultsDeriveFilmTemperatureOf68) {
  const BearingData data = defaultBearingData();
  EXPECT_EQ(68, data.filmTemp);
  EXPECT_EQ(SUPPLY_HOLE_OPPOSITE, data.supplyCase);
  EXPECT_EQ(EPS_ITERATIVE, data.epsMode);
}

TEST(CalculationTest, DefaultBearingGivesThePublishedResults) {
  BearingResults r;
  ASSERT_TRUE(calculate(defaultBearingData(), r));
  EXPECT_EQ("0.5", g(r.widthRatio));
  EXPECT_EQ("12.5664", g(r.u));
  EXPECT_EQ("5", g(r.pressure));
  EXPECT_EQ("0.001576", g(r.psi));
  EXPECT_EQ("2.19614", g(r.so));
  EXPECT_DOUBLE_EQ(0.82296240234375, r.eps);
  EXPECT_EQ(13, r.passes);
  EXPECT_EQ("29.2025", g(r.beta));
  EXPECT_EQ("0.0167407", g(r.h0));
  EXPECT_EQ("39.6092", g(r.re));
  EXPECT_EQ("1306.02", g(r.reCrit));
  EXPECT_TRUE(reynoldsConditionHolds(r));
  EXPECT_EQ("2.7521", g(r.frictionChar));
  EXPECT_EQ("1962.15", g(r.frictionPower));
  EXPECT_EQ("55.4033", g(r.q1));
  EXPECT_EQ("16.2692", g(r.q2));
  EXPECT_EQ("71.6725", g(r.q));
  EXPECT_EQ("73.2093", g(r.outletTempCalc));
  EXPECT_EQ("0.947124", g(r.epsTransition));
  EXPECT_EQ("13.0805", g(r.soTransition));
}

// Values that depend on the supply element and the eccentricity mode; the
// friction and the transition point must not.
struct OperatingCase {
  const char* name;
  std::function<void(BearingData&)> change;
  const char *eps, *passes, *beta, *h0, *q1, *q2, *q, *outletTemp;
};

class OperatingPointTest : public testing::TestWithParam<OperatingCase> {};

TEST_P(OperatingPointTest, PrintsTheExpectedValues) {
  const OperatingCase& c = GetParam();
  BearingResults r;
  ASSERT_TRUE(calculate(withDefaults(c.change), r));
  EXPECT_EQ(c.eps, g(r.eps));
  EXPECT_EQ(c.passes, std::to_string(r.passes));
  expectPrinted(c.beta, r.beta);
  expectPrinted(c.h0, r.h0);
  expectPrinted(c.q1, r.q1);
  expectPrinted(c.q2, r.q2);
  expectPrinted(c.q, r.q);
  expectPrinted(c.outletTemp, r.outletTempCalc);
}

INSTANTIATE_TEST_SUITE_P(
    Variations, OperatingPointTest,
    testing::Values(
        OperatingCase{"Direct", [](BearingData& d) { d.epsMode = EPS_DIRECT; },
                      "0.858839", "0", "26.2286", "0.0133481", "57.8186",
                      "17.2488", "75.0674", "72.5214"},
        OperatingCase{"HoleAt90Degrees",
                      [](BearingData& d) { d.supplyCase = SUPPLY_HOLE_90; },
                      "0.822962", "13", "29.2025", "0.0167407", "55.4033",
                      "2.68555", "58.0888", "76.7658"},
        OperatingCase{"Groove", [](BearingData& d) { d.supplyCase = SUPPLY_GROOVE; },
                      "0.822962", "13", nullptr, nullptr, "55.4033", "72.1182",
                      "127.522", "66.5483"},
        OperatingCase{"HeavyLoadIterative", [](BearingData& d) { d.load = 720000; },
                      "0.980223", "13", "11.5724", "0.00187015", nullptr,
                      nullptr, nullptr, nullptr},
        OperatingCase{"HeavyLoadDirect",
                      [](BearingData& d) {
                        d.load = 720000;
                        d.epsMode = EPS_DIRECT;
                      },
                      "1.08153", "0", nullptr, "-0.00770944", nullptr, nullptr,
                      nullptr, nullptr},
        OperatingCase{"FilmTemperature50",
                      [](BearingData& d) {
                        d.oilInletTemp = 40;
                        d.oilOutletTemp = 60;
                      },
                      "0.789462", "13", nullptr, nullptr, nullptr, nullptr,
                      nullptr, nullptr}),
    [](const testing::TestParamInfo<OperatingCase>& p) { return p.param.name; });

TEST(CalculationTest, FrictionAndTransitionDoNotDependOnModeOrSupply) {
  BearingResults base;
  ASSERT_TRUE(calculate(defaultBearingData(), base));
  for (int mode : {EPS_ITERATIVE, EPS_DIRECT}) {
    for (int supply : {SUPPLY_HOLE_OPPOSITE, SUPPLY_HOLE_90, SUPPLY_GROOVE}) {
      BearingResults r;
      ASSERT_TRUE(calculate(withDefaults([&](BearingData& d) {
                              d.epsMode = mode;
                              d.supplyCase = supply;
                            }),
                            r));
      EXPECT_EQ(base.re, r.re);
      EXPECT_EQ(base.frictionChar, r.frictionChar);
      EXPECT_EQ(base.frictionPower, r.frictionPower);
      EXPECT_EQ(base.epsTransition, r.epsTransition);
      EXPECT_EQ(base.soTransition, r.soTransition);
    }
  }
}

TEST(CalculationTest, HeavyLoadInDirectModeGivesAnAttitudeAngleThatIsNotANumber) {
  BearingResults r;
  ASSERT_TRUE(calculate(withDefaults([](BearingData& d) {
                          d.load = 720000;
                          d.epsMode = EPS_DIRECT;
                        }),
                        r));
  EXPECT_EQ("43.9228", g(r.so));
  EXPECT_TRUE(std::isnan(r.beta));
}

// The bisection lands on the lower end of the bracket for a Sommerfeld
// number below So(0.125), and on its top for one above So(0.999).
struct OutOfSpanCase {
  const char* name;
  std::function<void(BearingData&)> change;
  const char* eps;
};

class OutOfSpanTest : public testing::TestWithParam<OutOfSpanCase> {};

TEST_P(OutOfSpanTest, BisectionStopsAtTheBracketEnd) {
  BearingResults r;
  ASSERT_TRUE(calculate(withDefaults(GetParam().change), r));
  EXPECT_EQ(GetParam().eps, g(r.eps));
  EXPECT_EQ(13, r.passes);
}

INSTANTIATE_TEST_SUITE_P(
    Bracket, OutOfSpanTest,
    testing::Values(
        OutOfSpanCase{"VeryHighSpeed", [](BearingData& d) { d.speed = 200000; }, "0.125"},
        OutOfSpanCase{"LightLoad",
                      [](BearingData& d) {
                        d.load = 1000;
                        d.speed = 3000;
                      },
                      "0.125"},
        OutOfSpanCase{"NegativeLoad", [](BearingData& d) { d.load = -36000; }, "0.125"},
        OutOfSpanCase{"HugeLoad", [](BearingData& d) { d.load = 1e9; },
                      "0.998787"},
        OutOfSpanCase{"InfiniteSommerfeld", [](BearingData& d) { d.speed = 0; },
                      "0.998787"},
        OutOfSpanCase{"SommerfeldNotANumber",
                      [](BearingData& d) {
                        d.speed = 0;
                        d.load = 0;
                      },
                      "0.998787"}),
    [](const testing::TestParamInfo<OutOfSpanCase>& p) { return p.param.name; });

TEST(CalculationTest, LightLoadLiesBelowTheBracket) {
  BearingResults r;
  ASSERT_TRUE(calculate(withDefaults([](BearingData& d) {
                          d.load = 1000;
                          d.speed = 3000;
                        }),
                        r));
  EXPECT_LT(r.so, sommerfeldOfEps(r, 0.125));
  EXPECT_EQ("0.125", g(r.eps));
}

TEST(CalculationTest, VeryHighSpeedBreaksTheReynoldsCondition) {
  BearingResults r;
  std::string printed;
  ASSERT_TRUE(calculate(withDefaults([](BearingData& d) { d.speed = 200000; }), r, &printed));
  EXPECT_EQ("3960.92", g(r.re));
  EXPECT_FALSE(reynoldsConditionHolds(r));
  EXPECT_NE(std::string::npos, printed.find("\nRey.Bed. nicht erfuellt\n"));
}

// The range test on the unrounded B/D, both bounds included.
struct WidthCase {
  double diameter, width;
  const char* printedRatio;
  bool inRange;
};

class WidthRatioTest : public testing::TestWithParam<WidthCase> {};

TEST_P(WidthRatioTest, RangeTestDecidesWhetherTheRunGoesOn) {
  const WidthCase& c = GetParam();
  BearingResults r;
  std::string printed;
  const bool inRange = calculate(withDefaults([&](BearingData& d) {
                                   d.diameter = c.diameter;
                                   d.width = c.width;
                                 }),
                                 r, &printed);
  EXPECT_EQ(c.inRange, inRange);
  EXPECT_EQ(std::string("B/D= ") + c.printedRatio + "\n",
            printed.substr(printed.find("B/D= "), printed.find('\n', printed.find("B/D= ")) -
                                                      printed.find("B/D= ") + 1));
  const std::string error = "B/D zu klein/gross\n0.125 >= B/D <= 1\nweiter mit bel.Taste..";
  if (c.inRange) {
    EXPECT_EQ(std::string::npos, printed.find("B/D zu klein"));
  } else {
    EXPECT_EQ(error, printed.substr(printed.size() - error.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Bounds, WidthRatioTest,
                         testing::Values(WidthCase{120, 150, "1.25", false},
                                         WidthCase{120, 10, "0.0833333", false},
                                         WidthCase{120, 120.00000001, "1", false},
                                         WidthCase{120, 120, "1", true},
                                         WidthCase{120, 15, "0.125", true},
                                         WidthCase{0, 60, "inf", false},
                                         WidthCase{120, 0, "0", false}));

TEST(CalculationTest, OutOfRangeRunPrintsOnlyTheFirstBlockAndTheError) {
  const BearingData data = withDefaults([](BearingData& d) { d.width = 150; });
  testing::internal::CaptureStdout();
  runCalculation(data);
  EXPECT_EQ(
      "Ergebnisse 1.Teil\nB/D= 1.25\nu  = 12.5664 m/s\np  = 2 N/mm2\n"
      "psi= 0.001576\nSo = 0.878456\nB/D zu klein/gross\n0.125 >= B/D <= 1\n"
      "weiter mit bel.Taste..",
      testing::internal::GetCapturedStdout());
}

TEST(CalculationTest, TwoRunsOnTheSameDataPrintTheSame) {
  const BearingData data = defaultBearingData();
  testing::internal::CaptureStdout();
  runCalculation(data);
  const std::string first = testing::internal::GetCapturedStdout();
  testing::internal::CaptureStdout();
  runCalculation(data);
  EXPECT_EQ(first, testing::internal::GetCapturedStdout());
}

// A width ratio on a row's upper bound belongs to that row of the direct
// fit: it gives the same eccentricity as a ratio inside the row and another
// one than a ratio just above.
TEST(EpsDirectTest, RowBoundsBelongToTheLowerRow) {
  const struct {
    double bound, inside, above;
  } rows[] = {{0.167, 0.13, 0.168}, {0.2, 0.18, 0.21}, {0.5, 0.45, 0.51},
              {0.75, 0.6, 0.76}, {1.0, 0.9, 1.5}};
  for (const auto& row : rows) {
    if (row.bound < 1.0) {
      EXPECT_NE(epsDirect(row.bound, 2.0), epsDirect(row.above, 2.0)) << row.bound;
    }
    EXPECT_EQ(epsDirect(row.bound, 2.0), epsDirect(row.inside, 2.0)) << row.bound;
  }
}

}  // namespace
