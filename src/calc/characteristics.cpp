// First stage: the characteristic numbers of the bearing and the B/D range
// within which the later approximations hold.
#include "calc/stages.h"

bool computeCharacteristics(const BearingData& data, BearingResults& results) {
  // u in m/s from D in mm and n in 1/min; omega in 1/s.
  results.u = PI_APPROX * data.diameter * data.speed / 60000;
  results.omega = data.speed * (PI_APPROX * 2) / 60;
  // The clearance grows when the bearing expands more than the shaft above
  // the reference temperature of 20 C.
  results.psi0 = data.clearance / data.diameter;
  results.deltaPsi = (data.alphaBearing - data.alphaShaft) * (data.filmTemp - 20);
  results.psi = results.deltaPsi + results.psi0;
  results.widthRatio = data.width / data.diameter;
  results.pressure = data.load / (data.diameter * data.width);
  // 1e9 turns N/mm2 (1e6 Pa) over mPa*s (1e-3 Pa*s) into a pure number.
  results.so = 1000000000 * (results.psi * results.pressure * results.psi) /
               (results.omega * data.viscosity);

  // Tested on the unrounded ratio; a ratio that is not a number fails too.
  return 0.125 <= results.widthRatio && results.widthRatio <= 1;
}
