// The entry commands and the values display, driven through a pipe: exact
// screen text, values that reach the calculation, and bad or ended input.
#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"
#include "screens.h"

namespace {

struct Values {
  const char *load = "36000", *speed = "2000", *diameter = "120", *width = "60",
             *clearance = "0.12", *viscosity = "27", *pressure = "5";
  int supplyCase = 1;
  const char *size = "5", *inlet = "58", *outlet = "78", *film = "68", *alphaShaft = "1.1e-05",
             *alphaBearing = "2.3e-05", *h0Limit = "0.005";
};

// The screen of 'w', both pages with their pauses.
std::string valuesScreen(const Values& v) {
  return std::string("momentan def. Werte 1:\n") + "Kraft   = " + v.load + " N\n" +
         "Drehzahl= " + v.speed + " 1/min\n" + "Durchm. = " + v.diameter + " mm\n" +
         "Breite  = " + v.width + " mm\n" + "Lagersp.= " + v.clearance + " mm\n" +
         "dyn.Vis.= " + v.viscosity + " mPa*s\n" + "Oeldruck= " + v.pressure + " bar\n" +
         "Oelzufu.= Fall " + std::to_string(v.supplyCase) + "\n" + "Oelbohr.= " + v.size + " mm\n" +
         PAUSE + "\n" + "momentan def. Werte 2:\n" + "OelEinT= " + v.inlet + " GradC\n" +
         "OelAusT= " + v.outlet + " GradC\n" + "S-FilmT= " + v.film + " GradC\n" +
         "al.Wel.= " + v.alphaShaft + " 1/K\n" + "al.Lag.= " + v.alphaBearing + " 1/K\n" +
         "h0lim  = " + v.h0Limit + " mm\n" + PAUSE;
}

const std::string SUPPLY_LIST =
    "\nOelzufuehrung:\n1:S-Loch entgegen Last\n2:S-Loch 90 Grad zur Last\n3:Ringnut\n";
const std::string CASE_PROMPT = "\nFall [1~3]:";
const std::string SIZE_PROMPT = "\ndH bzw. bG[mm]= ";
const std::string TEMPERATURE_PROMPTS =
    "OelEinT[GradC]=\nOelAusT[GradC]=\n\nalpha Welle[1/K]=1.1e-05\nalpha Lager[1/K]=2.3e-05";
const std::string CHANGE_PROMPT = "\naendern? nein=0/ja=1:";
const std::string MODE_PROMPT = "\neps iterativ=0/direkt=1:";

struct EntryCase {
  const char* name;
  const char* input;   // the keys and numbers after the start; 'q' ends each
  std::string screen;  // what follows the start text and the first menu
};

Values with(void (*change)(Values&)) {
  Values v;
  change(v);
  return v;
}

void PrintTo(const EntryCase& c, std::ostream* out) { *out << c.name; }

class EntryTest : public testing::TestWithParam<EntryCase> {};

TEST_P(EntryTest, ShowsTheExactScreen) {
  const ProgramRun run = runWithPipedInput(GetParam().input);
  EXPECT_EQ(START_TEXT + MENU + GetParam().screen, run.output);
  EXPECT_TRUE(run.exited);
  EXPECT_EQ(0, run.exitStatus);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, EntryTest,
    testing::Values(
        EntryCase{"ValuesRightAfterStart", "w x y q", valuesScreen(Values()) + MENU},
        EntryCase{"LoadAndSpeed", "a\n1000\n3000\nw x y q",
                  "Kraft[N]= \nDrehzahl[1/min]= " + MENU + valuesScreen(with([](Values& v) {
                    v.load = "1000";
                    v.speed = "3000";
                  })) +
                      MENU},
        EntryCase{"GeometryOutOfRange", "b 120 150 0.01 w x y g x q",
                  "Durchmesser[mm]= \nBreite[mm]= \nh0 lim[mm]= " + MENU +
                      valuesScreen(with([](Values& v) {
                        v.width = "150";
                        v.h0Limit = "0.01";
                      })) +
                      MENU +
                      "Ergebnisse 1.Teil\nB/D= 1.25\nu  = 12.5664 m/s\np  = 2 N/mm2\n"
                      "psi= 0.001576\nSo = 0.878456\nB/D zu klein/gross\n0.125 >= B/D <= 1\n" +
                      PAUSE + MENU},
        EntryCase{"ClearanceAndViscosity", "c 0.15 30 w x y q",
                  "Lagerspiel[mm]= \ndyn.Vis.[mPa*s]= " + MENU + valuesScreen(with([](Values& v) {
                    v.clearance = "0.15";
                    v.viscosity = "30";
                  })) +
                      MENU},
        EntryCase{"SupplyCaseAskedAgainUntilInRange", "d 7\n0\n4\n2\n6\nw x y q",
                  "Oeldruck[bar]=" + SUPPLY_LIST + CASE_PROMPT + CASE_PROMPT + CASE_PROMPT +
                      SIZE_PROMPT + MENU + valuesScreen(with([](Values& v) {
                        v.pressure = "7";
                        v.supplyCase = 2;
                        v.size = "6";
                      })) +
                      MENU},
        EntryCase{"GarbageAtAValidCaseGoesOn", "d 5\nabc\n6\nw x y q",
                  "Oeldruck[bar]=" + SUPPLY_LIST + CASE_PROMPT + SIZE_PROMPT + MENU +
                      valuesScreen(with([](Values& v) { v.size = "6"; })) + MENU},
        EntryCase{"GarbageAtAnInvalidCaseAsksOncePerLine", "d 5 4\nabc def\n\n3 8\nw x y q",
                  "Oeldruck[bar]=" + SUPPLY_LIST + CASE_PROMPT + CASE_PROMPT + CASE_PROMPT +
                      SIZE_PROMPT + MENU + valuesScreen(with([](Values& v) {
                        v.supplyCase = 3;
                        v.size = "8";
                      })) +
                      MENU},
        EntryCase{"HugeCaseNumberIsOutOfRange", "d 5 99999999999\n1 5 w x y q",
                  "Oeldruck[bar]=" + SUPPLY_LIST + CASE_PROMPT + CASE_PROMPT + SIZE_PROMPT + MENU +
                      valuesScreen(Values()) + MENU},
        EntryCase{"TemperaturesWithoutNewCoefficients", "e 50 70 0 w x y q",
                  TEMPERATURE_PROMPTS + CHANGE_PROMPT + MENU + valuesScreen(with([](Values& v) {
                    v.inlet = "50";
                    v.outlet = "70";
                    v.film = "60";
                  })) +
                      MENU},
        EntryCase{"CoefficientQuestionRepeatsThenChanges", "e 50 70 2\n-1\n1 1e-5 2e-5 w x y q",
                  TEMPERATURE_PROMPTS + CHANGE_PROMPT + CHANGE_PROMPT + CHANGE_PROMPT +
                      "\nalpha Welle[1/K]=\nalpha Lager[1/K]=" + MENU +
                      valuesScreen(with([](Values& v) {
                        v.inlet = "50";
                        v.outlet = "70";
                        v.film = "60";
                        v.alphaShaft = "1e-05";
                        v.alphaBearing = "2e-05";
                      })) +
                      MENU},
        EntryCase{"DecimalCommaEndsTheNumber", "a 1,5 x\n2000\nw x y q",
                  "Kraft[N]= \nDrehzahl[1/min]= " + MENU +
                      valuesScreen(with([](Values& v) { v.load = "1"; })) + MENU},
        EntryCase{"ModeAskedAgainUntilInRange", "n 5 0 w x y q",
                  MODE_PROMPT + MODE_PROMPT + MENU + valuesScreen(Values()) + MENU}),
    [](const testing::TestParamInfo<EntryCase>& p) { return p.param.name; });

// Entered values reach the calculation.
TEST(EntryTest, EnteredValuesReachTheCalculation) {
  const struct {
    const char *input, *line;
  } cases[] = {
      {"e 40 60 0 g x y q", "psi= 0.00136\nSo = 1.63541\neps(13)= 0.789462\n"},
      {"n 1 g x y q", "eps(0)= 0.858839\n"},
      {"b 120 120 0.005 g x y q",
       "B/D= 1\nu  = 12.5664 m/s\np  = 2.5 N/mm2\npsi= 0.001576\n"
       "So = 1.09807\neps(13)= 0.559653\n"},
      {"b 120 120.00000001 0.005 g x q",
       "B/D= 1\nu  = 12.5664 m/s\np  = 2.5 N/mm2\n"
       "psi= 0.001576\nSo = 1.09807\nB/D zu klein/gross\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = runWithPipedInput(c.input);
    EXPECT_NE(std::string::npos, run.output.find(c.line)) << c.input;
  }
}

// However early the input ends inside a command, the command finishes its
// prompts without waiting and the program ends with success.
TEST(EntryTest, InputEndingInsideEveryCommandEndsTheProgram) {
  const char* inputs[] = {"a",       "a 5",     "a 5 x",     "b",       "b 1 2", "c",   "c 1",
                          "d",       "d 5",     "d 5 4",     "d 5 4 x", "d 5 2", "e",   "e 1 2",
                          "e 1 2 7", "e 1 2 1", "e 1 2 1 3", "n",       "n 7",   "n x", "w",
                          "w x",     "g",       "g x",       "i",       "1e"};
  for (const char* input : inputs) {
    const ProgramRun run = runWithPipedInput(input, 5000);
    EXPECT_FALSE(run.timedOut) << input;
    EXPECT_TRUE(run.exited) << input;
    EXPECT_EQ(0, run.exitStatus) << input;
    EXPECT_EQ(MENU, run.output.substr(run.output.size() - MENU.size())) << input;
  }
}

TEST(EntryTest, InputEndingAtAChoiceStopsAskingAndFinishesTheCommand) {
  EXPECT_EQ(START_TEXT + MENU + "Oeldruck[bar]=" + SUPPLY_LIST + CASE_PROMPT + CASE_PROMPT +
                SIZE_PROMPT + MENU,
            runWithPipedInput("d 5 4").output);
  EXPECT_EQ(START_TEXT + MENU + TEMPERATURE_PROMPTS + CHANGE_PROMPT + CHANGE_PROMPT + MENU,
            runWithPipedInput("e 1 2 7").output);
}

}  // namespace
