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
  // The bearing's share of the rotor's mass at the threshold, kg: the mass
  // parameter m c omega^2 / F0 turned into a mass.
  double thresholdMass = NAN;
};

// The coefficients at a calculated point: its So and B/D, the load, the
// effective clearance and the angular speed.
RotorValues rotorValues(const BearingData& data, const BearingResults& results);

// The dimensional values of v from its film's normalised ones.
void scaleRotorValues(const BearingData& data, const BearingResults& results, RotorValues& v);

// A matrix of the load's frame (u along the load, v 90 degrees ahead in the
// sense of rotation) in a rotor model's (x horizontal, y up, the load along
// -y, the shaft turning from +x towards +y): x is v and y is -u, so
// xy = [[vv, -vu], [-uv, uu]].
void toRotorFrame(const double uv[2][2], double xy[2][2]);
