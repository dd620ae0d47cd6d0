// The program's input as one stream of characters shared by keys and
// numbers, with the end of input kept once it is reached.
#pragma once

#include <cstdio>

// Reads the input from source instead of standard input, from its start of
// stream state; for driving the dialogue from a buffer.
void useInput(std::FILE* source);

// Whether the input is standard input at an interactive terminal.
bool inputIsTerminal();

// The next character of the input, or EOF. From a pipe or file, EOF stays
// once reached; from a terminal (Ctrl-D) it is reported once and the next
// call waits for input again.
int nextInputChar();

// Puts one character back, to be read next; EOF is ignored.
void putBackInputChar(int c);
