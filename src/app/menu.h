// The program's dialogue: start text, main menu loop and the calculation run.
#pragma once

#include "data/bearing_data.h"

// Runs the calculation stages on the data set, which it never changes, and
// prints their blocks: the first two, a pause, the third, a pause. Stops
// after the first block when B/D is out of range.
void runCalculation(const BearingData& data);

// The whole program: defaults, start text, menu loop. Returns the exit status, 0;
// a read or write error ends the program with 1 before.
int runProgram();
