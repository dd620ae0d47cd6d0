// Single keys from the console: the menu's key read and the pause.
#pragma once

// What readKey returns when no further key can be had (the input ended).
constexpr int KEY_NONE = -1;

// One key without echo and without Enter, as its character code. On a
// terminal it is read from the terminal itself and leaves typed-ahead
// numbers to the next numeric entry; from a pipe or file it is the next
// character that is not a space, tab or line end. KEY_NONE at end of input.
int readKey();

// Prints "weiter mit bel.Taste.." and waits for one key, which is discarded.
void pauseForKey();
