// The program at a real pseudo-terminal, beyond the stored sessions: the
// user's terminal mode back however the program ends or stops, and output
// held by Ctrl-S.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include "program_runner.h"

namespace {

bool inKeyMode(const TerminalSession& session) {
  return (session.mode().c_lflag & (ICANON | ECHO)) == 0;
}

TEST(TerminalTest, ModeIsRestoredWhenASignalEndsTheWaitForAKey) {
  const struct {
    int signal;
    const char* typed;  // how the user sends it, or nullptr for kill
  } cases[] = {{SIGINT, "\x03"},  {SIGQUIT, "\x1c"},  {SIGTERM, nullptr},
               {SIGHUP, nullptr}, {SIGUSR1, nullptr}, {SIGRTMIN + 1, nullptr}};
  for (const auto& c : cases) {
    TerminalSession session(userMode());
    ASSERT_TRUE(session.awaitInput());
    ASSERT_TRUE(inKeyMode(session));
    if (c.typed)
      session.type(c.typed);
    else
      kill(session.pid(), c.signal);
    int status = 0;
    ASSERT_TRUE(session.waitForEnd(status)) << c.signal;
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == c.signal) << c.signal << " " << status;
    EXPECT_TRUE(sameMode(userMode(), session.mode())) << c.signal;
  }
}

// Ctrl-Z gives the shell the user's mode; fg takes key mode back.
TEST(TerminalTest, StopAndContinueInTheWaitForAKey) {
  TerminalSession session(userMode());
  ASSERT_TRUE(session.awaitInput());
  session.type("\x1a");
  EXPECT_TRUE(pollUntil([&] { return sameMode(userMode(), session.mode()); }));
  kill(session.pid(), SIGCONT);
  EXPECT_TRUE(pollUntil([&] { return inKeyMode(session); }));
  session.type("q");
  int status = 0;
  EXPECT_TRUE(session.waitForEnd(status) && WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_TRUE(sameMode(userMode(), session.mode()));
}

// A terminal left non-blocking, its output held by Ctrl-S while a run prints:
// the program waits for Ctrl-Q and goes on.
TEST(TerminalTest, HeldOutputOfANonBlockingTerminalIsWaitedFor) {
  TerminalSession session(userMode(), {}, true);
  ASSERT_TRUE(session.awaitInput());
  session.type("\x13g");
  ASSERT_TRUE(session.awaitInput());  // the run printed into the held output
  session.type("\x11  q");
  int status = 0;
  EXPECT_TRUE(session.waitForEnd(status) && WIFEXITED(status) && WEXITSTATUS(status) == 0)
      << status << session.screen();
  EXPECT_NE(std::string::npos, session.screen().find("So ue  = 13.0805 \n"));
}

}  // namespace
