// Starts the built program as a user or a script would: with its input from
// a pipe, or at a pseudo-terminal.
#pragma once

#include <sys/types.h>
#include <termios.h>

#include <string>

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
struct Plumbing {
  const char* redirect = "";      // shell redirections, e.g. "> /dev/full"
  bool nonBlockingInput = false;  // the input pipe is non-blocking, the text comes late
};

// Runs the program with input as its whole standard input, a pipe.
ProgramRun runWithPipedInput(const std::string& input, int timeoutMs = 10000,
                             const Plumbing& plumbing = {});

// The program at a pseudo-terminal: keys typed into it, screen read off it.
class TerminalSession {
 public:
  // Starts the program with the terminal in the given mode.
  explicit TerminalSession(const termios& mode);
  ~TerminalSession();

  void type(const std::string& keys);
  // Reads the screen until it ends in text; returns all read since the last
  // call. Empty if text did not come within the time.
  std::string readUntil(const std::string& text, int timeoutMs = 5000);
  // The terminal's current mode, as the program sees it.
  termios mode() const;
  // Waits for the program to end; false if it did not within the time.
  bool waitForEnd(int& waitStatus, int timeoutMs = 5000);
  pid_t pid() const { return pid_; }

 private:
  int master_ = -1;
  int slave_ = -1;
  pid_t pid_ = -1;
  std::string pending_;
};
