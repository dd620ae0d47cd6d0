// The threshold speed: the speed at which the rigid rotor that a bearing
// carries loses stability, sought over the speed with the heat balance
// closed at each speed tried (the oil's viscosity, and with it So, changes
// with the speed).
#pragma once

#include "balance/design.h"

// What the search over a tenth to ten times the design's speed found.
enum class ThresholdOutcome {
  FOUND,         // stable up to `speed`, unstable beyond it
  STABLE,        // stable at every speed of the range
  UNSTABLE,      // unstable from the range's lowest speed on
  UNDETERMINED,  // at `speed` no balance or no film equilibrium, before any instability
};

struct Threshold {
  ThresholdOutcome outcome = ThresholdOutcome::UNDETERMINED;
  double speed = NAN;                  // 1/min: the threshold, or where it could not be judged
  double lowest = NAN, highest = NAN;  // the range judged, 1/min
  double mass = NAN;                   // the bearing's share of the rotor's mass, kg
};

// The lowest and the highest speed tried are the design's over and times
// this factor.
constexpr double THRESHOLD_RANGE = 10;

// The threshold is halved down to this share of itself: below the six
// digits it is printed with, as the coefficients it rests on hold about 1 %.
constexpr double THRESHOLD_TOLERANCE = 1e-7;

// Seeks the threshold of the design: on 25 speeds evenly spaced in log over
// the range, the first that is unstable, then between it and the one
// before by halving to THRESHOLD_TOLERANCE of the speed. The rotor is unstable where its
// mass exceeds the film's threshold mass at that speed. The range starts at
// the first speed at which the film has values (slow and heavily loaded,
// its equilibrium may lie beyond the eccentricities sought).
// REQUIRES: design inside the domain (inDomain), its oil resolved.
Threshold thresholdSpeed(const Design& design);
