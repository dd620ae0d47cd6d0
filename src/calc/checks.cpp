// The operating point against its limits.
#include "calc/checks.h"

#include <cmath>

#include "calc/stages.h"

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
    checks.speedTransition = data.speed * results.so / results.soTransition;
  return checks;
}

bool allHold(const Checks& checks) {
  return checks.film && checks.laminar && checks.temp && checks.load;
}
