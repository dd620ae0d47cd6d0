// The console on POSIX: non-canonical, no-echo mode for one key read (a key
// that sends an escape sequence or a UTF-8 character of several bytes is read
// whole), the user's mode back on
// every way out, signals included, and reads and writes that wait for a
// non-blocking descriptor.
#include <poll.h>
#include <sched.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>

#include "console/terminal.h"

namespace {

// --- Reads and writes that wait ----------------------------------------------

// Repeats a read or write on fd while a signal interrupts it, and while a
// descriptor that the parent left non-blocking has nothing to give or no
// room, waits until it has.
template <typename Transfer>
long waiting(int fd, short events, Transfer transfer) {
  for (;;) {
    const ssize_t n = transfer();
    if (n >= 0) return n;
    if (errno == EAGAIN || errno == EWOULDBLOCK) {
      pollfd ready{fd, events, 0};
      poll(&ready, 1, -1);
    } else if (errno != EINTR) {
      return -1;
    }
  }
}

long readWaiting(int fd, void* into, std::size_t size) {
  return waiting(fd, POLLIN, [&] { return read(fd, into, size); });
}

// --- Key mode and the signals ------------------------------------------------

struct termios userMode;  // as the user's shell left the terminal
bool userModeSaved = false;
struct termios keyMode;
volatile std::sig_atomic_t keyModeActive = 0;
// Blocked while the terminal's mode and keyModeActive change together.
sigset_t handledSignals;

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
  if (keyModeActive) tcsetattr(STDIN_FILENO, TCSANOW, &userMode);
}

void setAction(int sig, void (*handler)(int)) {
  struct sigaction action {};
  action.sa_handler = handler;
  action.sa_mask = handledSignals;
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

// Switches between the user's mode and key mode, with the handled signals
// blocked, so that no handler ever sees the flag and the terminal disagree.
void setKeyMode(bool on) {
  sigset_t before;
  sigprocmask(SIG_BLOCK, &handledSignals, &before);
  tcsetattr(STDIN_FILENO, TCSANOW, on ? &keyMode : &userMode);
  keyModeActive = on;
  sigprocmask(SIG_SETMASK, &before, nullptr);
}

// --- Keys that send several codes --------------------------------------------

// The codes of one keystroke arrive together; 50 ms is far longer than any
// terminal needs between them and far shorter than a person between keys.
constexpr int SEQUENCE_WAIT_MS = 50;
constexpr int NO_CODE = -1;
// A code read after a key that turned out not to belong to it; the next key
// read takes it first. That key had no command, so a key read comes next.
int pendingCode = NO_CODE;

bool nextCodeOfKey(unsigned char& c) {
  pollfd ready{STDIN_FILENO, POLLIN, 0};
  int n;
  do n = poll(&ready, 1, SEQUENCE_WAIT_MS);
  while (n < 0 && errno == EINTR);
  return n > 0 && readWaiting(STDIN_FILENO, &c, 1) == 1;
}

// Reads the rest of the key whose ESC was read: a CSI (ESC [ parameters
// final) or SS3 (ESC O final) sequence of the arrows, function keys, Home and
// End, or the key of Alt plus a key. A lone ESC has no rest.
void readRestOfEscape() {
  unsigned char c;
  if (!nextCodeOfKey(c) || (c != '[' && c != 'O')) return;
  for (int codes = 0; codes < 16 && nextCodeOfKey(c); ++codes)
    if (c >= 0x40 && c <= 0x7e) return;  // the final byte
}

// Reads the continuation bytes of a character that UTF-8 sends in several
// bytes (an umlaut, the degree sign, the euro sign), as many as its lead
// byte announces. A byte that is no continuation stays for the next read.
void readRestOfCharacter(unsigned char lead) {
  int rest = 0;  // any other byte is a character of its own
  if (lead >= 0xc2 && lead <= 0xdf) rest = 1;
  if (lead >= 0xe0 && lead <= 0xef) rest = 2;
  if (lead >= 0xf0 && lead <= 0xf4) rest = 3;
  unsigned char c;
  for (; rest > 0 && nextCodeOfKey(c); --rest) {
    if ((c & 0xc0) != 0x80) {
      pendingCode = c;
      return;
    }
  }
}

}  // namespace

// --- The seam ----------------------------------------------------------------

// The handlers do nothing but die or stop as the signal would while the
// terminal is in the user's mode, so they stay for the whole session. Without
// a terminal there is no mode to give back, and the signals stay as they are.
void openConsole() {
  static bool opened = false;
  if (opened || !stdinIsTerminal()) return;
  opened = true;
  sigemptyset(&handledSignals);
  for (const int sig : FATAL_SIGNALS) sigaddset(&handledSignals, sig);
#ifdef SIGRTMIN
  for (int sig = SIGRTMIN; sig <= SIGRTMAX; ++sig) sigaddset(&handledSignals, sig);
#endif
  sigaddset(&handledSignals, SIGTSTP);
  for (int sig = 1; sig < NSIG; ++sig)
    if (sigismember(&handledSignals, sig) == 1)
      installHandler(sig, sig == SIGTSTP ? onStopSignal : onFatalSignal);
}

void closeConsole() {}

bool stdinIsTerminal() {
  static const bool terminal = isatty(STDIN_FILENO);
  return terminal;
}

int readTerminalKey() {
  struct termios now;
  if (tcgetattr(STDIN_FILENO, &now) != 0) return KEY_ERROR;
  // A terminal still in key mode (left so by a signal at the wrong moment)
  // is never taken for the user's mode.
  if (!userModeSaved || (now.c_lflag & (ICANON | ECHO)) != 0) {
    userMode = now;
    userModeSaved = true;
  }
  keyMode = userMode;
  // ISIG stays on, so Ctrl-C still interrupts. TCSANOW keeps keys typed ahead.
  keyMode.c_lflag &= ~static_cast<tcflag_t>(ICANON | ECHO);
  keyMode.c_cc[VMIN] = 1;
  keyMode.c_cc[VTIME] = 0;

  setKeyMode(true);
  unsigned char c = 0;
  long n = 1;
  if (pendingCode != NO_CODE)
    c = static_cast<unsigned char>(pendingCode), pendingCode = NO_CODE;
  else
    n = readWaiting(STDIN_FILENO, &c, 1);
  const int readError = errno;
  if (n == 1 && c == 0x1b)
    readRestOfEscape();
  else if (n == 1)
    readRestOfCharacter(c);
  setKeyMode(false);
  errno = readError;
  if (n < 0) return KEY_ERROR;
  return n == 1 ? c : KEY_NONE;
}

long readInput(int fd, char* buffer, std::size_t size) {
  if (!isatty(fd)) return readWaiting(fd, buffer, size);
  // Byte by byte to the line end: where Linux hands one read everything
  // typed in key mode, the keys after the line stay for the next key read.
  std::size_t n = 0;
  while (n < size) {
    const long got = readWaiting(fd, buffer + n, 1);
    if (got < 0) return -1;
    if (got == 0 || buffer[n++] == '\n') break;
  }
  return static_cast<long>(n);
}

void writeOutputAsIs() {}

long writeOutput(const char* data, std::size_t size) {
  return waiting(STDOUT_FILENO, POLLOUT, [&] { return write(STDOUT_FILENO, data, size); });
}

namespace {
volatile std::sig_atomic_t stopSignal = 0;
void onStop(int sig) { stopSignal = sig; }
}  // namespace

void catchStopSignals() {
  installHandler(SIGINT, onStop);
  installHandler(SIGTERM, onStop);
}

int stopSignalCaught() { return stopSignal; }

int usableCores() {
#ifdef __linux__
  // The cores of the process's affinity mask (taskset, a cluster's cgroup
  // share), not all the machine has.
  cpu_set_t cores;
  if (sched_getaffinity(0, sizeof cores, &cores) == 0) return std::max(1, CPU_COUNT(&cores));
#endif
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<int>(std::min(online, 4096L)) : 1;
}

bool writeWholeFile(const char* path, const char* data, std::size_t size) {
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  const bool written = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}
