// The menu's key read and the pause prompt, for terminals and for scripts.
#include "console/keys.h"

#include <cstdio>

#include "console/input_stream.h"
#include "console/terminal.h"

namespace {

// From a pipe or file the keys share the buffered stream with the numbers;
// the line end after a number (and any blank) is never a key.
int readStreamKey() {
  for (;;) {
    const int c = nextInputChar();
    if (c == EOF) return KEY_NONE;
    if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return c;
  }
}

}  // namespace

int readKey() {
  std::fflush(stdout);
  return inputIsTerminal() ? readTerminalKey() : readStreamKey();
}

void pauseForKey() {
  std::printf("weiter mit bel.Taste..");
  readKey();
}
