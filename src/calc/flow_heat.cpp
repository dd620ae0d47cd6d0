// Last stage: oil flows, outlet temperature of the heat balance and the
// transition to mixed friction.
#include <cmath>

#include "calc/sommerfeld.h"
#include "calc/stages.h"

namespace {

// Pressure flow coefficient of the supply element.
double pressureFlowCoefficient(const BearingData& data, double widthRatio, double eps) {
  const double width = data.width;  // B, mm
  const double size = data.supplySize;
  if (data.supplyCase == SUPPLY_GROOVE)
    return width * ((PI_APPROX / 24) * (1 + 1.5 * std::pow(eps, 2)) / widthRatio) / (width - size);
  const double r = size / width;
  const double qH = 0.368 * r + 1.204 - 1.046 * std::pow(r, 2) + 1.942 * std::pow(r, 3);
  if (data.supplyCase == SUPPLY_HOLE_90) return (PI_APPROX / 48) / (std::log(width / size) * qH);
  return (PI_APPROX / 48) * std::pow(1 + eps, 3) / (std::log(width / size) * qH);
}

}  // namespace

void computeFlowHeatAndTransition(const BearingData& data, BearingResults& results) {
  const double b = results.widthRatio;
  const double dCm3 = std::pow(data.diameter / 10, 3);  // D in cm, cubed

  results.q3 = 0.25 * (b - 0.223 * std::pow(b, 3)) * results.eps;
  results.q1 = dCm3 * results.psi * results.omega * results.q3;
  results.qp = pressureFlowCoefficient(data, b, results.eps);
  // 1e8 turns bar (1e5 Pa) over mPa*s (1e-3 Pa*s) into 1/s.
  results.q2 = 100000000 * dCm3 * std::pow(results.psi, 3) *
               (data.supplyPressure / data.viscosity) * results.qp;
  results.q = results.q2 + results.q1;
  // The oil carries the friction heat: rho c times Q in cm3/s.
  results.outletTempCalc =
      results.frictionPower / (OIL_HEAT_CAPACITY * results.q) + data.oilInletTemp;
  // The eccentricity at which h0 would reach its permissible limit.
  results.epsTransition = 1 - 2 * data.h0Limit / (results.psi * data.diameter);
  results.soTransition = sommerfeldOfEps(results, results.epsTransition);
}
