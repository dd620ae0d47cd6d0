// Process plumbing for the end-to-end tests: a pipe, or a pseudo-terminal
// with a shell-like parent, and the rendering of what a terminal shows.
#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>

namespace {

using Clock = std::chrono::steady_clock;

int millisLeft(Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Reads what is there within the time; false at end of file or deadline.
bool readSome(int fd, std::string& into, Clock::time_point deadline) {
  pollfd p{fd, POLLIN, 0};
  const int ready = poll(&p, 1, millisLeft(deadline));
  if (ready <= 0) return false;
  char buffer[4096];
  const ssize_t n = read(fd, buffer, sizeof buffer);
  if (n <= 0) return false;
  into.append(buffer, static_cast<size_t>(n));
  return true;
}

bool waitWithDeadline(pid_t pid, int& status, Clock::time_point deadline, rusage* usage = nullptr) {
  bool ended = false;
  pollUntil(
      [&] {
        const pid_t done = wait4(pid, &status, WNOHANG, usage);
        ended = done == pid;
        return ended || (done < 0 && errno != EINTR);
      },
      millisLeft(deadline));
  return ended;
}

bool endsWith(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The program waits for a key after the menu and at a pause.
bool awaitsKey(const std::string& screen) {
  return endsWith(screen, "F8 q Exit\n") || endsWith(screen, "weiter mit bel.Taste..");
}

// One key: a byte, a character of several UTF-8 bytes, or an escape
// sequence (CSI or SS3 with its parameters, or Alt with a key).
size_t keyLength(const std::string& input, size_t at) {
  const auto lead = static_cast<unsigned char>(input[at]);
  if (lead >= 0xc2 && lead <= 0xf4) return lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4;
  if (input[at] != '\x1b' || at + 1 == input.size()) return 1;
  if (input[at + 1] != '[' && input[at + 1] != 'O') return 2;
  size_t end = at + 2;
  while (end < input.size() && input[end] >= 0x20 && input[end] <= 0x3f) ++end;
  return (end < input.size() ? end + 1 : end) - at;
}

// One line: up to its line end or Ctrl-D.
size_t lineLength(const std::string& input, size_t at) {
  const size_t end = input.find_first_of("\n\x04", at);
  return end == std::string::npos ? input.size() - at : end + 1 - at;
}

// Starts command with the slave as its terminal, as a shell starts a job: in
// a process group of its own in the foreground, with this shell-like parent
// in the same session, so that Ctrl-Z can stop it. The parent ends as the
// job ends. Returns the job's pid through the pipe.
[[noreturn]] void runJob(int slave, const std::vector<std::string>& command, int pidPipe,
                         bool nonBlocking) {
  setsid();
  ioctl(slave, TIOCSCTTY, 0);
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  const pid_t job = fork();
  if (job == 0) {
    setpgid(0, 0);
    signal(SIGTTOU, SIG_IGN);
    tcsetpgrp(slave, getpid());
    signal(SIGTTOU, SIG_DFL);
    for (int fd = 0; fd < 3; ++fd) dup2(slave, fd);
    close(slave);
    if (nonBlocking) fcntl(0, F_SETFL, O_NONBLOCK);  // one open file: output too
    std::vector<char*> argv;
    for (const std::string& word : command) argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  if (write(pidPipe, &job, sizeof job) != sizeof job) _exit(127);
  int status = 0;
  while (waitpid(job, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFSIGNALED(status)) {
    signal(WTERMSIG(status), SIG_DFL);
    kill(getpid(), WTERMSIG(status));
  }
  _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 127);
}

}  // namespace

ProgramRun runWithPipedInput(const std::string& input, int timeoutMs, const Launch& launch) {
  ProgramRun run;
  int in[2], out[2];
  std::FILE* errors = std::tmpfile();
  if (pipe(in) != 0 || pipe(out) != 0 || !errors) return run;
  const pid_t pid = fork();
  if (pid == 0) {
    signal(SIGPIPE, SIG_DFL);
    dup2(in[0], STDIN_FILENO);
    dup2(out[1], STDOUT_FILENO);
    dup2(fileno(errors), STDERR_FILENO);
    close(in[0]), close(in[1]), close(out[0]), close(out[1]);
    if (launch.nonBlockingInput) fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK);
    const std::string shell = std::string("exec \"$0\" ") + launch.commandLine;
    execl("/bin/sh", "sh", "-c", shell.c_str(), launch.program, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  signal(SIGPIPE, SIG_IGN);  // the program may end before it read everything
  // The program finds no input yet, and waits for it.
  if (launch.nonBlockingInput) pollUntil([&] { return waitsInSystemCall(pid); });
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  size_t written = 0;
  fcntl(in[1], F_SETFL, O_NONBLOCK);
  while (written < input.size()) {
    const ssize_t n = write(in[1], input.data() + written, input.size() - written);
    if (n > 0)
      written += static_cast<size_t>(n);
    else if (errno != EAGAIN)
      break;
    readSome(out[0], run.output, Clock::now() + std::chrono::milliseconds(1));
    if (millisLeft(deadline) == 0) break;
  }
  close(in[1]);
  while (readSome(out[0], run.output, deadline)) {
  }
  close(out[0]);
  int status = 0;
  rusage usage{};
  if (!waitWithDeadline(pid, status, deadline, &usage)) {
    run.timedOut = true;
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
  }
  run.exited = WIFEXITED(status);
  run.exitStatus = run.exited ? WEXITSTATUS(status) : -1;
  run.peakMemoryKb = usage.ru_maxrss;
  std::rewind(errors);
  for (int c = std::fgetc(errors); c != EOF; c = std::fgetc(errors))
    run.errors += static_cast<char>(c);
  std::fclose(errors);
  return run;
}

bool pollUntil(const std::function<bool()>& done, int timeoutMs, int stepMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    if (done()) return true;
    if (millisLeft(deadline) == 0) return false;
    usleep(static_cast<useconds_t>(stepMs) * 1000);
  }
}

bool waitsInSystemCall(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/syscall");
  std::string number, firstArgument;
  file >> number >> firstArgument;
  // read(0, ...), or poll() on a non-blocking terminal.
  return (number == "0" && firstArgument == "0x0") || number == "7" || number == "271";
}

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
  mode.c_cc[VSTART] = 17;
  mode.c_cc[VSTOP] = 19;
  cfsetispeed(&mode, B38400);
  cfsetospeed(&mode, B38400);
  return mode;
}

bool sameMode(const termios& a, const termios& b) {
  return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
         a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

std::string render(const std::string& bytes) {
  std::string screen;
  std::string line;
  size_t column = 0;
  const auto padToCursor = [&] {
    if (line.size() < column) line.resize(column, ' ');
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      padToCursor();  // cells the cursor passed over are blanks
      column = 0;
      if (c == '\n') screen += line + '\n', line.clear();
    } else if (c == '\b') {
      if (column > 0) --column;
    } else if (c == '\x1b' && i + 1 < bytes.size() && bytes[i + 1] == '[') {
      size_t end = i + 2;
      while (end < bytes.size() && bytes[end] >= 0x20 && bytes[end] <= 0x3f) ++end;
      if (end == bytes.size()) break;
      const std::string parameter = bytes.substr(i + 2, end - i - 2);
      if (bytes[end] == 'K' && line.size() > column) line.resize(column);
      if (bytes[end] == 'C') column += parameter.empty() ? 1 : std::stoul(parameter);
      i = end;
    } else {
      padToCursor();
      if (column < line.size())
        line[column] = c;
      else
        line += c;
      ++column;
    }
  }
  return screen + line;
}

TerminalSession::TerminalSession(const termios& mode, std::vector<std::string> command,
                                 bool nonBlocking)
    : native_(command.empty()) {
  if (native_) command = {PALIMO_BINARY};
  termios start = mode;
  winsize size{50, 200, 0, 0};
  int pidPipe[2];
  if (openpty(&master_, &slave_, nullptr, &start, &size) != 0 || pipe(pidPipe) != 0) return;
  shell_ = fork();
  if (shell_ == 0) {
    close(master_);
    close(pidPipe[0]);
    runJob(slave_, command, pidPipe[1], nonBlocking);
  }
  close(pidPipe[1]);
  if (read(pidPipe[0], &pid_, sizeof pid_) != sizeof pid_) pid_ = -1;
  close(pidPipe[0]);
}

TerminalSession::~TerminalSession() {
  int status;
  if (shell_ > 0 && waitpid(shell_, &status, WNOHANG) == 0) {
    if (pid_ > 0) kill(pid_, SIGKILL);
    kill(shell_, SIGKILL);
    waitpid(shell_, &status, 0);
  }
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
}

void TerminalSession::type(const std::string& keys) {
  typedAt_ = raw_.size();
  switchesAtType_ = voluntarySwitches();
  if (write(master_, keys.data(), keys.size()) < 0) return;
}

bool TerminalSession::readFor(int millis) {
  return readSome(master_, raw_, Clock::now() + std::chrono::milliseconds(millis));
}

long TerminalSession::voluntarySwitches() const {
  std::ifstream file("/proc/" + std::to_string(pid_) + "/status");
  for (std::string line; std::getline(file, line);)
    if (line.rfind("voluntary_ctxt_switches:", 0) == 0) return std::stol(line.substr(24));
  return 0;
}

bool TerminalSession::awaitInput(int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  auto lastOutput = Clock::now();
  while (millisLeft(deadline) > 0) {
    if (native_) {
      // Once it blocks again after the keys, all it printed is on its way; a
      // short quiet takes it.
      if (voluntarySwitches() > switchesAtType_ && waitsInSystemCall(pid_) && !readFor(20))
        return true;
      readFor(2);
    } else if (readFor(50)) {
      lastOutput = Clock::now();
    } else if (Clock::now() - lastOutput > std::chrono::milliseconds(400) &&
               raw_.size() > typedAt_) {
      const std::string shown = screen();
      if (!shown.empty() && (shown.back() != '\n' || awaitsKey(shown))) return true;
    }
  }
  return false;
}

bool TerminalSession::waitForEnd(int& waitStatus, int timeoutMs) {
  const bool ended = pollUntil(
      [&] {
        readFor(10);
        return waitpid(shell_, &waitStatus, WNOHANG) == shell_;
      },
      timeoutMs, 0);
  while (readFor(10)) {
  }
  return ended;
}

termios TerminalSession::mode() const {
  termios now{};
  tcgetattr(slave_, &now);
  return now;
}

bool playSession(TerminalSession& session, const std::string& input, int& waitStatus) {
  for (size_t at = 0; at < input.size();) {
    if (!session.awaitInput()) return false;
    const size_t length =
        awaitsKey(session.screen()) ? keyLength(input, at) : lineLength(input, at);
    std::string keys = input.substr(at, length);
    std::replace(keys.begin(), keys.end(), '\n', '\r');  // Enter sends a carriage return
    session.type(keys);
    at += length;
  }
  return session.waitForEnd(waitStatus);
}
