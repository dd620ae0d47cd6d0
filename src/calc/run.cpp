// A whole calculation run: the stages in the order that each needs the
// values of the one before.
#include "calc/sommerfeld.h"
#include "calc/stages.h"

void computeOperatingPoint(const BearingData& data, BearingResults& results) {
  solveEps(data, results);
  computeFilmGeometry(data, results);
  computeFriction(data, results);
  computeFlowHeatAndTransition(data, results);
}

bool calculateBearing(const BearingData& data, BearingResults& results) {
  results = BearingResults();
  if (!computeCharacteristics(data, results)) return false;
  computeOperatingPoint(data, results);
  return true;
}
