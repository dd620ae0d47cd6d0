// The Sommerfeld number as a closed-form function of the relative
// eccentricity, and the two ways to invert it for a run's Sommerfeld number.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"

// So(eps) for the width ratio and fit coefficients in results; unguarded,
// so eps = 1 divides by zero and eps = 0 gives 0.
double sommerfeldOfEps(const BearingResults& results, double eps);

// Fits the Sommerfeld function and finds the relative eccentricity of the
// run's Sommerfeld number, by bisection or directly as data.epsMode says.
// The direct fit answers (pass count 0) only where it gives a film that
// thins as the load rises; elsewhere the bisection does (pass count 13).
void solveEps(const BearingData& data, BearingResults& results);
