// What differs between platforms in reaching the console.
#pragma once

// Whether standard input is an interactive terminal or console window.
bool stdinIsTerminal();

// One key from the terminal, unbuffered and without echo; KEY_NONE when the
// terminal is gone.
int readTerminalKey();
