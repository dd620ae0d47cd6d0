// The film of the library, fed at the widest gap, read as the design tables
// read it: load, attitude angle, friction and end flow.
#include "reynolds.h"

#include <cmath>

namespace {

// A node's or an entry's place in its vector, from a count that is never
// negative.
size_t slot(int i) { return static_cast<size_t>(i); }

}  // namespace

FilmSolution solveReynolds(double widthRatio, double eps, ReynoldsGrid grid) {
  FilmSetup setup;
  setup.widthRatio = widthRatio;
  setup.grid = grid;
  setup.clusterEps = eps;
  setup.feedAtPhiZero = true;
  // The journal displaced along -x: H = 1 + eps cos(phi), the widest gap at
  // phi = 0.
  const FilmField f = solveFilm(setup, {-eps, 0, 0, 0});
  const FilmForce force = filmForce(setup, f);
  const int m = grid.across;
  const double dz = 1.0 / m;
  double endFlow = 0;
  for (int i = 1; i < grid.around; ++i) {
    const double phi = f.phi[slot(i)];
    const double after = i + 1 == grid.around ? 2 * PI : f.phi[slot(i + 1)];
    const double dphi = (after - f.phi[slot(i - 1)]) / 2;
    auto p = [&](int j) { return f.pressure[slot(i * m + j)]; };
    // dP/dZ at the end, second order from the two nodes inside.
    const double slope = (-4 * p(m - 1) + p(m - 2)) / (2 * dz);
    endFlow += std::pow(1 + eps * std::cos(phi), 3) * slope * dphi;
  }
  // The force on the journal is -(cosine, sine) / 4 of the pressure's
  // moments.
  const double cosine = -4 * force.x, sine = -4 * force.y;
  const double load = std::hypot(cosine, sine);
  FilmSolution s;
  s.so = load / 4;
  s.beta = std::atan2(sine, -cosine) * 180 / PI;
  // Couette shear 1/H over the whole film, exactly, and the pressure term
  // H/2 dP/dphi, which integrates by parts to eps/2 P sin(phi).
  s.friction = (4 * PI / std::sqrt(1 - eps * eps) + eps / 2 * sine) / load;
  s.q3 = -endFlow / (48 * widthRatio);
  return s;
}

double shortBearingSommerfeld(double widthRatio, double eps) {
  const double c = 1 - eps * eps;
  return widthRatio * widthRatio * eps * std::sqrt(PI * PI * c + 16 * eps * eps) / (2 * c * c);
}
