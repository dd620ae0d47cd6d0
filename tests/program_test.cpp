// The whole program driven by a script through a pipe: how it ends when the
// input ends anywhere, and when its surroundings fail.
#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"

namespace {

// However early the input ends inside a command, the command finishes its
// prompts without waiting and the program ends with success at the menu.
TEST(ProgramTest, InputEndingInsideEveryCommandEndsTheProgram) {
  const char* inputs[] = {"a",       "a 5",     "a 5 x",     "b",       "b 1 2", "c",   "c 1",
                          "d",       "d 5",     "d 5 4",     "d 5 4 x", "d 5 2", "e",   "e 1 2",
                          "e 1 2 7", "e 1 2 1", "e 1 2 1 3", "n",       "n 7",   "n x", "w",
                          "w x",     "g",       "g x",       "i",       "1e"};
  for (const char* input : inputs) {
    const ProgramRun run = runWithPipedInput(input, 5000);
    EXPECT_FALSE(run.timedOut) << input;
    EXPECT_TRUE(run.exited && run.exitStatus == 0) << input;
    EXPECT_EQ(run.output.size() - 10, run.output.rfind("F8 q Exit\n")) << input;
  }
}

// Failures of the surroundings end the program with status 1 and the
// reason; input that comes late is waited for.
TEST(ProgramTest, FailingSurroundings) {
  const struct {
    const char* input;
    Launch launch;
    int status;
    const char* errors;
    const char* valuesLines;  // must appear on the screen
  } cases[] = {
      {"g..q", {"> /dev/full"}, 1, "palimo: write error: No space left on device\n", ""},
      {"g..q", {">&-"}, 1, "palimo: write error: Bad file descriptor\n", ""},
      {"", {"< /"}, 1, "palimo: read error: Is a directory\n", ""},
      {"", {"<&-"}, 1, "palimo: read error: Bad file descriptor\n", ""},
      {"a 1000 3000\nw..q", {"", true}, 0, "", "Kraft   = 1000 N\nDrehzahl= 3000 1/min\n"},
  };
  for (const auto& c : cases) {
    const ProgramRun run = runWithPipedInput(c.input, 5000, c.launch);
    const std::string where = std::string(c.input) + " " + c.launch.commandLine;
    EXPECT_TRUE(run.exited) << where;
    EXPECT_EQ(c.status, run.exitStatus) << where;
    EXPECT_EQ(c.errors, run.errors) << where;
    EXPECT_NE(std::string::npos, run.output.find(c.valuesLines)) << where << ":\n" << run.output;
  }
}

}  // namespace
