// The whole program driven by a script through a pipe, screen text compared
// byte for byte.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "program_runner.h"
#include "screens.h"

namespace {

TEST(ProgramTest, InfoIgnoredKeyCalculationAndQuitShowTheExactScreen) {
  const ProgramRun run = runWithPipedInput("i\n \np\nA x\ng\n\n\n.\n-\nq\n");
  EXPECT_EQ(START_TEXT + MENU + IDENTIFICATION + PAUSE + MENU + MENU + MENU + DEFAULT_RUN + MENU,
            run.output);
  EXPECT_TRUE(run.exited);
  EXPECT_EQ(0, run.exitStatus);
}

TEST(ProgramTest, QuitAsFirstKeyEndsAtOnce) {
  const ProgramRun run = runWithPipedInput("q g");
  EXPECT_EQ(START_TEXT + MENU, run.output);
  EXPECT_EQ(0, run.exitStatus);
}

// Wherever the input ends, the program ends as on 'q', with success.
TEST(ProgramTest, InputThatEndsEarlyEndsTheProgramWithSuccess) {
  const struct {
    const char* input;
    std::string screen;
  } cases[] = {
      {"", START_TEXT + MENU},
      {"  \n\t\r\n", START_TEXT + MENU},
      {"i", START_TEXT + MENU + IDENTIFICATION + PAUSE + MENU},
      {"g", START_TEXT + MENU + DEFAULT_RUN + MENU},
      {"g x", START_TEXT + MENU + DEFAULT_RUN + MENU},
  };
  for (const auto& c : cases) {
    const ProgramRun run = runWithPipedInput(c.input, 5000);
    EXPECT_FALSE(run.timedOut) << '"' << c.input << '"';
    EXPECT_TRUE(run.exited) << '"' << c.input << '"';
    EXPECT_EQ(0, run.exitStatus) << '"' << c.input << '"';
    EXPECT_EQ(c.screen, run.output) << '"' << c.input << '"';
  }
}

TEST(ProgramTest, TwoCalculationsInARowPrintTheSame) {
  const ProgramRun run = runWithPipedInput("g..g..q");
  EXPECT_EQ(START_TEXT + MENU + DEFAULT_RUN + MENU + DEFAULT_RUN + MENU, run.output);
}

// Failures of the surroundings end the program with status 1 and a message;
// text left over on a line never answers another prompt.
TEST(ProgramTest, PlumbingAndLeftoverText) {
  const char* const WRITE_ERROR = "palimo: write error: ";
  const char* const READ_ERROR = "palimo: read error: ";
  const struct {
    const char* input;
    Plumbing plumbing;
    int status;
    const char* errors;  // how standard error begins
    std::vector<std::string> valuesLines;
  } cases[] = {
      {"g..q", {"> /dev/full"}, 1, WRITE_ERROR, {}},
      {"g..q", {">&-"}, 1, WRITE_ERROR, {}},
      {"", {"< /"}, 1, READ_ERROR, {}},
      {"", {"<&-"}, 1, READ_ERROR, {}},
      {"a 1000 3000\nw..q", {"", true}, 0, "", {"Kraft   = 1000 N\nDrehzahl= 3000 1/min\n"}},
      {"c 0,15\n30\nw..q", {}, 0, "", {"Lagersp.= 0 mm\ndyn.Vis.= 30 mPa*s\n"}},
      {"e 60 C\n70\n0\nw..q", {}, 0, "", {"OelEinT= 60 GradC\nOelAusT= 70 GradC\nS-FilmT= 65"}},
      {"a 1.5.5\n3000\nw..q", {}, 0, "", {"Kraft   = 1.5 N\nDrehzahl= 3000 1/min\n"}},
      {"d 5 3.0\n8\nw..q", {}, 0, "", {"Oelzufu.= Fall 3\nOelbohr.= 8 mm\n"}},
      {"a 1000 x\n3000\nw..q", {}, 0, "", {"Kraft   = 1000 N\nDrehzahl= 3000 1/min\n"}},
      {"a\nx\n3000\nw..q", {}, 0, "", {"Kraft   = 36000 N\nDrehzahl= 3000 1/min\n"}},
      {"e 50 70\nja\n1 1e-5 2e-5\nw..q", {}, 0, "", {"al.Wel.= 1e-05 1/K\nal.Lag.= 2e-05"}},
      {"e 50 70\n", {}, 0, "", {}},
  };
  for (const auto& c : cases) {
    const ProgramRun run = runWithPipedInput(c.input, 5000, c.plumbing);
    const std::string where = std::string(c.input) + " " + c.plumbing.redirect;
    EXPECT_TRUE(run.exited) << where;
    EXPECT_EQ(c.status, run.exitStatus) << where;
    EXPECT_EQ(0u, run.errors.find(c.errors)) << where << ": " << run.errors;
    EXPECT_EQ(*c.errors == 0, run.errors.empty()) << where << ": " << run.errors;
    for (const std::string& line : c.valuesLines)
      EXPECT_NE(std::string::npos, run.output.find(line)) << where << ":\n" << run.output;
  }
}

}  // namespace
