// The checks of an operating point against its limits, and the speed at
// which its film would thin to the smallest permissible thickness.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"

// Limits that the user gives for the bearing; not a number where not given.
// The smallest permissible film thickness is the data set's h0Limit.
struct Limits {
  double outletTemp;  // highest outlet temperature, C
  double load;        // highest specific load, N/mm2
};

// Limits with nothing given.
Limits noLimits();

// The checks of one operating point: each true where it holds.
struct Checks {
  bool film;     // h0 at least h0lim
  bool laminar;  // Re_cr at least Re, as palimo states it
  bool temp;     // outlet temperature at most its limit, or no limit given
  bool load;     // specific load at most its limit, or no limit given
  // The transition speed, 1/min: n So / So_ue, the speed at which, with the
  // same viscosity and clearance, h0 would thin to h0lim. Infinite where
  // even a centred shaft leaves less than h0lim, zero where h0lim is not
  // above zero.
  double speedTransition;
};

// Checks the operating point of a calculation run on data.
Checks checkBearing(const BearingData& data, const BearingResults& results, const Limits& limits);
