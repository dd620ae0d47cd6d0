// The Reynolds equation of a full journal bearing by finite volumes, its
// complementarity problem by primal-dual active sets, each step a banded
// Cholesky solution.
//
// With H = 1 - x cos(phi) - y sin(phi), Z = 2z/B from the middle and tau the
// time times omega, the film reads
//   d/dphi (H^3 dP/dphi) + (D/B)^2 d/dZ (H^3 dP/dZ) = 6 dH/dphi + 12 dH/dtau,
// with P = 0 at Z = 1 (and on phi = 0 with a feed), P >= 0 everywhere, and
// the equation where P > 0. Discretised it is A P = f with A symmetric and
// an M-matrix, so the active-set search ends in a few steps at the exact
// discrete solution.
#include "film/reynolds.h"

#include <algorithm>
#include <cmath>

#include "film/band.h"

namespace {

// A node's or an entry's place in its vector, from a count that is never
// negative.
size_t slot(int i) { return static_cast<size_t>(i); }

// Active-set steps before a film counts as unsettled; a few suffice.
constexpr int MOST_ACTIVE_SET_STEPS = 100;

double film(const JournalState& s, double phi) {
  return 1 - s.x * std::cos(phi) - s.y * std::sin(phi);
}

double squeeze(const JournalState& s, double phi) {
  return -s.dx * std::cos(phi) - s.dy * std::sin(phi);
}

// The finite volumes: node (i, j) at phi[i] and Z = j / across, its cell
// w[i] wide around and hz[j] across (half a cell at the middle). Flow
// conductances to the next node around and across, and the source.
struct Volumes {
  int around = 0, across = 0;
  std::vector<double> w, hz;
  std::vector<double> eastH3;  // H^3 / (phi[i+1] - phi[i]) at the face towards i + 1
  std::vector<double> northK;  // (D/B)^2 H^3 w / dz at the face towards j + 1, per i
  std::vector<double> source;  // f at (i, j)
  bool gapPositive = true;     // H > 0 all round: a film to solve
  int index(int i, int j) const { return i * across + j; }
  int next(int i) const { return i + 1 == around ? 0 : i + 1; }
  int prev(int i) const { return i == 0 ? around - 1 : i - 1; }
};

Volumes volumes(const FilmSetup& setup, const std::vector<double>& phi, const JournalState& s) {
  Volumes v;
  v.around = setup.grid.around;
  v.across = setup.grid.across;
  // The narrowest gap is 1 - |(x, y)|, wherever it falls between nodes.
  v.gapPositive = std::hypot(s.x, s.y) < 1;
  const int n = v.around;
  const double dz = 1.0 / v.across;
  const double k = 1 / (setup.widthRatio * setup.widthRatio);  // (D/B)^2
  auto at = [&](int i) { return i == n ? 2 * PI : phi[slot(i)]; };
  v.w.resize(slot(n));
  v.eastH3.resize(slot(n));
  v.northK.resize(slot(n));
  std::vector<double> faceH(slot(n));  // H at the face towards i + 1
  for (int i = 0; i < n; ++i) {
    const double gap = at(i + 1) - at(i);
    faceH[slot(i)] = film(s, at(i) + gap / 2);
    v.eastH3[slot(i)] = std::pow(faceH[slot(i)], 3) / gap;
  }
  for (int i = 0; i < n; ++i) {
    const double before = i == 0 ? 2 * PI - at(n - 1) : at(i) - at(i - 1);
    v.w[slot(i)] = (before + at(i + 1) - at(i)) / 2;
    v.northK[slot(i)] = k * std::pow(film(s, at(i)), 3) * v.w[slot(i)] / dz;
  }
  v.hz.assign(slot(v.across), dz);
  v.hz[0] = dz / 2;
  v.source.resize(slot(n * v.across));
  for (int i = 0; i < n; ++i) {
    const double rise = faceH[slot(i)] - faceH[slot(v.prev(i))];
    const double f = -(6 * rise + 12 * squeeze(s, at(i)) * v.w[slot(i)]);
    for (int j = 0; j < v.across; ++j) v.source[slot(v.index(i, j))] = f * v.hz[slot(j)];
  }
  return v;
}

// The node's neighbours and the conductance to each; the ends (Z = 1) are
// at zero pressure and appear in the diagonal only.
template <typename Visit>
double forEachNeighbour(const Volumes& v, int i, int j, Visit visit) {
  const double hz = v.hz[slot(j)];
  const double east = v.eastH3[slot(i)] * hz;
  const double west = v.eastH3[slot(v.prev(i))] * hz;
  const double north = v.northK[slot(i)];
  visit(v.index(v.next(i), j), east);
  visit(v.index(v.prev(i), j), west);
  if (j + 1 < v.across) visit(v.index(i, j + 1), north);
  if (j > 0) visit(v.index(i, j - 1), north);
  return east + west + north + (j > 0 ? north : 0);
}

// Rings of nodes are ordered 0, n-1, 1, n-2, ... so that every ring's
// neighbours, the periodic one included, lie within two rings: the band is
// two rings wide.
int ringPosition(int ring, int around) {
  return ring <= (around - 1) / 2 ? 2 * ring : 2 * (around - 1 - ring) + 1;
}

// The pressures with the ruptured nodes held at zero and the flow balanced
// at every other node; empty where the matrix has no factor.
std::vector<double> solveHeld(const Volumes& v, const std::vector<char>& ruptured) {
  const int m = v.across;
  std::vector<int> order(slot(v.around * m));  // node -> band row
  for (int i = 0; i < v.around; ++i)
    for (int j = 0; j < m; ++j) order[slot(v.index(i, j))] = ringPosition(i, v.around) * m + j;
  Band b;
  b.size = v.around * m;
  b.width = 2 * m;
  b.l.assign(slot(b.size * (b.width + 1)), 0.0);
  std::vector<double> x(slot(b.size), 0.0);
  for (int i = 0; i < v.around; ++i)
    for (int j = 0; j < m; ++j) {
      const int node = v.index(i, j);
      const int row = order[slot(node)];
      if (ruptured[slot(node)]) {
        b.at(row, row) = 1;
        continue;
      }
      b.at(row, row) = forEachNeighbour(v, i, j, [&](int other, double g) {
        const int col = order[slot(other)];
        if (col < row && !ruptured[slot(other)]) b.at(row, col) -= g;
      });
      x[slot(row)] = v.source[slot(node)];
    }
  if (!factor(b)) return {};
  solveFactored(b, x);
  std::vector<double> p(x.size());
  for (size_t node = 0; node < p.size(); ++node) p[node] = x[slot(order[node])];
  return p;
}

// The ruptured region of the grid with half the intervals each way, spread
// onto this grid: the search then starts a node or two from its end, not
// from a film that covers the whole journal. Nodes of the half grid are
// every second node of this one.
FilmField startOnHalfGrid(const FilmSetup& setup, const JournalState& state) {
  const ReynoldsGrid g = setup.grid;
  if (g.around % 2 != 0 || g.across % 2 != 0 || g.around < 32 || g.across < 4) return {};
  FilmSetup half = setup;
  half.grid = {g.around / 2, g.across / 2};
  const FilmField h = solveFilm(half, state);
  FilmField start;
  start.ruptured.resize(slot(g.around * g.across));
  auto at = [&](int i, int j) {
    return h.ruptured[slot((i % half.grid.around) * half.grid.across + j)] != 0;
  };
  for (int i = 0; i < g.around; ++i)
    for (int j = 0; j < g.across; ++j) {
      const int ci = i / 2, cj = std::min(j / 2, half.grid.across - 1);
      start.ruptured[slot(i * g.across + j)] = at(ci, cj) && (i % 2 == 0 || at(ci + 1, cj)) ? 1 : 0;
    }
  return start;
}

}  // namespace

std::vector<double> nodesAround(double clusterEps, int around) {
  const double a = 1 - std::sqrt(1 - std::min(std::fabs(clusterEps), 1.0));
  std::vector<double> phi(slot(around));
  for (int i = 0; i < around; ++i) {
    const double theta = 2 * PI * i / around;
    phi[slot(i)] = theta + a * std::sin(theta);
  }
  return phi;
}

FilmField solveFilm(const FilmSetup& setup, const JournalState& state, const FilmField* start) {
  FilmField f;
  f.phi = nodesAround(setup.clusterEps, setup.grid.around);
  const Volumes v = volumes(setup, f.phi, state);
  const size_t nodes = v.source.size();
  // Without a film, every pressure is not a number, and none is solved.
  const auto noFilm = [&]() {
    f.pressure.assign(nodes, NAN);
    f.ruptured.assign(nodes, 0);
    return f;
  };
  if (!v.gapPositive) return noFilm();
  FilmField coarse;
  if (!start || start->ruptured.size() != nodes) {
    coarse = startOnHalfGrid(setup, state);
    start = &coarse;
  }
  f.ruptured = start->ruptured.size() == nodes ? start->ruptured : std::vector<char>(nodes, 0);
  if (setup.feedAtPhiZero)
    for (int j = 0; j < v.across; ++j) f.ruptured[slot(j)] = 1;
  double sourceScale = 0;
  for (double s : v.source) sourceScale = std::max(sourceScale, std::fabs(s));
  for (int step = 0; step < MOST_ACTIVE_SET_STEPS; ++step) {
    f.pressure = solveHeld(v, f.ruptured);
    if (f.pressure.empty()) return noFilm();
    double peak = 0;
    for (double p : f.pressure) peak = std::max(peak, p);
    // A node leaves the film where its pressure would be negative, and
    // joins it again where, held at zero, more oil would flow in than out
    // (its balance's residual is negative). Rounding is no reason to move.
    bool moved = false;
    for (int i = 0; i < v.around; ++i)
      for (int j = 0; j < v.across; ++j) {
        const size_t node = slot(v.index(i, j));
        if (setup.feedAtPhiZero && i == 0) continue;
        if (!f.ruptured[node]) {
          if (f.pressure[node] < -1e-12 * peak) {
            f.ruptured[node] = 1;
            moved = true;
          }
          continue;
        }
        double inflow = 0;
        forEachNeighbour(v, i, j,
                         [&](int other, double g) { inflow += g * f.pressure[slot(other)]; });
        if (-inflow - v.source[node] < -1e-12 * sourceScale) {
          f.ruptured[node] = 0;
          moved = true;
        }
      }
    if (!moved) {
      for (double& p : f.pressure) p = std::max(0.0, p);
      f.solved = true;
      return f;
    }
  }
  return f;
}

FilmForce filmForce(const FilmSetup& setup, const FilmField& field) {
  const int m = setup.grid.across;
  const double dz = 1.0 / m;
  FilmForce force;
  if (!field.solved) {  // its pressures may be missing
    force.x = force.y = NAN;
    return force;
  }
  for (int i = 0; i < setup.grid.around; ++i) {
    const double phi = field.phi[slot(i)];
    const double after = i + 1 == setup.grid.around ? 2 * PI : field.phi[slot(i + 1)];
    const double before = i == 0 ? field.phi.back() - 2 * PI : field.phi[slot(i - 1)];
    double across = 0;  // P over Z from -1 to 1
    for (int j = 0; j < m; ++j) across += field.pressure[slot(i * m + j)] * (j == 0 ? dz : 2 * dz);
    const double area = across * (after - before) / 2;
    force.x -= area * std::cos(phi) / 4;
    force.y -= area * std::sin(phi) / 4;
  }
  return force;
}

FilmIntegrals filmIntegrals(const FilmSetup& setup, const FilmField& field,
                            const JournalState& state) {
  FilmIntegrals out;
  if (!field.solved) return out;
  const int n = setup.grid.around, m = setup.grid.across;
  const double dz = 1.0 / m;
  const auto phi = [&](int i) {  // i from -1 to n, wrapped
    return i < 0    ? field.phi[slot(n - 1)] - 2 * PI
           : i >= n ? field.phi[slot(i - n)] + 2 * PI
                    : field.phi[slot(i)];
  };
  const auto p = [&](int i, int j) { return field.pressure[slot(((i + n) % n) * m + j)]; };
  out.shear = out.endFlow = 0;
  for (int j = 0; j < m; ++j) {
    // Around from the line's highest pressure, where the film is whole.
    int top = 0;
    for (int i = 1; i < n; ++i)
      if (p(i, j) > p(top, j)) top = i;
    double whole = film(state, phi(top));
    for (int t = 0; t < n; ++t) {
      const int i = (top + t) % n;
      const double h = film(state, phi(i)), w = (phi(i + 1) - phi(i - 1)) / 2;
      double tau = 1 / h;
      if (field.ruptured[slot(i * m + j)]) {
        tau *= std::min(1.0, whole / h);
      } else {
        whole = h;
        tau += h / 2 * (p(i + 1, j) - p(i - 1, j)) / (phi(i + 1) - phi(i - 1));
      }
      out.shear += tau * w * (j == 0 ? dz : 2 * dz);
      if (j == m - 1) out.endFlow += std::pow(h, 3) * w * p(i, j) / dz;
    }
  }
  return out;
}
