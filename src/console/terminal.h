// What differs between platforms in reaching the console: one file for each
// of POSIX, Windows and the browser.
#pragma once

#include <cstddef>

// What a key read returns when no further key can be had (the input ended).
constexpr int KEY_NONE = -1;
// What readTerminalKey returns when the terminal cannot be read; errno tells
// why.
constexpr int KEY_ERROR = -2;

// Readies the console for the session; called once at start.
void openConsole();

// Tells the console that the session has ended. In the browser the dialogue
// runs on after main has first handed control back to the page, so only
// this tells the page.
void closeConsole();

// Whether standard input is an interactive terminal or console window.
bool stdinIsTerminal();

// One key from the terminal, unbuffered and without echo; KEY_NONE when the
// terminal is gone, KEY_ERROR on a read error. A key that sends several
// codes (an arrow, a function key, Alt with a key, a character of several
// UTF-8 bytes such as an umlaut) is read whole and comes back as its first
// code, ESC, 0, 0xE0 or the UTF-8 lead byte, which has no command.
int readTerminalKey();

// Waits until input is there on fd and reads up to size bytes of it into
// buffer, at a terminal no more than one line. A terminal line that the
// end-of-file key (Ctrl-D) sent on before its end comes without a line end
// and shorter than size: the end of file follows it. Returns the number of
// bytes, 0 at end of file, or -1 with errno set on a read error.
long readInput(int fd, char* buffer, std::size_t size);

// Makes standard output take its bytes as they are, without the line-end
// translation of Windows' text mode, so that a file is the same everywhere.
void writeOutputAsIs();

// Writes up to size bytes of data to standard output, waiting while it
// cannot take more. Returns their number, or -1 with errno set on a write
// error.
long writeOutput(const char* data, std::size_t size);

// Turns SIGINT and SIGTERM (Ctrl-C, a kill) from ending the program at once
// into a note that stopSignalCaught reads, so that a long run can end at a
// point of its choosing.
void catchStopSignals();

// The stop signal caught since catchStopSignals, or 0.
int stopSignalCaught();

// The cores this process may run threads on, at least 1; 0 where it runs no
// threads of its own (the browser's page).
int usableCores();

// Writes the bytes as the whole file of that name, in binary, so that its
// lines end in LF everywhere; the page, which has no files, takes them as a
// download. False, with errno set, where it cannot be written.
bool writeWholeFile(const char* path, const char* data, std::size_t size);
