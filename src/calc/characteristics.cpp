// First stage: the characteristic numbers of the bearing and the B/D range
// within which the later approximations hold.
#include <cstdio>

#include "calc/stages.h"
#include "console/keys.h"

bool computeCharacteristics(const BearingData& data, BearingResults& r) {
  // u in m/s from D in mm and n in 1/min; omega in 1/s.
  r.u = PI_APPROX * data.diameter * data.speed / 60000;
  r.omega = data.speed * (PI_APPROX * 2) / 60;
  // The clearance grows when the bearing expands more than the shaft above
  // the reference temperature of 20 C.
  r.psi0 = data.clearance / data.diameter;
  r.deltaPsi = (data.alphaBearing - data.alphaShaft) * (data.filmTemp - 20);
  r.psi = r.deltaPsi + r.psi0;
  r.widthRatio = data.width / data.diameter;
  r.pressure = data.load / (data.diameter * data.width);
  // 1e9 turns N/mm2 (1e6 Pa) over mPa*s (1e-3 Pa*s) into a pure number.
  r.so = 1000000000 * (r.psi * r.pressure * r.psi) / (r.omega * data.viscosity);

  std::printf("Ergebnisse 1.Teil\n");
  std::printf("B/D= %g\n", r.widthRatio);
  std::printf("u  = %g m/s\n", r.u);
  std::printf("p  = %g N/mm2\n", r.pressure);
  std::printf("psi= %g\n", r.psi);
  std::printf("So = %g\n", r.so);

  // Tested on the unrounded ratio; a ratio that is not a number fails too.
  if (0.125 > r.widthRatio || !(r.widthRatio <= 1)) {
    std::printf("B/D zu klein/gross\n");
    std::printf("0.125 >= B/D <= 1\n");
    pauseForKey();
    return false;
  }
  return true;
}
