// A study: every combination of the command line's ranges, for every case
// of a case file, a row of CSV a point.
#pragma once

#include "balance/command_line.h"

// Runs the study of the request, its case file read a case at a time.
// Returns 0 when every point has its row (and a rotor file is written), 1
// when a rotor file is not (a point without its values, a file that cannot
// be written), 2 when the case file fails (each after a line on standard
// error), or 128 plus the signal when SIGINT or SIGTERM ended it after its
// last whole row.
int runStudy(Request& request);
