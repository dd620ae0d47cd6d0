// First stage: the characteristic numbers of the bearing and the B/D range
// within which the later approximations hold.
#include <cstdio>

#include "calc/stages.h"
#include "console/input.h"

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

  std::fputs("Ergebnisse 1.Teil\n", stdout);
  std::printf("B/D= %g\n", results.widthRatio);
  std::printf("u  = %g m/s\n", results.u);
  std::printf("p  = %g N/mm2\n", results.pressure);
  std::printf("psi= %g\n", results.psi);
  std::printf("So = %g\n", results.so);

  // Tested on the unrounded ratio; a ratio that is not a number fails too.
  if (0.125 > results.widthRatio || !(results.widthRatio <= 1)) {
    std::fputs("B/D zu klein/gross\n", stdout);
    std::fputs("0.125 >= B/D <= 1\n", stdout);
    pauseForKey();
    return false;
  }
  return true;
}
