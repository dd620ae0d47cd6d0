// The console on Windows, through the console run-time library.
#include <conio.h>
#include <io.h>
#include <windows.h>

#include <climits>
#include <csignal>
#include <cstdio>

#include "console/terminal.h"

void openConsole() {}

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
  // A key that sends two codes (0 or 0xE0 first) comes back as two keys.
  const int c = _getch();
  if (c == EOF) return KEY_NONE;  // the console cannot be read
  // _getch hands Ctrl-C over as a character; let it stop the program as it
  // does everywhere else.
  if (c == 3) std::raise(SIGINT);
  return c;
}

long readInput(int fd, char* buffer, std::size_t size) {
  // Text mode: a console line or a file's CR LF arrives as LF.
  return _read(fd, buffer, size > INT_MAX ? INT_MAX : static_cast<unsigned>(size));
}
