// A study: every combination of the command line's ranges, for every case
// of a case file, a row of CSV a point.
#pragma once

#include "balance/command_line.h"
#include "balance/fit.h"

// The points of a design: itself, or with a fit's band (band not null) the
// design at each of the band's clearances; each balanced, and the checks
// that fail at any of them.
struct PointSet {
  int count = 1;
  Design points[BAND_CASES];
  HeatBalance balances[BAND_CASES];
  unsigned failed = 0;
};
void balancePoints(const Design& design, const double* band, PointSet& set);

// Runs the study of the request, its case file read a case at a time.
// Returns 0 when every point has its row, 2 when the case file fails
// (after a line on standard error), or 128 plus the signal when SIGINT or
// SIGTERM ended it after its last whole row.
int runStudy(Request& request);
