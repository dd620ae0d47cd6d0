// Fourth stage: laminar-flow check, friction characteristic and friction
// power.
#include <cmath>

#include "calc/stages.h"

void computeFriction(const BearingData& data, BearingResults& results) {
  const double d = data.diameter;
  const double b = results.widthRatio;
  results.re =
      900 * d * ((d * PI_APPROX * data.speed / 60) * results.psi) / (1000 * (2 * data.viscosity));
  // Uses the clearance as entered at 20 C, not the effective one.
  results.reCrit = 41.3 * std::sqrt(d / data.clearance);

  // Coefficients of the friction fit, each a quartic in B/D.
  const double c0 = 1.153423 - 2.69332 * b + 6.552763 * std::pow(b, 2) - 7.81938 * std::pow(b, 3) +
                    3.405146 * std::pow(b, 4);
  const double c1 = -0.7441784 + 0.104245 * b - 0.343503 * std::pow(b, 2) +
                    0.4677244 * std::pow(b, 3) - 0.215028 * std::pow(b, 4);
  const double c2 = -0.0105921 + 0.342048 * b - 0.459955 * std::pow(b, 2) +
                    0.381193 * std::pow(b, 3) - 0.1056112 * std::pow(b, 4);
  const double c3 = -0.000397154 - 0.01669 * b + 0.00966612 * std::pow(b, 2) -
                    0.0191126 * std::pow(b, 3) - 0.01094135 * std::pow(b, 4);
  const double c4 = 0.00258444 - 0.00870384 * b - 0.00157289 * std::pow(b, 2) +
                    0.01759905 * std::pow(b, 3) - 0.006688832 * std::pow(b, 4);

  const double x = std::log10(results.so);
  const double logChar =
      c0 + c1 * x + c2 * std::pow(x, 2) + c3 * std::pow(x, 3) + c4 * std::pow(x, 4);
  results.frictionChar = std::pow(10.0, logChar);
  // W from N and m/s.
  results.frictionPower = results.psi * results.frictionChar * data.load * results.u;
}

bool reynoldsConditionHolds(const BearingResults& results) { return results.reCrit >= results.re; }
