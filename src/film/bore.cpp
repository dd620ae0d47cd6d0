// The film of a bore, lobe by lobe: each lobe's Reynolds equation by finite
// volumes between its two grooves, which hold the ambient pressure, the
// ruptured region by primal-dual active sets as in film/reynolds.cpp, and
// the force's derivatives by Lund's perturbation: with the ruptured region
// held, d(A P)/ds = df/ds gives A dP/ds = df/ds - (dA/ds) P on the
// solution's own factor, one solution for each of x, y, dx and dy, with
// the factor's rows at the rupture made anew to hold dP/ds at zero where
// the film ruptures between the nodes.
//
// On lobe k, with theta_p its centre of curvature's angle,
//   H = 1/(1 - m) - m/(1 - m) cos(theta - theta_p) - x cos(theta) - y sin(theta),
// the grooves' lines at its ends are at zero pressure, and so is Z = 1.
#include "film/bore.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "film/band.h"

namespace {

std::size_t slot(int i) { return static_cast<std::size_t>(i); }

constexpr int MOST_ACTIVE_SET_STEPS = 100;
constexpr double DEGREE = PI / 180;

// One lobe's grid: nodes 0 ... n from one groove to the next, clustered
// where the gap is narrowest: there the pressure rises and falls the most
// steeply, and at a preloaded lobe's end the most steeply of all.
struct Lobe {
  double start = 0, arc = 0;  // theta at node 0, and the arc to node n
  double centre = 0;          // theta_p
  int n = 0;
  std::vector<double> theta;  // the nodes
  double at(int i) const { return theta[slot(i)]; }
};

// How far the nodes close up at the narrowest gap: 1 - CLUSTER of the
// uniform spacing there, 1 + CLUSTER half a lobe away.
constexpr double CLUSTER = 0.7;

double film(const Bore& bore, const Lobe& lobe, const JournalState& s, double theta);

// The lobes of the bore, their nodes clustered for the journal at s (none
// without a state).
std::vector<Lobe> lobesOf(const Bore& bore, int around, const JournalState* s = nullptr) {
  std::vector<Lobe> lobes(slot(bore.lobes));
  const double arc = bore.arc * DEGREE;
  // An even count: every second node is the coarser grid's that starts
  // the search.
  const int n = std::max(8, 2 * static_cast<int>(std::lround(around * bore.arc / 720)));
  for (int k = 0; k < bore.lobes; ++k) {
    Lobe& lobe = lobes[slot(k)];
    const double middle = (bore.lobeAngle + 360.0 * k / bore.lobes) * DEGREE;
    lobe.start = middle - arc / 2;
    lobe.arc = arc;
    lobe.n = n;
    lobe.centre = lobe.start + bore.offset * arc;
    // t* where the gap is narrowest; theta = start + arc (t - c/(2 pi)
    // (sin(2 pi (t - t*)) + sin(2 pi t*))), whose spacing is
    // 1 - c cos(2 pi (t - t*)) of the uniform one. The gap is
    // 1/(1 - m) - r cos(theta - phi), narrowest at phi, or at the lobe's end
    // nearer to it. The nodes for t* = 0 and 1 are the same to rounding, so
    // they move with the journal without a jump, and so does the film's force.
    double narrowest = 0.5;
    if (s) {
      const double lift = bore.preload / (1 - bore.preload);
      const double cx = lift * std::cos(lobe.centre) + s->x,
                   cy = lift * std::sin(lobe.centre) + s->y;
      if (cx != 0 || cy != 0) {
        // phi from the lobe's middle, within half a turn either way
        const double mid = lobe.start + arc / 2;
        const double off = std::atan2(cy * std::cos(mid) - cx * std::sin(mid),
                                      cx * std::cos(mid) + cy * std::sin(mid));
        narrowest = std::min(1.0, std::max(0.0, off / arc + 0.5));
      }
    }
    const double c = s ? CLUSTER : 0;
    lobe.theta.resize(slot(n + 1));
    for (int i = 0; i <= n; ++i) {
      const double t = static_cast<double>(i) / n;
      const double mapped =
          i == n ? 1
                 : t - c / (2 * PI) *
                           (std::sin(2 * PI * (t - narrowest)) + std::sin(2 * PI * narrowest));
      lobe.theta[slot(i)] = lobe.start + arc * mapped;
    }
  }
  return lobes;
}

double film(const Bore& bore, const Lobe& lobe, const JournalState& s, double theta) {
  const double m = bore.preload;
  return (1 - m * std::cos(theta - lobe.centre)) / (1 - m) - s.x * std::cos(theta) -
         s.y * std::sin(theta);
}

// The lobe's finite volumes at a state: node (i, j) for i = 1 ... n - 1
// and j = 0 ... across - 1 (j = 0 the middle), its row (i - 1) across + j;
// the nodes on the grooves (i = 0, n) are held at zero.
struct LobeVolumes {
  int n = 0, across = 0;
  std::vector<double> faceTheta;  // the face between i and i + 1, i = 0 ... n - 1
  std::vector<double> faceH;      // H there
  std::vector<double> east;       // H^3 / (theta_i+1 - theta_i) there
  std::vector<double> w;          // the cell of node i around, i = 0 ... n (half at the grooves)
  std::vector<double> nodeH;      // H at node i
  std::vector<double> north;      // (D/B)^2 H^3 w / dz at node i
  std::vector<double> hz;         // the cell across, half at the middle
  std::vector<double> wedge;      // the source of node i over hz: the wedge and the squeeze
  double dz = 0, k = 0;
  int row(int i, int j) const { return (i - 1) * across + j; }
  int unknowns() const { return (n - 1) * across; }
};

LobeVolumes lobeVolumes(const BoreSetup& setup, const Lobe& lobe, const JournalState& s) {
  LobeVolumes v;
  v.n = lobe.n;
  v.across = setup.grid.across;
  v.dz = 1.0 / v.across;
  v.k = 1 / (setup.widthRatio * setup.widthRatio);
  v.faceTheta.resize(slot(v.n));
  v.faceH.resize(slot(v.n));
  v.east.resize(slot(v.n));
  for (int i = 0; i < v.n; ++i) {
    const double gap = lobe.at(i + 1) - lobe.at(i);
    v.faceTheta[slot(i)] = lobe.at(i) + gap / 2;
    v.faceH[slot(i)] = film(setup.bore, lobe, s, v.faceTheta[slot(i)]);
    v.east[slot(i)] = std::pow(v.faceH[slot(i)], 3) / gap;
  }
  v.w.resize(slot(v.n + 1));
  v.nodeH.resize(slot(v.n + 1));
  v.north.resize(slot(v.n + 1));
  for (int i = 0; i <= v.n; ++i) {
    v.w[slot(i)] = (lobe.at(std::min(i + 1, v.n)) - lobe.at(std::max(i - 1, 0))) / 2;
    v.nodeH[slot(i)] = film(setup.bore, lobe, s, lobe.at(i));
    v.north[slot(i)] = v.k * std::pow(v.nodeH[slot(i)], 3) * v.w[slot(i)] / v.dz;
  }
  v.hz.assign(slot(v.across), v.dz);
  v.hz[0] = v.dz / 2;
  v.wedge.assign(slot(v.n), 0.0);
  for (int i = 1; i < v.n; ++i) {
    const double theta = lobe.at(i);
    const double squeeze = -s.dx * std::cos(theta) - s.dy * std::sin(theta);
    v.wedge[slot(i)] =
        -(6 * (v.faceH[slot(i)] - v.faceH[slot(i - 1)]) + 12 * squeeze * v.w[slot(i)]);
  }
  return v;
}

// The source of node (i, j).
double source(const LobeVolumes& v, int i, int j) { return v.wedge[slot(i)] * v.hz[slot(j)]; }

// Visits the neighbours of a node that are unknowns (not on a groove) with
// their conductance; returns the node's diagonal, the end (Z = 1) and the
// grooves included.
template <typename Visit>
double forEachNeighbour(const LobeVolumes& v, int i, int j, Visit visit) {
  const double hz = v.hz[slot(j)];
  const double east = v.east[slot(i)] * hz, west = v.east[slot(i - 1)] * hz;
  const double north = v.north[slot(i)];
  if (i + 1 < v.n) visit(i + 1, j, east);
  if (i > 1) visit(i - 1, j, west);
  if (j + 1 < v.across) visit(i, j + 1, north);
  if (j > 0) visit(i, j - 1, north);
  return east + west + north + (j > 0 ? north : 0);
}

// The band of the lobe with the ruptured nodes held at zero, factored,
// and the sources of the others. The rows before from are b's factor of
// the last region, which held the same nodes there: a row's factor
// depends on the rows before it alone. closer, where given, adds to each
// row's diagonal (see ruptureCloser).
bool assemble(const LobeVolumes& v, const char* ruptured, int from, Band& b, std::vector<double>& x,
              const std::vector<double>* closer = nullptr) {
  if (from == 0) {
    b.size = v.unknowns();
    b.width = v.across;
    b.l.assign(slot(b.size * (b.width + 1)), 0.0);
  } else {
    std::fill(b.l.begin() + static_cast<std::ptrdiff_t>(from) * (b.width + 1), b.l.end(), 0.0);
  }
  x.assign(slot(b.size), 0.0);
  for (int i = 1; i < v.n; ++i)
    for (int j = 0; j < v.across; ++j) {
      const int row = v.row(i, j);
      if (ruptured[row]) {
        if (row >= from) b.at(row, row) = 1;
        continue;
      }
      x[slot(row)] = source(v, i, j);
      if (row < from) continue;
      b.at(row, row) = forEachNeighbour(v, i, j, [&](int oi, int oj, double g) {
        const int col = v.row(oi, oj);
        if (col < row && !ruptured[col]) b.at(row, col) -= g;
      });
      if (closer) b.at(row, row) += (*closer)[slot(row)];
    }
  return factor(b, from);
}

// Settles the lobe's ruptured region from the guess in ruptured: a node
// leaves the film where its pressure would be negative, and joins it again
// where, held at zero, more oil would flow in than out. False where the
// search does not settle or the matrix has no factor; b then holds the
// factor of the last region, p its pressures.
bool settleLobe(const LobeVolumes& v, char* ruptured, Band& b, std::vector<double>& p) {
  double scale = 0;
  for (int i = 1; i < v.n; ++i)
    for (int j = 0; j < v.across; ++j) scale = std::max(scale, std::fabs(source(v, i, j)));
  int from = 0;  // the first row whose node changed sides
  for (int step = 0; step < MOST_ACTIVE_SET_STEPS; ++step) {
    if (!assemble(v, ruptured, from, b, p)) return false;
    solveFactored(b, p);
    double peak = 0;
    for (double value : p) peak = std::max(peak, value);
    from = -1;
    for (int i = 1; i < v.n; ++i)
      for (int j = 0; j < v.across; ++j) {
        const int row = v.row(i, j);
        bool turns = false;
        if (!ruptured[row]) {
          turns = p[slot(row)] < -1e-12 * peak;
        } else {
          double inflow = 0;
          forEachNeighbour(v, i, j,
                           [&](int oi, int oj, double g) { inflow += g * p[slot(v.row(oi, oj))]; });
          turns = -inflow - source(v, i, j) < -1e-12 * scale;
        }
        if (!turns) continue;
        ruptured[row] = ruptured[row] ? 0 : 1;
        if (from < 0) from = row;
      }
    if (from < 0) return true;
  }
  return false;
}

// How far beyond a node the film ruptures, in spacings to the ruptured node
// next to it: there the pressure ends as a (s_r - s)^2, so its root falls
// on a straight line through this node's and the node's before it. Held
// within a twentieth (the node then all but held at zero) and two spacings
// (an extrapolation no further); one where the pressure does not fall.
double ruptureDistance(double before, double here, double spacingBefore, double spacing) {
  const double fall = std::sqrt(before) - std::sqrt(here);
  if (!(fall > 0)) return 1;
  return std::min(2.0, std::max(0.05, std::sqrt(here) * spacingBefore / (fall * spacing)));
}

// The ruptured region's boundary between the nodes, for the force's
// derivatives: where a node in the film has a ruptured node after it,
// around or towards the end, its derivative is held at zero at the rupture
// (ruptureDistance) and not at that node, a ghost node's extrapolation:
// the conductance to the ruptured node over that distance. Without it the
// derivatives end a node beyond the rupture, an error of that node's share
// of a short lobe's pressure region that jumps as the rupture crosses a
// node. Adds to each row's diagonal in closer; returns the first row
// changed, or -1.
int ruptureCloser(const LobeVolumes& v, const Lobe& lobe, const char* ruptured,
                  const std::vector<double>& p, std::vector<double>& closer) {
  closer.assign(p.size(), 0.0);
  int first = -1;
  const auto inFilm = [&](int i, int j) { return !ruptured[v.row(i, j)]; };
  const auto at = [&](int i, int j) { return p[slot(v.row(i, j))]; };
  for (int i = 1; i < v.n; ++i)
    for (int j = 0; j < v.across; ++j) {
      if (!inFilm(i, j)) continue;
      double add = 0;
      if (i > 1 && i + 1 < v.n && inFilm(i - 1, j) && !inFilm(i + 1, j)) {
        const double d = ruptureDistance(at(i - 1, j), at(i, j), lobe.at(i) - lobe.at(i - 1),
                                         lobe.at(i + 1) - lobe.at(i));
        add += v.east[slot(i)] * v.hz[slot(j)] * (1 / d - 1);
      }
      if (j > 0 && j + 1 < v.across && inFilm(i, j - 1) && !inFilm(i, j + 1)) {
        const double d = ruptureDistance(at(i, j - 1), at(i, j), 1, 1);
        add += v.north[slot(i)] * (1 / d - 1);
      }
      if (add == 0) continue;
      closer[slot(v.row(i, j))] = add;
      if (first < 0) first = v.row(i, j);
    }
  return first;
}

// A first guess of the lobe's ruptured nodes: the settled region on half
// the intervals each way (every second node of this grid), spread onto
// this one, so that the search here moves its boundary a node or two; on
// the coarsest grid, where the gap widens (Guembel's). Without it the
// boundary moves a column of nodes a step.
void guessRuptured(const BoreSetup& setup, const Lobe& lobe, const JournalState& state,
                   char* ruptured) {
  const int n = lobe.n, m = setup.grid.across;
  if (n < 16 || n % 2 != 0 || m < 4 || m % 2 != 0) {
    const LobeVolumes v = lobeVolumes(setup, lobe, state);
    for (int i = 1; i < n; ++i)
      for (int j = 0; j < m; ++j)
        ruptured[v.row(i, j)] = v.faceH[slot(i)] > v.faceH[slot(i - 1)] ? 1 : 0;
    return;
  }
  BoreSetup half = setup;
  half.grid.across = m / 2;
  Lobe coarse = lobe;
  coarse.n = n / 2;
  coarse.theta.resize(slot(coarse.n + 1));
  for (int i = 0; i <= coarse.n; ++i) coarse.theta[slot(i)] = lobe.at(2 * i);
  std::vector<char> cut(slot((coarse.n - 1) * half.grid.across));
  guessRuptured(half, coarse, state, cut.data());
  const LobeVolumes v = lobeVolumes(half, coarse, state);
  Band b;
  std::vector<double> p;
  if (!settleLobe(v, cut.data(), b, p)) std::fill(cut.begin(), cut.end(), 0);
  // Coarse node (ci, cj), on the grooves never ruptured.
  const auto at = [&](int ci, int cj) {
    return ci > 0 && ci < coarse.n && cut[slot(v.row(ci, std::min(cj, half.grid.across - 1)))];
  };
  for (int i = 1; i < n; ++i)
    for (int j = 0; j < m; ++j)
      ruptured[(i - 1) * m + j] = at(i / 2, j / 2) && (i % 2 == 0 || at(i / 2 + 1, j / 2)) ? 1 : 0;
}

// A first guess from a film close by: each node as ruptured as the node of
// that film's lobe nearest to it around, at the same place across.
void guessFromNear(const Lobe& lobe, int across, const double* nearNodes, const char* nearRuptured,
                   char* ruptured) {
  int at = 1;
  for (int i = 1; i < lobe.n; ++i) {
    while (at + 1 < lobe.n && nearNodes[at + 1] + nearNodes[at] < 2 * lobe.at(i)) ++at;
    std::copy_n(nearRuptured + slot((at - 1) * across), across, ruptured + slot((i - 1) * across));
  }
}

// The force of a lobe's pressures (over B D eta omega / psi^2).
FilmForce forceOf(const LobeVolumes& v, const Lobe& lobe, const std::vector<double>& p) {
  FilmForce f;
  for (int i = 1; i < v.n; ++i) {
    double across = 0;  // P over Z from -1 to 1
    for (int j = 0; j < v.across; ++j) across += p[slot(v.row(i, j))] * 2 * v.hz[slot(j)];
    const double theta = lobe.at(i);
    f.x -= across * v.w[slot(i)] * std::cos(theta) / 4;
    f.y -= across * v.w[slot(i)] * std::sin(theta) / 4;
  }
  return f;
}

// dH/ds at theta for s = x, y, dx, dy (the velocities move no gap).
double gapRate(int which, double theta) {
  return which == 0 ? -std::cos(theta) : which == 1 ? -std::sin(theta) : 0;
}

// The right-hand side of dP/ds on the held region: (dA/ds) P taken from df/ds.
std::vector<double> pressureRate(const LobeVolumes& v, const Lobe& lobe, const char* ruptured,
                                 const std::vector<double>& p, int which) {
  std::vector<double> r(slot(v.unknowns()), 0.0);
  const auto at = [&](int i, int j) { return p[slot(v.row(i, j))]; };
  for (int i = 1; i < v.n; ++i) {
    const double theta = lobe.at(i);
    const double hf = v.faceH[slot(i)], hw = v.faceH[slot(i - 1)], hn = v.nodeH[slot(i)];
    const double df = gapRate(which, v.faceTheta[slot(i)]);
    const double dw = gapRate(which, v.faceTheta[slot(i - 1)]);
    const double dn = gapRate(which, theta);
    const double squeezeRate = which == 2 ? -std::cos(theta) : which == 3 ? -std::sin(theta) : 0;
    // d(H^3)/ds = 3 H^2 dH/ds, at each face
    const double gEast = 3 * hf * hf * df / (lobe.at(i + 1) - theta);
    const double gWest = 3 * hw * hw * dw / (theta - lobe.at(i - 1));
    const double gNorth = v.k * 3 * hn * hn * dn * v.w[slot(i)] / v.dz;
    for (int j = 0; j < v.across; ++j) {
      const int row = v.row(i, j);
      if (ruptured[row]) continue;
      const double hz = v.hz[slot(j)];
      const double here = at(i, j);
      double flow = gEast * hz * (here - (i + 1 < v.n ? at(i + 1, j) : 0)) +
                    gWest * hz * (here - (i > 1 ? at(i - 1, j) : 0)) +
                    gNorth * (here - (j + 1 < v.across ? at(i, j + 1) : 0));
      if (j > 0) flow += gNorth * (here - at(i, j - 1));
      const double sourceRate = -(6 * (df - dw) + 12 * squeezeRate * v.w[slot(i)]) * hz;
      r[slot(row)] = sourceRate - flow;
    }
  }
  return r;
}

// The shear on the journal over the lobe, mu/psi times 4 So: where the film
// is whole 1/H + (H/2) dP/dtheta, where it is ruptured the streamers' share
// H_r/H of the Couette shear 1/H, with H_r the gap where it ruptured.
double shearOf(const LobeVolumes& v, const Lobe& lobe, const char* ruptured,
               const std::vector<double>& p) {
  double sum = 0;
  const auto at = [&](int i, int j) { return i <= 0 || i >= v.n ? 0.0 : p[slot(v.row(i, j))]; };
  for (int j = 0; j < v.across; ++j) {
    double whole = v.nodeH[0];  // the groove floods the lobe's start
    for (int i = 0; i <= v.n; ++i) {
      const double h = v.nodeH[slot(i)];
      const bool cut = i > 0 && i < v.n && ruptured[v.row(i, j)];
      double tau = 1 / h;
      if (cut) {
        tau *= std::min(1.0, whole / h);
      } else {
        whole = h;
        if (i > 0 && i < v.n)
          tau += h / 2 * (at(i + 1, j) - at(i - 1, j)) / (lobe.at(i + 1) - lobe.at(i - 1));
      }
      const double weight = v.w[slot(i)] * 2 * v.hz[slot(j)];
      sum += tau * weight;
    }
  }
  return sum;
}

// The oil out at one of the lobe's ends, the integral of H^3 (-dP/dZ) over
// theta at Z = 1: the flow through the end's conductances over (D/B)^2.
double endFlowOf(const LobeVolumes& v, const std::vector<double>& p) {
  double sum = 0;
  for (int i = 1; i < v.n; ++i) sum += v.north[slot(i)] * p[slot(v.row(i, v.across - 1))];
  return sum / v.k;
}

}  // namespace

const NamedBore NAMED_BORES[] = {
    // name, {N, Omega, m, a, theta_0}
    {"plain", {1, 360, 0, 0.5, 0}},         {"two-groove", {2, 160, 0, 0.5, 0}},
    {"partial", {1, 150, 0, 0.5, 0}},       {"lemon", {2, 160, 0.5, 0.5, 0}},
    {"three-lobe", {3, 100, 0.5, 0.5, 60}}, {"four-lobe", {4, 70, 0.5, 0.5, 45}},
    {"offset-halves", {2, 160, 0.5, 1, 0}},
};
const int NAMED_BORE_COUNT = static_cast<int>(sizeof NAMED_BORES / sizeof NAMED_BORES[0]);

const NamedBore* findBore(const char* name) {
  for (const NamedBore& named : NAMED_BORES)
    if (std::strcmp(named.name, name) == 0) return &named;
  return nullptr;
}

bool isPlainBore(const Bore& bore) {
  return bore.lobes == 1 && bore.arc == 360 && bore.preload == 0;
}

const char* boreOutsideModel(const Bore& bore) {
  if (!(bore.lobes >= 1 && bore.lobes <= 6)) return "lobes";
  if (!(bore.arc > 0 && bore.arc <= 360.0 / bore.lobes)) return "lobe-arc";
  if (!(bore.preload >= 0 && bore.preload < 1)) return "preload";
  if (!(bore.offset >= 0 && bore.offset <= 1)) return "offset";
  if (!std::isfinite(bore.lobeAngle)) return "lobe-angle";
  return nullptr;
}

double smallestBoreGap(const Bore& bore, double x, double y) {
  double smallest = INFINITY;
  const JournalState s{x, y, 0, 0};
  for (const Lobe& lobe : lobesOf(bore, 720))
    for (int i = 0; i <= lobe.n; ++i)
      smallest = std::min(smallest, film(bore, lobe, s, lobe.at(i)));
  return smallest;
}

BoreFilm solveBoreFilm(const BoreSetup& setup, const JournalState& state, const BoreFilm* near,
                       RuptureEdge edge) {
  BoreFilm out;
  const std::vector<Lobe> lobes = lobesOf(setup.bore, setup.grid.around, &state);
  std::vector<char> ruptured(slot((lobes[0].n - 1) * setup.grid.across));
  const auto fail = [&]() {
    out.force.x = out.force.y = NAN;
    return out;
  };
  // A film near by of the same setup: as many lobes, each as many nodes.
  const bool nearBy =
      near && near->solved && near->ruptured.size() == lobes.size() * ruptured.size();
  double shear = 0;
  for (int k = 0; k < setup.bore.lobes; ++k) {
    const Lobe& lobe = lobes[slot(k)];
    const LobeVolumes v = lobeVolumes(setup, lobe, state);
    for (double h : v.nodeH)
      if (!(h > 0)) return fail();
    for (double h : v.faceH)
      if (!(h > 0)) return fail();
    Band b;
    std::vector<double> p;
    if (nearBy)
      guessFromNear(lobe, v.across, &near->nodes[slot(k) * lobe.theta.size()],
                    &near->ruptured[slot(k) * ruptured.size()], ruptured.data());
    if (!nearBy || !settleLobe(v, ruptured.data(), b, p)) {
      guessRuptured(setup, lobe, state, ruptured.data());
      if (!settleLobe(v, ruptured.data(), b, p)) return fail();
    }
    out.nodes.insert(out.nodes.end(), lobe.theta.begin(), lobe.theta.end());
    out.ruptured.insert(out.ruptured.end(), ruptured.begin(), ruptured.end());
    for (double& value : p) value = std::max(0.0, value);
    const FilmForce f = forceOf(v, lobe, p);
    out.force.x += f.x;
    out.force.y += f.y;
    std::vector<double> rates[4];
    for (int which = 0; which < 4; ++which)
      rates[which] = pressureRate(v, lobe, ruptured.data(), p, which);
    std::vector<double> closer, unused;
    const int changed = edge == RuptureEdge::BETWEEN_NODES
                            ? ruptureCloser(v, lobe, ruptured.data(), p, closer)
                            : -1;
    if (changed >= 0 && !assemble(v, ruptured.data(), changed, b, unused, &closer)) return fail();
    solveFactored(b, rates, 4);
    for (int which = 0; which < 4; ++which) {
      const FilmForce rate = forceOf(v, lobe, rates[which]);
      out.derivative[which][0] += rate.x;
      out.derivative[which][1] += rate.y;
    }
    shear += shearOf(v, lobe, ruptured.data(), p);
    out.endFlow += endFlowOf(v, p);
  }
  // mu/psi = shear / (4 So), So the film's force; both ends' flow over
  // D^3 psi omega, Q = 2 R c^3 omega / (12 psi^2) (2/B) times one end's
  // integral, is that integral over 48 B/D.
  const double so = std::hypot(out.force.x, out.force.y);
  out.frictionChar = shear / (4 * so);
  out.endFlow /= 48 * setup.widthRatio;
  out.solved = true;
  return out;
}
