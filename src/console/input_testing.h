// Hooks for the tests and the fuzz target: the input read from another file,
// and the raw character stream behind keys and numbers.
#pragma once

// Reads the input from the open file descriptor fd, from a fresh state:
// nothing pending, nothing ended.
void readInputFrom(int fd);

// The next character of the input, or EOF.
int nextInputChar();
