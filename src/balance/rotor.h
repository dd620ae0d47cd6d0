// The rotor's view of a balanced bearing: the film's stiffness and damping
// at the balanced point, load-normalised and in N/m and N s/m, and the
// stability threshold; on the screen and as CSV cells.
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

// The block of the screen, with DIN 31652's eccentricity and attitude
// angle beside the film's own.
void printRotorBlock(const RotorValues& rotor, const BearingResults& results);

// The CSV's columns, each after a comma; and a row's cells, empty without
// values.
extern const char ROTOR_COLUMNS[];
void printRotorCells(const RotorValues* rotor);
