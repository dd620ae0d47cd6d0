// A bore's operating point from its own film.
#include "balance/bore_way.h"

#include <cmath>

#include "calc/stages.h"
#include "film/coefficients.h"

namespace {

constexpr double DEGREE = PI / 180;

// The grooves at ambient pressure: fed at the supply pressure over the
// whole width, each groove's corners at the ends would pass a flow that
// grows without bound as the grid is refined (the pressure jumps there).
BoreSetup setupOf(const Bore& bore, const BearingResults& results) {
  BoreSetup setup;
  setup.widthRatio = results.widthRatio;
  setup.bore = bore;
  return setup;
}

}  // namespace

bool calculateBoreWay(const BearingData& data, BearingResults& results, void* state) {
  BoreWay& way = *static_cast<BoreWay*>(state);
  results = BearingResults();
  if (!computeCharacteristics(data, results)) return false;
  BearingResults& r = results;
  r.a1 = r.a2 = NAN;
  r.passes = 0;
  r.eps = r.beta = r.h0 = r.frictionChar = r.frictionPower = NAN;
  r.q3 = r.q1 = r.qp = r.q2 = r.q = r.outletTempCalc = NAN;
  r.epsTransition = r.soTransition = NAN;
  // Re and its critical value are the gap's, as for the plain bore.
  computeFriction(data, r);
  r.frictionChar = r.frictionPower = NAN;
  if (!(r.psi > 0) || !(r.omega > 0)) return true;
  const BorePoint point = borePoint(setupOf(way.bore, r), r.so, way.x, way.y);
  const RotorCoefficients& film = point.rotor;
  if (!std::isfinite(film.eps) || !std::isfinite(film.frictionChar)) return true;
  way.x = point.x, way.y = point.y;
  r.eps = film.eps;
  r.beta = film.beta;
  r.h0 = smallestBoreGap(way.bore, point.x, point.y) * r.psi * data.diameter / 2;
  r.frictionChar = film.frictionChar;
  r.frictionPower = r.psi * r.frictionChar * data.load * r.u;  // W
  const double dCm3 = std::pow(data.diameter / 10, 3);         // D in cm, cubed
  r.q = film.endFlow * dCm3 * r.psi * r.omega;                 // cm3/s
  r.outletTempCalc = r.frictionPower / (OIL_HEAT_CAPACITY * r.q) + data.oilInletTemp;
  return true;
}

PointWay boreWay(BoreWay& state) { return {calculateBoreWay, &state}; }

RotorValues boreRotorValues(const Bore& bore, const BearingData& data,
                            const BearingResults& results) {
  RotorValues v;
  const double guessX = results.eps * std::cos(results.beta * DEGREE);
  const double guessY = results.eps * std::sin(results.beta * DEGREE);
  v.film = borePoint(setupOf(bore, results), results.so, guessX, guessY).rotor;
  scaleRotorValues(data, results, v);
  return v;
}
