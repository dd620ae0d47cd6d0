// A bearing as it is made: the fit of bore and shaft, by ISO 286 or by a
// drawing's own limit deviations, and the band of diametral clearance at
// 20 C that it allows.
#pragma once

#include <string>

#include "balance/refusal.h"

// One side of a fit: an ISO tolerance class (a letter and an IT grade), or
// its two limit deviations in micrometres as a drawing gives them.
struct FitSide {
  char letter = 0;              // 'H' for the bore; 'd' ... 'h' for the shaft; 0: own deviations
  int grade = 0;                // IT5 ... IT11
  double lower = 0, upper = 0;  // own deviations, um
};

struct Fit {
  FitSide bore;
  FitSide shaft;
};

// The three clearances of a band, mm: the smallest, the mean and the largest.
constexpr int BAND_CASES = 3;
extern const char* const BAND_CASE_NAMES[BAND_CASES];  // min, mean, max

// Reads BORE/SHAFT, each side an ISO class (H7, f7) or its limit deviations
// in um, LOWER..UPPER (0..25, -50..-25). False, with the reason, where the
// text is no fit.
bool parseFit(const std::string& text, Fit& fit, Reason* why);

// The band of diametral clearance, mm, that the fit allows at the nominal
// diameter in mm. False, with the reason, for a diameter outside the
// tables (over 3 up to 500 mm) and an interference fit, whose largest
// clearance is not above zero. A transition fit's smallest clearance is
// not above zero: that end of the band has no film.
bool clearanceBand(const Fit& fit, double diameter, double band[BAND_CASES], Reason* why);
