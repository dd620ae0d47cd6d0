// A bore other than the plain one, calculated by its own film: the
// operating point, its friction and its oil flow from the Reynolds
// equation of its lobes, where DIN 31652's closed forms hold for the plain
// bore alone.
#pragma once

#include "balance/rotor.h"
#include "calc/heat_balance.h"
#include "film/bore.h"

// The bore, and the journal's position at the last point calculated, which
// starts the next one's search.
struct BoreWay {
  Bore bore;
  double x = NAN, y = NAN;
};

// The operating point of the bore in state (a BoreWay): DIN's characteristic
// numbers, then from the film at its equilibrium the eccentricity and
// attitude angle (on the assembled clearance), h0 at the narrowest gap of
// any lobe, the friction and the end flow, the grooves at ambient
// pressure. Q is the oil that the film drags out at its ends, without a
// supply's pressure flow: its split (q1, q2 and their coefficients), the
// closed forms' fit coefficients and the transition to mixed friction are
// not numbers.
bool calculateBoreWay(const BearingData& data, BearingResults& results, void* state);

// The way for closeHeatBalance and calculateBy.
PointWay boreWay(BoreWay& state);

// The rotor's values of the bore at a point calculated its way.
RotorValues boreRotorValues(const Bore& bore, const BearingData& data,
                            const BearingResults& results);

// The bore's transition to mixed friction: with the same viscosity and
// clearance, the eccentricity and Sommerfeld number at which the smallest
// gap of any lobe thins to h0lim, and the speed n So / So_ue, 1/min.
// Infinite where even the centred journal leaves less than h0lim, zero where
// h0lim is not above zero; not numbers where the film has no equilibrium.
struct BoreTransition {
  double eps, so, speed;
};
BoreTransition boreTransition(const Bore& bore, const BearingData& data,
                              const BearingResults& results);
