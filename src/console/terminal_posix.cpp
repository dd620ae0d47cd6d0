// Keys from a POSIX terminal: non-canonical, no-echo mode for the one read,
// and the user's mode back on every way out, signals included.
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "console/keys.h"
#include "console/terminal.h"

namespace {

struct termios savedMode;
struct termios keyMode;
volatile std::sig_atomic_t keyModeActive = 0;

// Signals that end the program, and Ctrl-Z's stop, while a key is awaited.
const int FATAL_SIGNALS[] = {SIGINT, SIGTERM, SIGHUP, SIGQUIT};
struct sigaction previousActions[sizeof FATAL_SIGNALS / sizeof(int)];
struct sigaction previousStop;

void restoreUserMode() {
  if (keyModeActive) tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
}

// Puts the terminal back and dies by the same signal, as if unhandled.
void onFatalSignal(int sig) {
  restoreUserMode();
  signal(sig, SIG_DFL);
  raise(sig);  // delivered with the default action when the handler returns
}

// Ctrl-Z: leave the user's mode to the shell while stopped, take the key
// mode again on resume.
void onStopSignal(int) {
  const int savedErrno = errno;
  restoreUserMode();
  signal(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);  // stops here until SIGCONT
  signal(SIGTSTP, onStopSignal);
  if (keyModeActive) tcsetattr(STDIN_FILENO, TCSANOW, &keyMode);
  errno = savedErrno;
}

void installHandler(int sig, void (*handler)(int), struct sigaction* previous) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(sig, nullptr, previous);
  if (previous->sa_handler != SIG_IGN) sigaction(sig, &action, nullptr);
}

void installHandlers() {
  for (unsigned i = 0; i < sizeof FATAL_SIGNALS / sizeof(int); ++i)
    installHandler(FATAL_SIGNALS[i], onFatalSignal, &previousActions[i]);
  installHandler(SIGTSTP, onStopSignal, &previousStop);
}

void removeHandlers() {
  for (unsigned i = 0; i < sizeof FATAL_SIGNALS / sizeof(int); ++i)
    sigaction(FATAL_SIGNALS[i], &previousActions[i], nullptr);
  sigaction(SIGTSTP, &previousStop, nullptr);
}

}  // namespace

bool stdinIsTerminal() {
  static const bool terminal = isatty(STDIN_FILENO);
  return terminal;
}

int readTerminalKey() {
  if (tcgetattr(STDIN_FILENO, &savedMode) != 0) return KEY_NONE;
  keyMode = savedMode;
  // ISIG stays on, so Ctrl-C still interrupts. TCSANOW keeps keys typed ahead.
  keyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  keyMode.c_cc[VMIN] = 1;
  keyMode.c_cc[VTIME] = 0;

  installHandlers();
  keyModeActive = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &keyMode);
  unsigned char c = 0;
  ssize_t n;
  do {
    n = read(STDIN_FILENO, &c, 1);
  } while (n < 0 && errno == EINTR);
  tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
  keyModeActive = 0;
  removeHandlers();
  return n == 1 ? c : KEY_NONE;
}
