// The program at a real pseudo-terminal: keys without Enter and without
// echo, and the user's terminal mode back however the program ends.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>

#include "program_runner.h"

namespace {

// A canonical, echoing terminal as a shell leaves it.
termios userMode() {
  termios mode{};
  mode.c_iflag = ICRNL | IXON;
  mode.c_oflag = OPOST | ONLCR;
  mode.c_cflag = CS8 | CREAD;
  mode.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | IEXTEN;
  mode.c_cc[VINTR] = 3;
  mode.c_cc[VQUIT] = 28;
  mode.c_cc[VERASE] = 127;
  mode.c_cc[VKILL] = 21;
  mode.c_cc[VEOF] = 4;
  mode.c_cc[VMIN] = 1;
  mode.c_cc[VSUSP] = 26;
  cfsetispeed(&mode, B38400);
  cfsetospeed(&mode, B38400);
  return mode;
}

bool sameMode(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

const char MENU_END[] = "F8 q Exit\r\n";
const char PAUSE[] = "weiter mit bel.Taste..";

// The program switches to key mode just after a menu or pause is on the
// screen. A key typed before that is kept, but the terminal still echoes it.
bool waitsForKey(const TerminalSession& session) {
  for (int tries = 0; tries < 2500; ++tries) {
    if ((session.mode().c_lflag & (ICANON | ECHO)) == 0) return true;
    usleep(2000);
  }
  return false;
}

// Reads the screen up to the end of the menu and waits for the key read.
bool atMenu(TerminalSession& session) {
  return !session.readUntil(MENU_END).empty() && waitsForKey(session);
}

// Reads the screen up to a pause and waits for its key read.
std::string atPause(TerminalSession& session) {
  std::string screen = session.readUntil(PAUSE);
  return waitsForKey(session) ? screen : std::string();
}

bool endsWithSuccess(TerminalSession& session) {
  int status = 0;
  return session.waitForEnd(status) && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST(TerminalTest, KeyIsTakenWithoutEnterAndNotEchoed) {
  TerminalSession session(userMode());
  ASSERT_TRUE(atMenu(session));
  session.type("i");
  EXPECT_EQ("PALIMO n. DIN 31652 T1/2,", session.readUntil("PALIMO n. DIN 31652 T1/2,"));
  EXPECT_NE("", atPause(session));
  session.type("x");
  EXPECT_EQ("\r\nGleitlagerberech.,i Info", session.readUntil("Gleitlagerberech.,i Info"));
  EXPECT_NE("", session.readUntil(MENU_END));
  session.type("q");
  EXPECT_TRUE(endsWithSuccess(session));
  EXPECT_TRUE(sameMode(userMode(), session.mode()));
}

TEST(TerminalTest, ModeIsRestoredWhenASignalEndsTheWaitForAKey) {
  const struct {
    int signal;
    const char* typed;  // how the user sends it, or nullptr for kill
  } cases[] = {{SIGINT, "\x03"},  {SIGQUIT, "\x1c"},  {SIGTERM, nullptr},
               {SIGHUP, nullptr}, {SIGUSR1, nullptr}, {SIGRTMIN + 1, nullptr}};
  for (const auto& c : cases) {
    TerminalSession session(userMode());
    ASSERT_TRUE(atMenu(session));
    if (c.typed)
      session.type(c.typed);
    else
      kill(session.pid(), c.signal);
    int status = 0;
    ASSERT_TRUE(session.waitForEnd(status)) << c.signal;
    EXPECT_TRUE(WIFSIGNALED(status)) << c.signal;
    if (WIFSIGNALED(status)) {
      EXPECT_EQ(c.signal, WTERMSIG(status));
    }
    EXPECT_TRUE(sameMode(userMode(), session.mode())) << c.signal;
  }
}

TEST(TerminalTest, KeysTypedAheadDuringACalculationAreKept) {
  TerminalSession session(userMode());
  ASSERT_NE("", session.readUntil(MENU_END));
  // 'g', both pauses and the quit in one burst, as a fast typist would.
  session.type("g  q");
  EXPECT_NE("", session.readUntil("So ue  = 13.0805 \r\n"));
  EXPECT_TRUE(endsWithSuccess(session));
}

// Numbers typed ahead on one line answer the prompts that follow, also
// those of a later command, while the menu still takes its key from the
// keyboard.
TEST(TerminalTest, NumbersTypedAheadAnswerTheFollowingPrompts) {
  TerminalSession session(userMode());
  ASSERT_TRUE(atMenu(session));
  session.type("a");
  ASSERT_NE("", session.readUntil("Kraft[N]= "));
  session.type("1000 3000 120 30 0.01\n");
  ASSERT_TRUE(atMenu(session));
  session.type("b");
  EXPECT_NE("", session.readUntil("Durchmesser[mm]= \r\nBreite[mm]= \r\nh0 lim[mm]= \r\n"));
  ASSERT_TRUE(atMenu(session));
  session.type("w");
  const std::string page1 = atPause(session);
  EXPECT_NE(std::string::npos, page1.find("Kraft   = 1000 N\r\nDrehzahl= 3000 1/min\r\n"
                                          "Durchm. = 120 mm\r\nBreite  = 30 mm\r\n"));
  session.type(" ");
  EXPECT_NE(std::string::npos, atPause(session).find("h0lim  = 0.01 mm"));
  session.type(" q");
  EXPECT_TRUE(endsWithSuccess(session));
}

// Ctrl-D ends only the entry at hand: the choice keeps its valid value and
// the program goes on waiting for input.
TEST(TerminalTest, EndOfFileAtAChoiceKeepsTheValueAndTheSessionGoesOn) {
  TerminalSession session(userMode());
  ASSERT_TRUE(atMenu(session));
  session.type("d");
  ASSERT_NE("", session.readUntil("Oeldruck[bar]="));
  session.type("7\n");
  ASSERT_NE("", session.readUntil("Fall [1~3]:"));
  session.type("4\n");
  ASSERT_NE("", session.readUntil("Fall [1~3]:"));
  session.type("\x04");
  ASSERT_NE("", session.readUntil("dH bzw. bG[mm]= "));
  session.type("6\n");
  ASSERT_TRUE(atMenu(session));
  session.type("w");
  const std::string page1 = atPause(session);
  EXPECT_NE(std::string::npos, page1.find("Oeldruck= 7 bar\r\nOelzufu.= Fall 1\r\n"
                                          "Oelbohr.= 6 mm\r\n"));
  session.type(" \x04 q");
  EXPECT_TRUE(endsWithSuccess(session));
}

}  // namespace
