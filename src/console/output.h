// The program's output: its own buffer for standard output, written out in
// full before every wait for input and whenever it fills, and the exit on a
// read or write error.
#pragma once

// Adds text to the output.
void printText(const char* text);

// Adds text formatted as printf formats it.
#ifdef __GNUC__
__attribute__((format(printf, 1, 2)))
#endif
void printFormatted(const char* format, ...);

// Puts everything printed so far on the screen, waiting while the output
// cannot take more (a terminal held by Ctrl-S, a full pipe). A write error
// ends the program.
void flushOutput();

// The name that begins the program's messages on standard error, "palimo"
// unless set.
extern const char* programName;

// One line on standard error: the program's name, ": ", the text formatted
// as printf formats it, and a line end.
#ifdef __GNUC__
__attribute__((format(printf, 1, 2)))
#endif
void tellError(const char* format, ...);

// Ends the program with status 1 and one line on standard error, such as
// "palimo: write error: No space left on device". The terminal is in the
// user's mode: key mode lasts only for one key read.
[[noreturn]] void failWith(const char* what, int error);
