// The operating point against its limits.
#include "calc/checks.h"

#include <cmath>

#include "calc/sommerfeld.h"
#include "calc/stages.h"

namespace {

// The Sommerfeld number at which the eccentricity reaches the transition's.
// Iteratively the film comes from the Sommerfeld function itself, and so
// does So_ue. In direct mode it comes from the direct fit where that holds
// and from the bisection where not, and eps(So) falls where the two meet:
// So_ue is the first crossing of eps_ue on that same eps(So) from the
// operating point, towards a higher So (a slower shaft) where the film is
// thicker than h0lim, towards a lower So where it is thinner. So n/n_ue
// above 1 means h0 above h0lim there too.
double transitionSommerfeld(const BearingData& data, const BearingResults& results) {
  if (data.epsMode != EPS_DIRECT) return results.soTransition;
  BearingResults trial = results;
  const double target = results.epsTransition;
  const auto thinner = [&](double logSo) {
    trial.so = std::pow(10.0, logSo);
    solveEps(data, trial);
    return !(trial.eps < target);
  };
  // Scanned in steps of a fiftieth of a decade, over the decades in which
  // eps runs from 0 to 1, then closed in by bisection.
  constexpr double STEP = 0.02, LOWEST = -20, HIGHEST = 20;
  const double start = std::log10(results.so);
  if (!(start > LOWEST && start < HIGHEST)) return results.soTransition;
  const bool thinNow = thinner(start);
  const double step = thinNow ? -STEP : STEP;
  double from = start;
  while (thinner(from + step) == thinNow) {
    from += step;
    if (from <= LOWEST) return 0;
    if (from >= HIGHEST) return INFINITY;
  }
  double to = from + step;
  for (int pass = 0; pass < 50; ++pass) {
    const double mid = 0.5 * (from + to);
    (thinner(mid) == thinNow ? from : to) = mid;
  }
  // The side on which the film is thinner than h0lim.
  return std::pow(10.0, thinNow ? from : to);
}

}  // namespace

Limits noLimits() { return {NAN, NAN}; }

Checks checkBearing(const BearingData& data, const BearingResults& results, const Limits& limits) {
  Checks checks{};
  checks.film = results.h0 >= data.h0Limit;
  checks.laminar = reynoldsConditionHolds(results);
  checks.temp = std::isnan(limits.outletTemp) || data.oilOutletTemp <= limits.outletTemp;
  checks.load = std::isnan(limits.load) || results.pressure <= limits.load;
  // So falls as 1/n: the film thins to h0lim where So has fallen to So_ue.
  const double epsUe = results.epsTransition;
  if (epsUe <= 0)
    checks.speedTransition = INFINITY;
  else if (epsUe >= 1)
    checks.speedTransition = 0;
  else
    checks.speedTransition = data.speed * results.so / transitionSommerfeld(data, results);
  return checks;
}
