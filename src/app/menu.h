// The program's dialogue: start text, main menu loop and the calculation run.
#pragma once

#include "data/bearing_data.h"

// Prints the ten lines that greet the user once at start.
void printStartText();

// Runs the calculation stages on the data set, which it never changes; stops
// after the first block when B/D is out of range.
void runCalculation(const BearingData& data);

// Shows the menu and dispatches one key after another until 'q' or the end
// of input.
void runMenu(BearingData& data);

// The whole program: defaults, start text, menu loop. Returns the exit status.
int runProgram();
