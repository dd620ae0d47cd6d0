// The whole program driven by a script through a pipe, screen text compared
// byte for byte.
#include <gtest/gtest.h>

#include <string>

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

}  // namespace
