// The program's input: one stream of typed characters that the menu's keys
// and the entry prompts' numbers share.
#pragma once

// One key without echo and without Enter, as its character code. On a
// terminal it is read from the terminal itself and leaves typed-ahead
// numbers to the next numeric entry; from a pipe or file it is the next
// character that is not white space. KEY_NONE at end of input.
int readKey();

// Prints "weiter mit bel.Taste.." and waits for one key, which is discarded.
void pauseForKey();

// How one numeric entry went.
enum class NumberRead {
  CONVERTED,     // the value was stored in the target
  NOT_A_NUMBER,  // target unchanged; the rest of the input line was dropped
  END_OF_INPUT,  // target unchanged; no more input for this entry
};

// Reads a real number: white space and line ends are skipped, and the number
// ends at white space. Text glued to it (a decimal comma, a unit) is dropped
// with the rest of its line. Text that is no number is dropped with the rest
// of its line; on a line that has already answered a prompt the entry then
// reads on from the next line. The decimal point is a point in every locale,
// an overflow gives an infinity, and any length of numeral is read in fixed
// memory and rounded correctly.
NumberRead readNumber(double& target);

// Reads an integer the same way; one outside int becomes the nearest int
// limit.
NumberRead readNumber(int& target);
