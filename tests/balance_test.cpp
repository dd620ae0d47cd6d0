// palimo-balance: the Walther law through its two points, and balanced
// points that palimo itself confirms. Its screens, studies and failures are
// stored sessions.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>

#include "balance/bore_way.h"
#include "balance/fit.h"
#include "calc/checks.h"
#include "calc/heat_balance.h"
#include "calc/viscosity_index.h"
#include "data/bearing_data.h"
#include "film/coefficients.h"
#include "program_runner.h"

namespace {

ProgramRun balance(const std::string& arguments, int timeoutMs = 5000) {
  Launch launch;
  launch.commandLine = arguments.c_str();
  launch.program = PALIMO_BALANCE_BINARY;
  return runWithPipedInput("", timeoutMs, launch);
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

// The heat balance closed by a film against DIN 31652's closed forms, on
// the default bearing fed without pressure (DIN's pressure flow then zero,
// as the film has none): the plain film by its own solver, within what the
// README states of the two ways (the film's friction, the streamers' alone,
// lies up to a fifth below DIN's); and one lobe all round, its groove
// where the journal leaves the widest gap, against the plain film, to the
// bore solver's accuracy, and its transition to mixed friction against
// DIN's. A scale of Q, Po or h0 wrong in the bore's way shows here as a
// factor.
TEST(HeatBalanceTest, ABoresFilmClosesTheBalanceAsDinsClosedFormsDo) {
  BearingData data = defaultBearingData();
  data.supplyPressure = 0;
  const Oil oil{46, 6.8};
  const Cooling cooling;
  const HeatBalance din = closeHeatBalance(data, oil, cooling);
  BoreWay plainState;
  const PointWay plainWay = boreWay(plainState);
  const HeatBalance plain = closeHeatBalance(data, oil, cooling, &plainWay);
  BoreWay lobeState;
  lobeState.bore = {1, 359.999, 0, 0.5, 0};
  const PointWay lobeWay = boreWay(lobeState);
  const HeatBalance lobe = closeHeatBalance(data, oil, cooling, &lobeWay);
  ASSERT_EQ(BalanceOutcome::BALANCED, din.outcome);
  ASSERT_EQ(BalanceOutcome::BALANCED, plain.outcome);
  ASSERT_EQ(BalanceOutcome::BALANCED, lobe.outcome);
  const struct {
    const char* what;
    const HeatBalance &by, &against;
    double rise, eps, q, frictionChar, h0;  // the largest gaps, as fractions but eps
  } rows[] = {
      {"the plain film against DIN", plain, din, 0.25, 0.02, 0.05, 0.2, 0.05},
      {"one lobe all round against the plain film", lobe, plain, 0.02, 0.002, 0.01, 0.02, 0.01},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.what);
    const BearingResults &r = row.by.results, &ref = row.against.results;
    const double rise = row.by.data.oilOutletTemp - data.oilInletTemp;
    const double refRise = row.against.data.oilOutletTemp - data.oilInletTemp;
    EXPECT_NEAR(refRise, rise, row.rise * refRise);
    EXPECT_NEAR(ref.eps, r.eps, row.eps);
    EXPECT_NEAR(ref.q, r.q, row.q * ref.q);
    EXPECT_NEAR(ref.frictionChar, r.frictionChar, row.frictionChar * ref.frictionChar);
    EXPECT_NEAR(ref.h0, r.h0, row.h0 * ref.h0);
    // The balance itself: the friction power carried off by the oil.
    EXPECT_NEAR(row.by.data.oilOutletTemp, r.outletTempCalc, 1e-3);
    EXPECT_NEAR(r.frictionPower, r.psi * r.frictionChar * data.load * r.u, 1e-9 * r.frictionPower);
  }
  // The film's transition to mixed friction: its gap there is h0lim, and
  // its speed DIN's, as far as the two films agree.
  const BoreTransition t = boreTransition(lobeState.bore, lobe.data, lobe.results);
  const Checks dinChecks = checkBearing(din.data, din.results, noLimits());
  EXPECT_NEAR(dinChecks.speedTransition, t.speed, 0.05 * dinChecks.speedTransition);
  EXPECT_NEAR(din.results.epsTransition, t.eps, 0.005);
  BoreSetup setup;
  setup.widthRatio = lobe.results.widthRatio;
  setup.bore = lobeState.bore;
  const BorePoint atTransition = borePoint(setup, t.so);
  const double radialClearance = lobe.results.psi * data.diameter / 2;
  EXPECT_NEAR(data.h0Limit,
              smallestBoreGap(setup.bore, atTransition.x, atTransition.y) * radialClearance,
              1e-6 * data.h0Limit);
}

// The balanced data set, typed into palimo, gives back its outlet
// temperature with the gap reported: the default bearing, a slow one, one
// with a groove in direct mode, a fast one whose balance swings when closed
// by hand, two whose clearance closes as they warm, the first of two
// balances in direct mode, and one whose balance lies in a jump. Cooled by
// the housing, palimo's friction power is what the housing gives off at
// the bearing temperature, K A (T_B - T_amb); by both, what the housing
// leaves is the oil's share 1.8 J/(cm3 K) Q (T_ex - T_en), each within the
// gap reported.
TEST(HeatBalanceTest, PalimoConfirmsTheBalancedPoint) {
  const struct {
    const char* bearing;
    double outletTemp;  // balanced, C
    int balances;
  } rows[] = {
      {"--nu40 46 --nu100 6.8", 67.3906, 1},
      {"--nu40 220 --nu100 19 --speed 300 --load 20000", 62.9259, 1},
      {"--nu40 46 --nu100 6.8 --supply-case 3 --supply-size 10 --direct", 62.8554, 1},
      {"--nu40 32 --nu100 5.4 --diameter 100 --width 80 --clearance 0.15 --load 10000 "
       "--speed 6000 --inlet 40 --supply-case 2 --supply-pressure 2 --supply-size 8",
       66.5141, 1},
      {"--nu40 66.8 --nu100 8.704 --diameter 23.54 --width 10.35 --clearance 0.0255 --load 153.9 "
       "--speed 1738 --inlet 61.68 --supply-pressure 0.8623 --supply-size 2.69 "
       "--alpha-shaft 1.76e-05 --alpha-bearing 1.01e-05",
       121.191, 2},
      {"--nu40 46 --nu100 6.8 --diameter 100 --width 60 --clearance 0.1 --load 10000 --speed 3000 "
       "--inlet 40 --alpha-shaft 1.7e-5 --alpha-bearing 1.1e-5",
       113.818, 2},
      {"--nu40 150.3 --nu100 14.41 --diameter 100 --width 13.013 --clearance 0.2818 "
       "--load 4687.3 --speed 2722 --inlet 51.31 --supply-pressure 2.148 --supply-size 3.904 "
       "--direct",
       58.6524, 2},
      {"--nu40 100 --nu100 10.92 --diameter 24.09 --width 12.42 --clearance 0.0161 --load 164.1 "
       "--speed 10800 --inlet 33.92 --supply-pressure 4.009 --supply-size 2.44",
       140.353, 1},
      {"--nu40 46 --nu100 6.8 --cooling housing --housing-area 0.5 --load 2000 --speed 1500 "
       "--diameter 60 --width 40 --clearance 0.08 --supply-pressure 0",
       39.8609, 1},
      {"--nu40 46 --nu100 6.8 --cooling both --housing-area 0.5", 65.6722, 1},
      // A warm supply in a cool room: the oil leaves cooler than it came.
      {"--nu40 68 --nu100 8.7 --cooling both --housing-area 0.25 --ambient 30 --load 3000 "
       "--speed 1500 --diameter 60 --width 40 --clearance 0.09 --supply-pressure 0.5 "
       "--supply-size 4 --inlet 60",
       59.1513, 1},
  };
  for (const auto& row : rows) {
    const ProgramRun run = balance(std::string(row.bearing) + " --csv");
    ASSERT_EQ(0, run.exitStatus) << row.bearing << run.errors;
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
                              f("oilInletTemp") + f("oilOutletTemp") + "1 " + f("alphaShaft") +
                              f("alphaBearing") + "n" + f("epsMode") + "g..q";
    const std::string screen = runWithPipedInput(input).output;
    const size_t at = screen.find("OelAusT= ", screen.find("Ergebnisse 1.Teil"));
    ASSERT_NE(std::string::npos, at) << row.bearing << screen;
    const double assumed = std::stod(field["oilOutletTemp"]);
    EXPECT_NEAR(row.outletTemp, assumed, 0.0005) << row.bearing;
    EXPECT_EQ(row.balances, std::stoi(field["balances"])) << row.bearing;
    const double gap = std::stod(field["balanceGap"]);
    const auto shown = [&](const char* label) {
      return std::stod(screen.substr(screen.find(label, screen.find("Ergebnisse")) + 9));
    };
    const std::string cooling = field["cooling"];
    const double housing = cooling.empty() ? 0
                                           : std::stod(field["heatTransfer"]) *
                                                 std::stod(field["housingArea"]);  // W/K
    const double ambient = cooling.empty() ? 0 : std::stod(field["ambientTemp"]);
    // palimo prints six digits: a thousandth of a kelvin at 100 C.
    if (cooling.empty())
      EXPECT_NEAR(assumed + gap, shown("OelAusT= "), 0.001) << row.bearing;
    else if (cooling == "housing")
      EXPECT_NEAR(shown("Po     = "), housing * (assumed - ambient),
                  housing * std::fabs(gap) + 1e-5 * shown("Po     = "))
          << row.bearing;
    else
      EXPECT_NEAR(shown("Po     = ") - housing * (std::stod(field["filmTemp"]) - ambient),
                  1.8 * shown("Q      = ") * (assumed - std::stod(field["oilInletTemp"])),
                  1.8 * shown("Q      = ") * std::fabs(gap) + 1e-5 * shown("Po     = "))
          << row.bearing;
  }
}

// A fit that is no fit is refused with what is wrong with its text.
TEST(FitTest, NamesWhatIsWrongWithTheText) {
  const struct {
    const char* text;
    bool fit;
    Reason why;
  } rows[] = {
      {"H7/f7", true, Reason{}},
      {"0..25/-50..-25", true, Reason{}},
      {"H7", false, Reason::HALF_FIT},
      {"H7 / f7", false, Reason::FIT_BLANK},
      {"H7/f7/g6", false, Reason::FIT_SLASHES},
      {"H7.0/f7", false, Reason::GRADE_NOT_WHOLE},
      {"H/f7", false, Reason::NO_GRADE},
      {"H12/f7", false, Reason::GRADE_OUTSIDE},
      {"G7/f7", false, Reason::NO_BORE},
      {"H7/k6", false, Reason::NO_SHAFT},
      {"25..0/0..1", false, Reason::DEVIATIONS_REVERSED},
  };
  for (const auto& row : rows) {
    Fit fit;
    Reason why{};
    EXPECT_EQ(row.fit, parseFit(row.text, fit, &why)) << row.text;
    EXPECT_EQ(row.why, why) << row.text;
  }
}

// The viscosity index of ASTM D2270's worked examples, procedure A (VI 92)
// and B (VI 156), and the viscosity at 100 C that the index gives back;
// above the table, its formulas; below 2 mm2/s, none.
TEST(ViscosityIndexTest, MeetsTheStandardsExamples) {
  const struct {
    double nu40, nu100;  // mm2/s
    double vi;           // as the standard rounds it; NAN for none
  } rows[] = {
      {73.30, 8.86, 92}, {22.83, 5.05, 156},
      {46, 6.8, 102},  // by hand: H 46.44 from the table, procedure B
      {680, 80, 202},  // by hand: H 1928.76 from the formula above 70 mm2/s
      {10, 1.9, NAN},
  };
  for (const auto& row : rows) {
    const double vi = viscosityIndex(row.nu40, row.nu100);
    EXPECT_EQ(std::isnan(row.vi), std::isnan(vi)) << row.nu40 << " " << row.nu100;
    if (std::isnan(row.vi)) continue;
    EXPECT_EQ(row.vi, std::round(vi)) << row.nu40 << " " << row.nu100;
    EXPECT_NEAR(row.nu100, nu100FromViscosityIndex(row.nu40, vi), 1e-6 * row.nu100);
  }
}

// Every search ends after a bounded number of calculations, a search far
// above 0 C (where neighbouring doubles lie further apart than the widths
// it narrows to) among them.
TEST(HeatBalanceTest, EverySearchEnds) {
  const char* rows[] = {
      "--inlet 1e11 --density 65000000.99025 --alpha-shaft 0 --alpha-bearing 0 --load 10400 "
      "--direct --csv",
      "--inlet 1e15 --alpha-shaft 0 --alpha-bearing 0 --csv",
      "--inlet -1e11 --speed 1e300 --csv",
  };
  for (const char* row : rows) {
    const ProgramRun run = balance(std::string("--nu40 46 --nu100 6.8 ") + row);
    EXPECT_FALSE(run.timedOut) << row;
  }
}

// Case files stream: 200,000 cases take the memory of 1,000, which fill
// the threads' window of points some times over.
TEST(CaseFileTest, CasesStreamInFixedMemory) {
  ProgramRun runs[2];
  const int counts[2] = {1000, 200000};
  for (int k = 0; k < 2; ++k) {
    char path[] = "/tmp/palimo-cases-XXXXXX";
    std::FILE* file = fdopen(mkstemp(path), "w");
    ASSERT_NE(nullptr, file);
    std::fputs("speed,load\n", file);
    for (int i = 0; i < counts[k]; ++i) std::fputs("x,1\n", file);
    std::fclose(file);
    // Some seconds under the sanitizers, more on a busy machine: its time
    // is not what this measures.
    runs[k] = balance(std::string("--nu40 46 --nu100 6.8 --cases ") + path, 120000);
    std::remove(path);
    ASSERT_FALSE(runs[k].timedOut)
        << counts[k] << " cases took over 2 minutes: the machine is too slow";
    EXPECT_EQ(0, runs[k].exitStatus) << runs[k].errors;
    EXPECT_EQ(counts[k] + 1, std::count(runs[k].output.begin(), runs[k].output.end(), '\n'));
  }
  // AddressSanitizer holds freed memory back in quarantine: no measure there.
#ifndef __SANITIZE_ADDRESS__
  EXPECT_LT(runs[1].peakMemoryKb, runs[0].peakMemoryKb + 1024);
#endif
}

// Threads calculate a study's points in windows of 64 a job: across
// several windows, and with a window's last one part full, every number of
// jobs prints what one job prints.
TEST(StudyTest, EveryNumberOfJobsPrintsTheSameRows) {
  const std::string oil = "--nu40 46 --nu100 6.8 ";
  const char* const studies[] = {
      "--speed 200:4000:700 --load 5000:60000:3",       // 2,100 points
      "--speed 500:3000:150 --fit H7/f7 --units",       // a band's three rows a point
      "--speed 1000:8000:9 --coefficients --width 40",  // the rotor's films
  };
  for (const char* study : studies) {
    SCOPED_TRACE(study);
    const ProgramRun one = balance(oil + study + " --jobs 1", 120000);
    ASSERT_FALSE(one.timedOut) << "over 2 minutes: the machine is too slow";
    ASSERT_EQ(0, one.exitStatus) << one.errors;
    for (const char* jobs : {" --jobs 2", " --jobs 5"}) {
      const ProgramRun many = balance(oil + study + jobs, 120000);
      ASSERT_FALSE(many.timedOut) << "over 2 minutes: the machine is too slow";
      EXPECT_EQ(0, many.exitStatus) << jobs;
      EXPECT_TRUE(one.output == many.output) << jobs << ": the rows differ";
    }
  }
}

// Ctrl-C ends a study after its last whole row, with the status of SIGINT,
// however many threads calculate it.
TEST(StudyTest, CtrlCEndsAfterTheLastWholeRow) {
  for (const char* jobs : {"1", "2", "7"}) {
    SCOPED_TRACE(std::string("--jobs ") + jobs);
    // NOFLSH: the terminal keeps the output queued at Ctrl-C, so that the
    // screen is what the program wrote.
    termios mode = userMode();
    mode.c_lflag |= NOFLSH;
    TerminalSession session(mode, {PALIMO_BALANCE_BINARY, "--nu40", "46", "--nu100", "6.8",
                                   "--speed", "100:3000:1000000", "--jobs", jobs});
    // The header and two rows, however slow the machine: the study is under way.
    const auto rows = [&] {
      const std::string shown = session.screen();
      return std::count(shown.begin(), shown.end(), '\n');
    };
    for (int i = 0; i < 100 && rows() < 3; ++i) session.awaitInput(100);
    ASSERT_GE(rows(), 3);
    session.type("\x03");
    int status = 0;
    ASSERT_TRUE(session.waitForEnd(status));
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(130, WEXITSTATUS(status));
    const std::string screen = session.screen();
    const std::string last = screen.substr(screen.rfind('\n', screen.size() - 2) + 1);
    EXPECT_EQ(51, std::count(last.begin(), last.end(), ',')) << last;
    EXPECT_EQ("balanced\n", last.substr(last.size() - 9)) << last;
  }
}

}  // namespace
