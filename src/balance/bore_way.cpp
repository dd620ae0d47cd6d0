// A bore's operating point from its own film.
#include "balance/bore_way.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

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

// The journal's position over C_b at a point calculated by its film,
// x along the load: the start of another search near it.
void positionOf(const BearingResults& results, double& x, double& y) {
  x = results.eps * std::cos(results.beta * DEGREE);
  y = results.eps * std::sin(results.beta * DEGREE);
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
  const BorePoint point = boreEquilibrium(setupOf(way.bore, r), r.so, way.x, way.y);
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
  double x, y;
  positionOf(results, x, y);
  v.film = borePoint(setupOf(bore, results), results.so, x, y).rotor;
  scaleRotorValues(data, results, v);
  return v;
}

BoreTransition boreTransition(const Bore& bore, const BearingData& data,
                              const BearingResults& results) {
  BoreTransition t{NAN, NAN, NAN};
  const double target = data.h0Limit / (results.psi * data.diameter / 2);  // over C_b
  if (!(target > 0)) return {NAN, INFINITY, 0};  // no limit: the film never thins to it
  // Centred, every lobe leaves C_b: a limit at or above it is reached at any speed.
  if (target >= 1) return {0, 0, INFINITY};
  if (!(results.so > 0) || !std::isfinite(results.so)) return t;
  const BoreSetup setup = setupOf(bore, results);
  double x, y;
  positionOf(results, x, y);
  // log(H_min / target) at the equilibrium of So = 10^s; -inf where the
  // film carries the load nowhere, as it does once its gap has closed.
  double eps = NAN;
  const auto thickerAt = [&](double so) -> double {
    const BorePoint p = boreEquilibrium(setup, so, x, y);
    if (!std::isfinite(p.rotor.eps)) return -HUGE_VAL;
    x = p.x, y = p.y, eps = p.rotor.eps;
    return std::log(smallestBoreGap(bore, p.x, p.y) / target);
  };
  const auto thicker = [&](double s) { return thickerAt(std::pow(10.0, s)); };
  // From the operating point in steps of a third of a decade towards the
  // limit (a higher So, a slower shaft, where the film is thicker), then
  // regula falsi (Illinois) on the smooth log of the gap, halving where a
  // side has no film.
  constexpr double STEP = 1.0 / 3;
  constexpr int MOST_STEPS = 60, MOST_PASSES = 60;
  double a = std::log10(results.so), fa = thicker(a);
  if (std::isnan(fa)) return t;
  const double step = fa > 0 ? STEP : -STEP;
  double b = a, fb = fa;
  for (int k = 0; k < MOST_STEPS && (fb > 0) == (fa > 0); ++k) {
    a = b, fa = fb;
    b += step;
    fb = thicker(b);
  }
  if ((fb > 0) == (fa > 0)) return fa > 0 ? BoreTransition{NAN, INFINITY, 0} : t;
  int kept = 0;  // the side that the last passes kept, for Illinois' halving
  for (int pass = 0; pass < MOST_PASSES && std::fabs(b - a) > 1e-12; ++pass) {
    const bool finite = std::isfinite(fa) && std::isfinite(fb);
    const double m = finite ? b - fb * (b - a) / (fb - fa) : 0.5 * (a + b);
    const double fm = thicker(m);
    if (fm == 0) a = b = m;
    if ((fm > 0) == (fb > 0)) {
      b = m, fb = fm;
      if (kept == -1) fa /= 2;
      kept = -1;
    } else {
      a = m, fa = fm;
      if (kept == 1) fb /= 2;
      kept = 1;
    }
  }
  // The side on which the film is just at or thinner than the limit, to
  // eight digits: the root's last digits follow the platform's mathematical
  // library, and So ue is printed with ten. Its eccentricity is solved there.
  char text[32];
  std::snprintf(text, sizeof text, "%.8g", std::pow(10.0, fa > 0 ? b : a));
  t.so = std::strtod(text, nullptr);
  thickerAt(t.so);
  t.eps = eps;
  t.speed = data.speed * results.so / t.so;
  return t;
}
