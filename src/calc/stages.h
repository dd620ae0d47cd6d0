// The stages of a bearing calculation run, in the order the run calls them
// (the eccentricity stage, solveEps, is in sommerfeld.h). Each reads the data
// set and the values of the earlier stages, writes its own into results and
// prints nothing.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"

// Speeds, effective relative clearance, B/D, specific load and Sommerfeld
// number. Returns whether B/D lies within 0.125 ... 1, where the later
// approximations hold.
bool computeCharacteristics(const BearingData& data, BearingResults& results);

// Minimum film thickness and attitude angle.
void computeFilmGeometry(const BearingData& data, BearingResults& results);

// Reynolds number and its critical value, friction characteristic and
// friction power.
void computeFriction(const BearingData& data, BearingResults& results);

// Oil flows, outlet temperature of the heat balance and the transition to
// mixed friction.
void computeFlowHeatAndTransition(const BearingData& data, BearingResults& results);

// The stages after the characteristic numbers, in order: eccentricity, film
// geometry, friction, flow and heat, from the width ratio and Sommerfeld
// number in results.
void computeOperatingPoint(const BearingData& data, BearingResults& results);

// A whole run: every stage in order on fresh results. Returns false, after
// the first stage, when B/D lies outside 0.125 ... 1.
bool calculateBearing(const BearingData& data, BearingResults& results);

// Whether the gap flow stays laminar: Re_cr >= Re; false if either is not a
// number.
bool reynoldsConditionHolds(const BearingResults& results);
