// Numbers as text the same on every platform: a value that is not a number
// as nan, inf or -inf, where C libraries differ; and a text as a quoted
// string.
#pragma once

#include <string>

struct Spelled {
  char text[40];
};

// The value as format (one conversion of a double) prints it.
Spelled spell(double value, const char* format = "%g");

// The same for a table's cell, with -0 (as a difference of equal values
// gives it) as 0.
Spelled spellCell(double value, const char* format);

// A text as a JSON (and TOML) basic string: quotes, backslashes and
// control characters escaped, as a user may type them.
std::string quotedText(const std::string& text);
