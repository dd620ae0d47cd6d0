// Fuzz target: the film of a bore, any bore the model takes at any B/D,
// Sommerfeld number and start, as palimo-balance's options can ask for it.
// The bytes give N, Omega, m, a, theta_0, B/D, So (1e-6 ... 1e6) and the
// start's x and y. Every point must end, without a crash or a sanitizer
// finding, and a point found must be a film: a gap on every lobe, finite
// coefficients.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "film/coefficients.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 17) return 0;
  // Eight fractions 0 ... 1, each of two bytes, after the lobes' byte.
  double u[8];
  for (int i = 0; i < 8; ++i) u[i] = (data[1 + 2 * i] << 8 | data[2 + 2 * i]) / 65535.0;
  BoreSetup setup;
  const int lobes = 1 + data[0] % 6;
  // Each value over its whole range, its ends included: an arc of 0 and a
  // preload of 1 are refused, the rest is the film's to solve.
  setup.bore = {lobes, 360.0 / lobes * u[0], u[1], u[2], 720 * u[3] - 360};
  setup.widthRatio = 0.125 + 0.875 * u[4];
  const double so = std::pow(10.0, 12 * u[5] - 6);
  if (boreOutsideModel(setup.bore)) return 0;
  const BorePoint point = borePoint(setup, so, 4 * u[6] - 2, 4 * u[7] - 2);
  if (!point.rotor.solved) return 0;
  if (!(smallestBoreGap(setup.bore, point.x, point.y) > 0)) std::abort();
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j)
      if (!std::isfinite(point.rotor.stiffness[i][j]) || !std::isfinite(point.rotor.damping[i][j]))
        std::abort();
  return 0;
}
