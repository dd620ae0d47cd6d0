// Numbers typed at the entry prompts, read as formatted input reads them.
#pragma once

// How one numeric entry went.
enum class NumberRead {
  CONVERTED,     // the value was stored in the target
  NOT_A_NUMBER,  // target unchanged; the rest of the input line was dropped
  END_OF_INPUT,  // target unchanged; no more input for this entry
};

// Reads a real number: white space and line ends are skipped, the number
// ends at the first character that cannot continue it (a decimal comma
// too), and what follows stays pending for the next read. The decimal point
// is a point in every locale; an overflow gives an infinity.
NumberRead readNumber(double& target);

// Reads an integer the same way; one outside int becomes the nearest int
// limit.
NumberRead readNumber(int& target);
