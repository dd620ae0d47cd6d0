// Keys from a Windows console window, through the console run-time library.
#include <conio.h>
#include <io.h>

#include <csignal>
#include <cstdio>

#include "console/keys.h"
#include "console/terminal.h"

bool stdinIsTerminal() {
  static const bool terminal = _isatty(_fileno(stdin)) != 0;
  return terminal;
}

int readTerminalKey() {
  // A key that sends two codes (0 or 0xE0 first) comes back as two keys.
  const int c = _getch();
  // _getch hands Ctrl-C over as a character; let it stop the program as it
  // does everywhere else.
  if (c == 3) std::raise(SIGINT);
  return c;
}
