// Starts the built program as a user or a script would: with its input from
// a pipe, or at a pseudo-terminal where a session is typed unit by unit.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <functional>
#include <string>
#include <vector>

// What a finished run left: the screen text and how the process ended.
struct ProgramRun {
  std::string output;
  bool exited = false;  // ended by exit, with exitStatus
  int exitStatus = -1;
  bool timedOut = false;  // still running at the deadline; it was killed
  std::string errors;     // what it wrote to standard error
  long peakMemoryKb = 0;  // its largest resident set
};

// How a run's standard streams are set up besides the pipes.
struct Launch {
  // What follows the program on a shell's command line: its arguments and
  // redirections, e.g. "--nu40 46 --nu100 6.8" or "> /dev/full".
  const char* commandLine = "";
  bool nonBlockingInput = false;        // the input pipe is non-blocking, the text comes late
  const char* program = PALIMO_BINARY;  // or another, such as palimo-balance
};

// Runs the program with input as its whole standard input, a pipe.
ProgramRun runWithPipedInput(const std::string& input, int timeoutMs = 10000,
                             const Launch& launch = {});

// Polls done every stepMs until it is true or timeoutMs have passed; gives
// its last answer.
bool pollUntil(const std::function<bool()>& done, int timeoutMs = 10000, int stepMs = 2);

// Whether the process waits for its input or output: blocked in read(0) or
// in poll() on a non-blocking descriptor.
bool waitsInSystemCall(pid_t pid);

// A canonical, echoing terminal as a shell leaves it.
termios userMode();

// Whether two terminal modes are the same in flags and control characters.
bool sameMode(const termios& a, const termios& b);

// The text a terminal shows for the bytes written to it: line ends,
// backspace, erase to the end of the line and cursor forward (with which
// Wine's console writes blanks) are carried out; other escape sequences are
// dropped. Lines end in "\n".
std::string render(const std::string& bytes);

// The program at a pseudo-terminal: keys typed into it, screen read off it.
class TerminalSession {
 public:
  // Starts command (the program itself by default) with the terminal in the
  // given mode, non-blocking if so asked, as some parents leave it.
  explicit TerminalSession(const termios& mode, std::vector<std::string> command = {},
                           bool nonBlocking = false);
  ~TerminalSession();

  void type(const std::string& keys);
  // Waits until the program waits for input: blocked in a read of the
  // terminal, or, for a program under Wine, quiet with a prompt on the
  // screen. False if that did not come within the time.
  bool awaitInput(int timeoutMs = 10000);
  // Reads the screen until the program ends; false if it did not within
  // the time. waitStatus tells how it ended.
  bool waitForEnd(int& waitStatus, int timeoutMs = 10000);
  // Everything shown so far, rendered.
  std::string screen() const { return render(raw_); }
  // The terminal's current mode, as the program sees it.
  termios mode() const;
  // The program's process, for signals.
  pid_t pid() const { return pid_; }

 private:
  bool readFor(int millis);
  long voluntarySwitches() const;
  bool native_ = true;  // the program itself, not under Wine
  int master_ = -1;
  int slave_ = -1;
  pid_t shell_ = -1;  // the shell-like parent that waits for the program
  pid_t pid_ = -1;
  std::string raw_;           // every byte shown so far
  size_t typedAt_ = 0;        // how much was shown when the last keys were typed
  long switchesAtType_ = -1;  // how often the program had waited by then
};

// Types input into the session as a person would: at a menu or pause one
// key (an escape sequence or a UTF-8 character is one key), elsewhere one
// line, each when the program waits for it; a line end is the Enter key, and
// Ctrl-D also ends a unit. Then waits for the end. False if the program did not wait or end in
// time.
bool playSession(TerminalSession& session, const std::string& input, int& waitStatus);
