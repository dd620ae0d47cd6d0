// The console on Windows, through the console run-time library.
#include <conio.h>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <climits>
#include <csignal>
#include <cstdio>

#include "console/terminal.h"

// Redirected input is read as it is, as on Linux: text mode would end it at
// a 0x1A byte. The console keeps its own end-of-input key, Ctrl-Z Enter.
void openConsole() {
  if (!stdinIsTerminal()) _setmode(_fileno(stdin), _O_BINARY);
}

void closeConsole() {}

bool stdinIsTerminal() {
  // Only a console answers GetConsoleMode; a file, a pipe and the NUL
  // device (which _isatty counts as a terminal) do not.
  static const bool terminal = [] {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_INPUT_HANDLE), &mode) != 0;
  }();
  return terminal;
}

int readTerminalKey() {
  const int c = _getch();
  if (c == EOF) return KEY_NONE;  // the console cannot be read
  // A function key, an arrow or Alt with a key: 0 or 0xE0, then its code.
  if (c == 0 || c == 0xE0) {
    _getch();
    return c;
  }
  // _getch hands Ctrl-C over as a character; let it stop the program as it
  // does everywhere else.
  if (c == 3) std::raise(SIGINT);
  return c;
}

long readInput(int fd, char* buffer, std::size_t size) {
  // A console line arrives as one read, its line end as LF.
  return _read(fd, buffer, size > INT_MAX ? INT_MAX : static_cast<unsigned>(size));
}

void writeOutputAsIs() { _setmode(1, _O_BINARY); }

long writeOutput(const char* data, std::size_t size) {
  // Text mode, unless writeOutputAsIs: LF goes out as CR LF.
  return _write(1, data, size > INT_MAX ? INT_MAX : static_cast<unsigned>(size));
}

namespace {
volatile std::sig_atomic_t stopSignal = 0;
// The C run-time calls it on a thread of its own for Ctrl-C or Ctrl-Break.
void onStop(int sig) { stopSignal = sig; }
}  // namespace

void catchStopSignals() {
  std::signal(SIGINT, onStop);
  std::signal(SIGTERM, onStop);
}

int stopSignalCaught() { return stopSignal; }

int usableCores() {
  DWORD_PTR process = 0, system = 0;
  if (!GetProcessAffinityMask(GetCurrentProcess(), &process, &system) || process == 0) return 1;
  int cores = 0;
  for (; process != 0; process &= process - 1) ++cores;
  return cores;
}

bool writeWholeFile(const char* path, const char* data, std::size_t size) {
  std::FILE* out = std::fopen(path, "wb");
  if (!out) return false;
  const bool written = std::fwrite(data, 1, size, out) == size;
  return std::fclose(out) == 0 && written;
}
