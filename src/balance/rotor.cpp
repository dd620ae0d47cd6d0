// The film's coefficients at a balanced point, in the units of a rotor
// model.
#include "balance/rotor.h"

RotorValues rotorValues(const BearingData& data, const BearingResults& results) {
  RotorValues v;
  v.film = rotorCoefficients({results.widthRatio, COEFFICIENT_GRID}, results.so, results.eps);
  scaleRotorValues(data, results, v);
  return v;
}

void scaleRotorValues(const BearingData& data, const BearingResults& results, RotorValues& v) {
  const double force = data.load;                                   // N
  const double clearance = results.psi * data.diameter / 2 / 1000;  // radial, m
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      v.stiffness[i][j] = v.film.stiffness[i][j] * force / clearance;
      v.damping[i][j] = v.film.damping[i][j] * force / (clearance * results.omega);
    }
  v.thresholdMass = v.film.stabilityMass * force / (clearance * results.omega * results.omega);
}

void toRotorFrame(const double uv[2][2], double xy[2][2]) {
  xy[0][0] = uv[1][1];
  xy[0][1] = -uv[1][0];
  xy[1][0] = -uv[0][1];
  xy[1][1] = uv[0][0];
}
