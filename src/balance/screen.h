// palimo-balance's screens, rendered from calculated points: the search
// step by step, the balances, the balanced data set and palimo's result
// blocks, the checks and the rotor's block; a fit's band side by side; and
// why a point has no balance, on standard error.
#pragma once

#include <vector>

#include "balance/point.h"

// The screen of one balanced point.
// REQUIRES: point.balanced
void printScreen(const Point& point);

// A fit's band at one design: its three balanced points side by side, the
// results that decide the design at each, its checks and the verdict.
// REQUIRES: every point balanced
void printBandScreen(const std::vector<Point>& band);

// Why the point has no balance, a line on standard error in the language;
// with a fit, which end of the band it is, first.
void tellNoBalance(const Point& point, Language language);
