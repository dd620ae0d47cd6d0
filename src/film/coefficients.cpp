// The film's equilibrium at a load, its stiffness and damping by central
// differences of the film force, and Lund's threshold.
#include "film/coefficients.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// Steps of the search for the equilibrium; a secant needs about ten.
constexpr int MOST_EQUILIBRIUM_STEPS = 60;

// The film force of a model at a state, the grid clustered at
// clusterEps; the last Reynolds solution starts the next.
struct ForceSource {
  FilmModel model;
  FilmField last;
  FilmForce at(const JournalState& state, double clusterEps) {
    if (model.grid.around == 0) return shortBearingForce(model.widthRatio, state);
    FilmSetup setup;
    setup.widthRatio = model.widthRatio;
    setup.grid = model.grid;
    setup.clusterEps = clusterEps;
    last = solveFilm(setup, state, last.solved ? &last : nullptr);
    return filmForce(setup, last);
  }
};

double logit(double eps) { return std::log(eps / (1 - eps)); }
double fromLogit(double t) { return 1 / (1 + std::exp(-t)); }

// The relative eccentricity at which the film carries so: ln(|F| / so) = 0
// in t = logit(eps), by secant steps kept inside the bracket once found.
double equilibriumEps(ForceSource& source, double so, double epsGuess) {
  const double lowest = logit(LOWEST_REYNOLDS_EPS), highest = logit(HIGHEST_REYNOLDS_EPS);
  auto gap = [&](double t) {
    const double eps = fromLogit(t);
    const FilmForce f = source.at({-eps, 0, 0, 0}, eps);
    return std::log(std::hypot(f.x, f.y) / so);
  };
  double below = lowest, above = highest;  // the bracket: gap < 0 and > 0
  double t = std::clamp(logit(epsGuess), lowest, highest);
  double g = gap(t);
  double previous = NAN, gPrevious = NAN;
  for (int step = 0; step < MOST_EQUILIBRIUM_STEPS; ++step) {
    if (!std::isfinite(g)) return NAN;
    if (std::fabs(g) < 1e-12) return fromLogit(t);
    (g < 0 ? below : above) = t;
    // ln So rises with t at a slope near 1 - eps; the secant where known.
    double slope = 1 - fromLogit(t);
    if (std::isfinite(previous) && previous != t && g != gPrevious)
      slope = (g - gPrevious) / (t - previous);
    double next = t - g / std::max(slope, 1e-3);
    if (!(next > below && next < above)) next = (below + above) / 2;
    // A bracket closed on a load the film does not carry at its end: the
    // equilibrium lies beyond the range.
    if (std::fabs(next - t) < 1e-12) return std::fabs(g) < 1e-9 ? fromLogit(t) : NAN;
    previous = t;
    gPrevious = g;
    t = next;
    g = gap(t);
  }
  return NAN;
}

// Lund's rigid rotor on two like bearings.
void threshold(RotorCoefficients& r) {
  const auto& k = r.stiffness;
  const auto& c = r.damping;
  const double keq =
      (k[0][0] * c[1][1] + k[1][1] * c[0][0] - k[0][1] * c[1][0] - k[1][0] * c[0][1]) /
      (c[0][0] + c[1][1]);
  const double gamma2 = ((k[0][0] - keq) * (k[1][1] - keq) - k[0][1] * k[1][0]) /
                        (c[0][0] * c[1][1] - c[0][1] * c[1][0]);
  if (gamma2 <= 0) {
    r.whirlRatio = 0;
    r.stabilityMass = INFINITY;
  } else {
    r.whirlRatio = std::sqrt(gamma2);
    r.stabilityMass = keq / gamma2;
  }
}

}  // namespace

RotorCoefficients rotorCoefficients(const FilmModel& model, double so, double epsGuess) {
  RotorCoefficients r;
  if (!(so > 0) || !std::isfinite(so)) return r;
  ForceSource source{model, {}};
  const double eps = equilibriumEps(source, so, std::isfinite(epsGuess) ? epsGuess : 0.5);
  if (!std::isfinite(eps)) return r;
  const JournalState rest{-eps, 0, 0, 0};
  const FilmForce f0 = source.at(rest, eps);
  const FilmField equilibrium = source.last;
  const double load = std::hypot(f0.x, f0.y);
  // The load balances the film: u = -F0 / |F0|, v ahead of it.
  const double u[2] = {-f0.x / load, -f0.y / load};
  const double v[2] = {-u[1], u[0]};
  // Derivatives in the grid's frame, by central differences.
  // A step of 1 % of the eccentricity or of the narrowest gap, whichever
  // is smaller: it spans several nodes, over which the discrete film's
  // ruptured region moves node by node; a smaller step would see one
  // node's jump, a larger one the film's curvature.
  const double step = 1e-2 * std::min(eps, 1 - eps);
  double stiff[2][2], damp[2][2];
  for (int b = 0; b < 4; ++b) {
    JournalState plus = rest, minus = rest;
    double* const plusAt[] = {&plus.x, &plus.y, &plus.dx, &plus.dy};
    double* const minusAt[] = {&minus.x, &minus.y, &minus.dx, &minus.dy};
    *plusAt[b] += step;
    *minusAt[b] -= step;
    source.last = equilibrium;
    const FilmForce fp = source.at(plus, eps);
    source.last = equilibrium;
    const FilmForce fm = source.at(minus, eps);
    double(&into)[2][2] = b < 2 ? stiff : damp;
    into[0][b % 2] = -(fp.x - fm.x) / (2 * step) / load;
    into[1][b % 2] = -(fp.y - fm.y) / (2 * step) / load;
  }
  // Into the load's frame: M' = Q M Q^T with the rows of Q u and v.
  const double* const q[2] = {u, v};
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      double k = 0, c = 0;
      for (int a = 0; a < 2; ++a)
        for (int b = 0; b < 2; ++b) {
          k += q[i][a] * stiff[a][b] * q[j][b];
          c += q[i][a] * damp[a][b] * q[j][b];
        }
      r.stiffness[i][j] = k;
      r.damping[i][j] = c;
    }
  r.eps = eps;
  r.beta = std::atan2(u[1], -u[0]) * 180 / PI;
  if (model.grid.around > 0) {
    FilmSetup setup;
    setup.widthRatio = model.widthRatio;
    setup.grid = model.grid;
    setup.clusterEps = eps;
    const FilmIntegrals oil = filmIntegrals(setup, equilibrium, rest);
    r.frictionChar = oil.shear / (4 * load);
    r.endFlow = oil.endFlow / (48 * model.widthRatio);
  }
  threshold(r);
  r.solved = std::isfinite(r.whirlRatio);
  return r;
}

FilmForce shortBearingForce(double widthRatio, const JournalState& s) {
  // P = 3 (B/D)^2 (Z^2 - 1) (dH/dphi + 2 dH/dtau) / H^3 where that is
  // positive; over Z from -1 to 1 it carries -4 (B/D)^2 (...) / H^3. The
  // bracket is R sin(phi - phi0): pressure on (phi0 + pi, phi0 + 2 pi).
  const double a = s.x - 2 * s.dy, b = s.y + 2 * s.dx;
  const double r = std::hypot(a, b), phi0 = std::atan2(b, a);
  const int intervals = 4000;  // Simpson's rule, even
  const double h = PI / intervals;
  FilmForce f;
  for (int k = 0; k <= intervals; ++k) {
    const double phi = phi0 + PI + k * h;
    const double gap = 1 - s.x * std::cos(phi) - s.y * std::sin(phi);
    const double carried =
        -4 * widthRatio * widthRatio * r * std::sin(phi - phi0) / std::pow(gap, 3);
    const double weight = (k == 0 || k == intervals ? 1 : k % 2 ? 4 : 2) * h / 3;
    f.x -= carried * std::cos(phi) * weight / 4;
    f.y -= carried * std::sin(phi) * weight / 4;
  }
  return f;
}

namespace {

// Newton's steps from (x, y) and its film to where the film carries the
// load (so, 0), each step halved until the film holds and the residual
// falls. True once it is 1e-10 of the load, or as small as rounding leaves
// it (1e-8). films counts the films solved.
bool newtonSteps(const BoreSetup& setup, double so, double& x, double& y, BoreFilm& film,
                 int& films) {
  const auto residual = [&](const BoreFilm& f) { return std::hypot(f.force.x + so, f.force.y); };
  for (int step = 0; step < MOST_EQUILIBRIUM_STEPS && film.solved; ++step) {
    const double r = residual(film);
    if (r <= 1e-10 * so) return true;
    const double(&d)[4][2] = film.derivative;
    const double det = d[0][0] * d[1][1] - d[1][0] * d[0][1];
    if (!(std::fabs(det) > 0) || !std::isfinite(det)) return false;
    const double rx = film.force.x + so, ry = film.force.y;
    const double stepX = -(d[1][1] * rx - d[1][0] * ry) / det;
    const double stepY = -(-d[0][1] * rx + d[0][0] * ry) / det;
    bool taken = false;
    for (double t = 1; t > 1e-6 && !taken; t /= 2) {
      const double nx = x + t * stepX, ny = y + t * stepY;
      if (!(smallestBoreGap(setup.bore, nx, ny) > 0)) continue;
      BoreFilm trial = solveBoreFilm(setup, {nx, ny, 0, 0}, &film, RuptureEdge::AT_NODE);
      ++films;
      if (trial.solved && residual(trial) < r) {
        x = nx, y = ny, film = std::move(trial);
        taken = true;
      }
    }
    if (!taken) return r <= 1e-8 * so;
  }
  return false;
}

// The point's equilibrium, its film in film (not solved where none is
// found); the plain bore's whole point by its own solver.
BorePoint equilibrium(const BoreSetup& setup, double so, double guessX, double guessY,
                      BoreFilm& film) {
  BorePoint point;
  film.solved = false;
  if (!(so > 0) || !std::isfinite(so)) return point;
  if (isPlainBore(setup.bore)) {
    point.rotor = rotorCoefficients({setup.widthRatio, COEFFICIENT_GRID}, so,
                                    std::isfinite(guessX) ? std::hypot(guessX, guessY) : 0.5);
    point.x = point.rotor.eps * std::cos(point.rotor.beta * PI / 180);
    point.y = point.rotor.eps * std::sin(point.rotor.beta * PI / 180);
    return point;
  }
  // The load (so, 0) balances the film: the residual F + (so, 0).
  double x = std::isfinite(guessX) ? guessX : 0, y = std::isfinite(guessY) ? guessY : 0;
  if (!(smallestBoreGap(setup.bore, x, y) > 0)) x = y = 0;
  film = solveBoreFilm(setup, {x, y, 0, 0}, nullptr, RuptureEdge::AT_NODE);
  ++point.films;
  if (!newtonSteps(setup, so, x, y, film, point.films)) {
    film.solved = false;
    return point;
  }
  point.x = x, point.y = y;
  point.rotor.eps = std::hypot(x, y);
  point.rotor.beta = std::atan2(y, x) * 180 / PI;
  point.rotor.frictionChar = film.frictionChar;
  point.rotor.endFlow = film.endFlow;
  return point;
}

}  // namespace

BorePoint boreEquilibrium(const BoreSetup& setup, double so, double guessX, double guessY) {
  BoreFilm film;
  return equilibrium(setup, so, guessX, guessY, film);
}

BorePoint borePoint(const BoreSetup& setup, double so, double guessX, double guessY) {
  BoreFilm film;
  BorePoint point = equilibrium(setup, so, guessX, guessY, film);
  if (!film.solved) return point;
  // The coefficients with the rupture between the nodes: the same film, its
  // region settled in one step from its own.
  film = solveBoreFilm(setup, {point.x, point.y, 0, 0}, &film);
  ++point.films;
  if (!film.solved) return BorePoint{{}, NAN, NAN, point.films};
  RotorCoefficients& c = point.rotor;
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      c.stiffness[i][j] = -film.derivative[j][i] / so;
      c.damping[i][j] = -film.derivative[2 + j][i] / so;
    }
  threshold(c);
  c.solved = std::isfinite(c.whirlRatio);
  return point;
}
