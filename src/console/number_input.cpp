// Numeric entries taken apart by hand, so that no input can lead to
// undefined conversions and no typed text is lost or read twice.
#include "console/number_input.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "console/input_stream.h"

namespace {

bool isSpace(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(int c) { return c >= '0' && c <= '9'; }

// The first character after leading white space, or EOF.
int skipSpace() {
  std::fflush(stdout);  // the prompt is on the screen before the wait
  int c;
  do c = nextInputChar();
  while (isSpace(c));
  return c;
}

// Appends the digits that follow and returns the first other character.
int takeDigits(int c, std::string& token, int& count) {
  while (isDigit(c)) {
    token += static_cast<char>(c);
    ++count;
    c = nextInputChar();
  }
  return c;
}

int takeSign(int c, std::string& token) {
  if (c != '+' && c != '-') return c;
  token += static_cast<char>(c);
  return nextInputChar();
}

// Called when the characters read so far form no number: they are gone, as
// with formatted input, and so is the rest of their line, so that the text
// cannot answer the following prompts.
NumberRead rejectLine(int c) {
  while (c != '\n' && c != EOF) c = nextInputChar();
  return c == EOF ? NumberRead::END_OF_INPUT : NumberRead::NOT_A_NUMBER;
}

enum class NumberKind { INTEGER, REAL };

// Scans [sign] digits, and for a real also [. digits] [e [sign] digits],
// into token; the first character that does not fit stays pending. Returns
// false, with the line dropped into *failure, when no number was there.
bool scanNumber(NumberKind kind, std::string& token, NumberRead* failure) {
  int c = skipSpace();
  if (c == EOF) {
    *failure = NumberRead::END_OF_INPUT;
    return false;
  }
  int digits = 0;
  c = takeDigits(takeSign(c, token), token, digits);
  if (kind == NumberKind::REAL && c == '.') {
    token += '.';
    c = takeDigits(nextInputChar(), token, digits);
  }
  if (digits == 0) {
    *failure = rejectLine(c);
    return false;
  }
  if (kind == NumberKind::REAL && (c == 'e' || c == 'E')) {
    token += 'e';
    int exponentDigits = 0;
    c = takeDigits(takeSign(nextInputChar(), token), token, exponentDigits);
    if (exponentDigits == 0) {  // "1e" is no number, as scanf sees it
      *failure = rejectLine(c);
      return false;
    }
  }
  putBackInputChar(c);
  return true;
}

}  // namespace

NumberRead readNumber(double& target) {
  std::string token;
  NumberRead failure;
  if (!scanNumber(NumberKind::REAL, token, &failure)) return failure;
  // The token is plain decimal, and the program never sets a locale, so
  // strtod reads a decimal point.
  target = std::strtod(token.c_str(), nullptr);
  return NumberRead::CONVERTED;
}

NumberRead readNumber(int& target) {
  std::string token;
  NumberRead failure;
  if (!scanNumber(NumberKind::INTEGER, token, &failure)) return failure;
  const long value = std::strtol(token.c_str(), nullptr, 10);  // saturates
  if (value > INT_MAX)
    target = INT_MAX;
  else if (value < INT_MIN)
    target = INT_MIN;
  else
    target = static_cast<int>(value);
  return NumberRead::CONVERTED;
}
