// The rotor's view of a balanced bearing: the film's stiffness and damping
// at the balanced point, load-normalised and in N/m and N s/m, and the
// stability threshold.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"
#include "film/coefficients.h"

struct RotorValues {
  RotorCoefficients film;  // the film's equilibrium and normalised coefficients
  double stiffness[2][2] = {{NAN, NAN}, {NAN, NAN}};  // k_ij = K_ij F0 / c, N/m
  double damping[2][2] = {{NAN, NAN}, {NAN, NAN}};    // d_ij = C_ij F0 / (c omega), N s/m
};

// The coefficients at a calculated point: its So and B/D, the load, the
// effective clearance and the angular speed.
RotorValues rotorValues(const BearingData& data, const BearingResults& results);
