// The shared character stream behind readKey and readNumber.
#include "console/input_stream.h"

#include "console/terminal.h"

namespace {
std::FILE* input = nullptr;  // standard input until useInput says otherwise
// Some C libraries read a pipe again after reporting its end; we do not.
bool inputEnded = false;

std::FILE* source() { return input ? input : stdin; }
}  // namespace

void useInput(std::FILE* stream) {
  input = stream;
  inputEnded = false;
}

bool inputIsTerminal() { return source() == stdin && stdinIsTerminal(); }

int nextInputChar() {
  if (inputEnded) return EOF;
  const int c = std::getc(source());
  if (c == EOF) {
    if (inputIsTerminal())
      std::clearerr(stdin);  // a terminal's end of file ends only this entry
    else
      inputEnded = true;
  }
  return c;
}

void putBackInputChar(int c) {
  if (c != EOF) std::ungetc(c, source());
}
