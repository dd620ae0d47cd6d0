// Third stage: minimum film thickness and attitude angle from the relative
// eccentricity.
#include <cmath>

#include "calc/stages.h"

void computeFilmGeometry(const BearingData& data, BearingResults& results) {
  const double b = results.widthRatio;
  const double eps = results.eps;
  results.h0 = 0.5 * data.diameter * results.psi * (1 - eps);

  const double eps4 = std::pow(eps, 4);
  const double eps3 = std::pow(eps, 3);
  const double eps2 = std::pow(eps, 2);
  const double t = std::atan(std::sqrt(1 - eps * eps) * PI_APPROX / (2 * eps));
  const double p = eps4 * (6.6294 - 1.591732 * b) + eps3 * (3.424337 * b - 13.3415) +
                   eps2 * (8.73393 - 2.3291 * b) + eps * (0.798745 * b - 2.5905) +
                   (1.152624 - 0.105465 * b);
  results.beta = (180 / PI_APPROX) * (p * t);  // radians to degrees
}
