// The shared input stream, the menu's keys and the numbers of the entry
// prompts.
#include "console/input.h"

#include <cerrno>
#include <cstdio>

#include "console/input_testing.h"
#include "console/output.h"
#include "console/terminal.h"
#include "text/numeral.h"

// --- The input stream ----------------------------------------------------
//
// The program reads its input itself, so that a read error is told from the
// end of the input and so that pending text is exactly what the buffer holds.

namespace {

// Everything the input layer knows of its stream.
struct Input {
  int fd = 0;
  char buffer[4096];
  std::size_t start = 0;  // the unread text is buffer[start, end)
  std::size_t end = 0;
  // A pipe or file stays at its end once reached. A terminal's end of file
  // (Ctrl-D) ends only the read at hand; the next one waits again.
  bool ended = false;
  // Whether a number was taken from the line being read and the line goes
  // on; a line end clears it.
  bool lineAnswered = false;
  // A terminal line that Ctrl-D sent without its line end is in the buffer:
  // the entry's input ends with it, and the next read waits again.
  bool endAfterText = false;
};

Input input;

bool isTerminalInput() { return input.fd == 0 && stdinIsTerminal(); }

// Refills the empty buffer; false at the end of the input.
bool fillBuffer() {
  if (input.ended) return false;
  flushOutput();  // the prompt is on the screen before the wait
  const long n = readInput(input.fd, input.buffer, sizeof input.buffer);
  if (n < 0) failWith("read error", errno);
  if (n == 0) {
    if (!isTerminalInput()) input.ended = true;
    return false;
  }
  input.start = 0;
  input.end = static_cast<std::size_t>(n);
  input.endAfterText =
      isTerminalInput() && input.end < sizeof input.buffer && input.buffer[input.end - 1] != '\n';
  return true;
}

// Gives back the character that nextInputChar just returned.
void putBack(int c) {
  if (c != EOF) --input.start;
}

bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int nextInputChar() {
  if (input.start == input.end && input.endAfterText) {
    input.endAfterText = false;
    return EOF;
  }
  if (input.start == input.end && !fillBuffer()) return EOF;
  const int c = static_cast<unsigned char>(input.buffer[input.start++]);
  if (c == '\n') input.lineAnswered = false;
  return c;
}

void readInputFrom(int fd) {
  input = Input();
  input.fd = fd;
}

// --- Keys ----------------------------------------------------------------

int readKey() {
  flushOutput();
  if (isTerminalInput()) {
    const int key = readTerminalKey();
    if (key == KEY_ERROR) failWith("read error", errno);
    return key;
  }
  // From a pipe or file the keys share the stream with the numbers; the line
  // end after a number (and any blank) is never a key.
  for (;;) {
    const int c = nextInputChar();
    if (c == EOF) return KEY_NONE;
    if (!isSpace(c)) return c;
  }
}

void pauseForKey() {
  printText("weiter mit bel.Taste..");
  readKey();
}

// --- Numbers -------------------------------------------------------------

namespace {

// What a scan of one entry found. A leftover is text that is no number on a
// line that has already answered a prompt.
enum class Scan { NUMBER, NOT_A_NUMBER, LEFTOVER, END_OF_INPUT };

// Drops the rest of the line, its end included; EOF if the input ends first.
int dropLine(int c) {
  while (c != '\n' && c != EOF) c = nextInputChar();
  return c;
}

// A terminal line that Ctrl-D sent on after a number and blanks ends the
// entry of that number, as it does right after the number: the blanks and
// the end of file go with it, and the next prompt waits.
void endEntryAfterBlanks() {
  if (!input.endAfterText) return;
  for (std::size_t i = input.start; i < input.end; ++i)
    if (!isSpace(static_cast<unsigned char>(input.buffer[i]))) return;
  input.start = input.end;
  input.endAfterText = false;
}

// Scans [sign] digits, and for a real also [. digits] [e [sign] digits]. The
// number must end at white space or at the end of the input; text glued to
// it is dropped with the rest of its line. Text that is no number (a lone
// sign or point, "1e") is dropped with the rest of its line too.
Scan scanOnce(NumberKind kind, Numeral& n) {
  int c;
  do c = nextInputChar();
  while (isSpace(c));
  if (c == EOF) return Scan::END_OF_INPUT;
  const bool onAnsweredLine = input.lineAnswered;
  bool number = false;
  c = scanNumeral(kind, n, c, nextInputChar, number);
  if (!number) {
    if (dropLine(c) == EOF) return Scan::END_OF_INPUT;
    return onAnsweredLine ? Scan::LEFTOVER : Scan::NOT_A_NUMBER;
  }
  // A number that ends at a blank leaves its line open for the next prompts;
  // glued text goes with the rest of the line, and the next line is fresh.
  if (isSpace(c)) {
    putBack(c);
    input.lineAnswered = true;
    endEntryAfterBlanks();
  } else if (c != EOF) {
    dropLine(c);
  }
  return Scan::NUMBER;
}

// Scans one entry. A leftover is dropped with its line, and the entry reads
// on from the next line as if nothing had been typed.
Scan scanNumber(NumberKind kind, Numeral& n) {
  for (;;) {
    n = Numeral();
    const Scan scan = scanOnce(kind, n);
    if (scan != Scan::LEFTOVER) return scan;
  }
}

NumberRead asRead(Scan scan) {
  return scan == Scan::END_OF_INPUT ? NumberRead::END_OF_INPUT : NumberRead::NOT_A_NUMBER;
}

}  // namespace

NumberRead readNumber(double& target) {
  Numeral n;
  const Scan scan = scanNumber(NumberKind::REAL, n);
  if (scan == Scan::NUMBER) target = realValue(n);
  return scan == Scan::NUMBER ? NumberRead::CONVERTED : asRead(scan);
}

NumberRead readNumber(int& target) {
  Numeral n;
  const Scan scan = scanNumber(NumberKind::INTEGER, n);
  if (scan == Scan::NUMBER) target = intValue(n);
  return scan == Scan::NUMBER ? NumberRead::CONVERTED : asRead(scan);
}
