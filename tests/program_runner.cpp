// Process plumbing for the end-to-end tests.
#include "program_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>

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
  for (;;) {
    const pid_t done = wait4(pid, &status, WNOHANG, usage);
    if (done == pid) return true;
    if (done < 0 && errno != EINTR) return false;
    if (millisLeft(deadline) == 0) return false;
    usleep(2000);
  }
}

}  // namespace

ProgramRun runWithPipedInput(const std::string& input, int timeoutMs, const Plumbing& plumbing) {
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
    if (plumbing.nonBlockingInput) fcntl(STDIN_FILENO, F_SETFL, O_NONBLOCK);
    const std::string shell = std::string("exec \"$0\" ") + plumbing.redirect;
    execl("/bin/sh", "sh", "-c", shell.c_str(), PALIMO_BINARY, static_cast<char*>(nullptr));
    _exit(127);
  }
  close(in[0]);
  close(out[1]);
  signal(SIGPIPE, SIG_IGN);                       // the program may end before it read everything
  if (plumbing.nonBlockingInput) usleep(200000);  // the program finds no input yet
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

TerminalSession::TerminalSession(const termios& mode) {
  termios start = mode;
  if (openpty(&master_, &slave_, nullptr, &start, nullptr) != 0) return;
  pid_ = fork();
  if (pid_ == 0) {
    setsid();
    ioctl(slave_, TIOCSCTTY, 0);
    dup2(slave_, STDIN_FILENO);
    dup2(slave_, STDOUT_FILENO);
    dup2(slave_, STDERR_FILENO);
    close(master_);
    close(slave_);
    execl(PALIMO_BINARY, "palimo", static_cast<char*>(nullptr));
    _exit(127);
  }
}

TerminalSession::~TerminalSession() {
  int status;
  if (pid_ > 0 && waitpid(pid_, &status, WNOHANG) == 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
  if (master_ >= 0) close(master_);
  if (slave_ >= 0) close(slave_);
}

void TerminalSession::type(const std::string& keys) {
  if (write(master_, keys.data(), keys.size()) < 0) return;
}

std::string TerminalSession::readUntil(const std::string& text, int timeoutMs) {
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    const size_t at = pending_.find(text);
    if (at != std::string::npos) {
      std::string seen = pending_.substr(0, at + text.size());
      pending_.erase(0, at + text.size());
      return seen;
    }
    if (!readSome(master_, pending_, deadline)) return "";
  }
}

termios TerminalSession::mode() const {
  termios now{};
  tcgetattr(slave_, &now);
  return now;
}

bool TerminalSession::waitForEnd(int& waitStatus, int timeoutMs) {
  return waitWithDeadline(pid_, waitStatus, Clock::now() + std::chrono::milliseconds(timeoutMs));
}
