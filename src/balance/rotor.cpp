// The film's coefficients at a balanced point, in the units of a rotor
// model.
#include "balance/rotor.h"

RotorValues rotorValues(const BearingData& data, const BearingResults& results) {
  RotorValues v;
  v.film = rotorCoefficients({results.widthRatio, COEFFICIENT_GRID}, results.so, results.eps);
  const double force = data.load;                                   // N
  const double clearance = results.psi * data.diameter / 2 / 1000;  // radial, m
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      v.stiffness[i][j] = v.film.stiffness[i][j] * force / clearance;
      v.damping[i][j] = v.film.damping[i][j] * force / (clearance * results.omega);
    }
  return v;
}
