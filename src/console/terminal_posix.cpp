// The console on POSIX: non-canonical, no-echo mode for one key read, the
// user's mode back on every way out, signals included, and input reads that
// wait for a non-blocking descriptor.
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

#include "console/terminal.h"

namespace {

struct termios savedMode;
struct termios keyMode;
volatile std::sig_atomic_t keyModeActive = 0;

// Signals whose default action ends the process; the real-time signals are
// added in openConsole. SIGKILL cannot be caught.
const int FATAL_SIGNALS[] = {
    SIGHUP,    SIGINT,  SIGQUIT, SIGILL,  SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGUSR1, SIGSEGV,
    SIGUSR2,   SIGPIPE, SIGALRM, SIGTERM, SIGXCPU, SIGXFSZ, SIGVTALRM, SIGPROF, SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
#ifdef SIGIO
    SIGIO,
#endif
#ifdef SIGPWR
    SIGPWR,
#endif
};
void restoreUserMode() {
  if (keyModeActive) tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
}

void setAction(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  sigemptyset(&action.sa_mask);
  sigaction(sig, &action, nullptr);
}

// Puts the terminal back and dies by the same signal, as if unhandled.
void onFatalSignal(int sig) {
  restoreUserMode();
  setAction(sig, SIG_DFL);
  raise(sig);  // delivered with the default action when the handler returns
}

// Ctrl-Z: leave the user's mode to the shell while stopped, take the key
// mode again on resume.
void onStopSignal(int) {
  const int savedErrno = errno;
  restoreUserMode();
  setAction(SIGTSTP, SIG_DFL);
  sigset_t stop;
  sigemptyset(&stop);
  sigaddset(&stop, SIGTSTP);
  sigprocmask(SIG_UNBLOCK, &stop, nullptr);
  raise(SIGTSTP);  // stops here until SIGCONT
  setAction(SIGTSTP, onStopSignal);
  if (keyModeActive) tcsetattr(STDIN_FILENO, TCSANOW, &keyMode);
  errno = savedErrno;
}

// Takes over sig unless the parent made the program ignore it.
void installHandler(int sig, void (*handler)(int)) {
  struct sigaction previous {};
  if (sigaction(sig, nullptr, &previous) == 0 && previous.sa_handler != SIG_IGN)
    setAction(sig, handler);
}

// read() that retries on EINTR and, on a descriptor left non-blocking by the
// parent, waits for input instead of taking "nothing yet" for an end.
long readWaiting(int fd, void* into, std::size_t size) {
  for (;;) {
    const ssize_t n = read(fd, into, size);
    if (n >= 0) return n;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd ready{fd, POLLIN, 0};
      poll(&ready, 1, -1);
    } else if (errno != EINTR) {
      return -1;
    }
  }
}

}  // namespace

// The handlers do nothing but die or stop as the signal would while the
// terminal is in the user's mode, so they stay for the whole session. Without
// a terminal there is no mode to give back, and the signals stay as they are.
void openConsole() {
  static bool installed = false;
  if (installed || !stdinIsTerminal()) return;
  installed = true;
  for (const int sig : FATAL_SIGNALS) installHandler(sig, onFatalSignal);
#ifdef SIGRTMIN
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) installHandler(sig, onFatalSignal);
#endif
  installHandler(SIGTSTP, onStopSignal);
}

bool stdinIsTerminal() {
  static const bool terminal = isatty(STDIN_FILENO);
  return terminal;
}

int readTerminalKey() {
  if (tcgetattr(STDIN_FILENO, &savedMode) != 0) return KEY_ERROR;
  keyMode = savedMode;
  // ISIG stays on, so Ctrl-C still interrupts. TCSANOW keeps keys typed ahead.
  keyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  keyMode.c_cc[VMIN] = 1;
  keyMode.c_cc[VTIME] = 0;

  keyModeActive = 1;
  tcsetattr(STDIN_FILENO, TCSANOW, &keyMode);
  unsigned char c = 0;
  const long n = readWaiting(STDIN_FILENO, &c, 1);
  const int readError = errno;
  tcsetattr(STDIN_FILENO, TCSANOW, &savedMode);
  keyModeActive = 0;
  errno = readError;
  if (n < 0) return KEY_ERROR;
  return n == 1 ? c : KEY_NONE;
}

long readInput(int fd, char* buffer, std::size_t size) { return readWaiting(fd, buffer, size); }
