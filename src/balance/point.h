// One point of palimo-balance as one record: the design as given, its heat
// balance, and the balanced point's values twice, as the search found it
// (the screen's) and as the CSV's ten digits give it (the row's), with the
// gap, the checks and the verdict, the heat flows and the rotor's values.
// It is calculated once, by calculatePoints, and printed by the screen and
// the CSV, which calculate nothing.
#pragma once

#include <string>
#include <vector>

#include "balance/design.h"
#include "balance/fit.h"
#include "balance/refusal.h"
#include "balance/rotor.h"
#include "balance/threshold.h"

// The checks that fail, one bit each; NOT_BALANCED without a balanced point.
constexpr unsigned FAILS_H0 = 1, FAILS_LAMINAR = 2, FAILS_TEMP = 4, FAILS_LOAD = 8;
constexpr unsigned NOT_BALANCED = 16;

// A balanced point's data set and results, and what follows from them.
struct Evaluation {
  BearingData data;
  BearingResults results;
  double gap = 0;  // the sought temperature's residual, K, to the microkelvin
  Checks checks{};
  unsigned failed = NOT_BALANCED;
  double housingHeat = 0, oilHeat = 0;  // W carried off by the housing and the oil
  RotorValues rotor;                    // where the design asks for the coefficients
};

// Which values a point is wanted for: the screen shows the search's own
// balance, the CSV its ten digits; the rotor's values, some 16 films, are
// calculated for the one shown.
enum class View { SCREEN, CSV };

struct Point {
  Design design;        // with a fit, at this end's clearance
  int bandEnd = -1;     // the end of the fit's band (0 min, 1 mean, 2 max); -1 without a fit
  HeatBalance balance;  // the search, with every balance and its steps
  bool balanced = false;
  Evaluation found;     // at the search's balance; the screen's
  Evaluation row;       // as palimo calculates the row's ten digits; the CSV's
  Threshold threshold;  // with --threshold-speed, of the design at this end
};

// The points of a design: itself, or with a fit the design at the smallest,
// mean and largest clearance of its band, each balanced and evaluated for
// the view. False, with why, where the fit gives no band (a diameter
// outside the tables, an interference fit).
bool calculatePoints(const Design& design, View view, std::vector<Point>& points, Refusal* why);

// The failed checks of every point, together: a fit's band fails where any
// of its ends fails.
unsigned failedAtAny(const std::vector<Point>& points);

// The failed checks joined by '+', "ok" where none fails, "" without a
// balanced point.
std::string verdictText(unsigned failed);

// The temperature that the heat balance seeks, as the screens name it: the
// bearing's (LagerT) with the housing alone, else the oil's outlet
// temperature (OelAusT).
const char* soughtName(const Cooling& cooling);
