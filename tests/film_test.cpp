// The rotor's coefficients from the Reynolds film: the short-bearing limit
// at a small B/D, a finer grid, the symmetric damping that theory gives,
// half-frequency whirl at a light load, and no values beyond the range.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "balance/rotor.h"
#include "film/coefficients.h"

namespace {

// The largest difference of the two matrices' coefficients, over the
// largest coefficient of the reference's matrix.
double matrixDifference(const RotorCoefficients& a, const RotorCoefficients& b) {
  double worst = 0;
  for (const auto member : {&RotorCoefficients::stiffness, &RotorCoefficients::damping}) {
    double largest = 0, difference = 0;
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) {
        largest = std::max(largest, std::fabs((b.*member)[i][j]));
        difference = std::max(difference, std::fabs((a.*member)[i][j] - (b.*member)[i][j]));
      }
    worst = std::max(worst, difference / largest);
  }
  return worst;
}

TEST(FilmCoefficientsTest, MeetTheShortBearingAFinerGridAndTheory) {
  const ReynoldsGrid SHORT{0, 0}, FINE{320, 32};
  const struct {
    double widthRatio, so;
    ReynoldsGrid reference;
    double whirl;  // the whirl ratio theory gives, or NAN
  } rows[] = {
      {1.0 / 32, 0.001, SHORT, NAN},  // the short-bearing theory, eps 0.42
      {1.0 / 32, 0.01, SHORT, NAN},   // eps 0.79
      {0.5, 1, FINE, NAN},            // a finer grid, eps 0.72
      {1, 10, FINE, NAN},             // eps 0.91
      {1, 0.05, SHORT, 0.5},          // half-frequency whirl at a light load
      {1.0 / 32, 0.0078, SHORT, 0},   // the short bearing stable from eps 0.756 on (0.763)
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "B/D " << row.widthRatio << ", So " << row.so);
    const RotorCoefficients r = rotorCoefficients({row.widthRatio, COEFFICIENT_GRID}, row.so, 0.5);
    ASSERT_TRUE(r.solved);
    const double dampingScale = std::max(r.damping[0][0], r.damping[1][1]);
    EXPECT_NEAR(r.damping[0][1], r.damping[1][0], 1e-3 * dampingScale);
    if (!std::isnan(row.whirl)) {
      EXPECT_NEAR(row.whirl, r.whirlRatio, 0.01);
      // Lightly loaded, the film pushes a displaced journal on, 90 degrees
      // ahead in the sense of rotation: K_uv > 0 > K_vu.
      EXPECT_TRUE(row.whirl == 0 || (r.stiffness[0][1] > 0 && r.stiffness[1][0] < 0));
      continue;
    }
    const RotorCoefficients ref = rotorCoefficients({row.widthRatio, row.reference}, row.so, r.eps);
    EXPECT_NEAR(ref.eps, r.eps, 1e-3);
    EXPECT_LT(matrixDifference(r, ref), 0.01);
  }
}

// A bore's coefficients on its grid against one of three times the
// intervals each way; what theory gives (a bore of N like lobes the same
// for theta_0 and theta_0 + 360/N, the damping symmetric); and the bores
// the model has no place for.
TEST(BoreFilmTest, MeetsAFinerGridTheoryAndItsLimits) {
  const ReynoldsGrid FINE{3 * BORE_GRID.around, 3 * BORE_GRID.across};
  const struct {
    const char* name;
    double widthRatio, so;
    double turn;  // degrees the lobes turn by, or 0: against the finer grid
  } rows[] = {
      {"two-groove", 0.5, 5, 0},  // the finer grid: eps 0.91
      {"partial", 1, 0.5, 0},
      {"lemon", 0.5, 2, 0},
      {"three-lobe", 1, 1, 120},  // the lobes turned by one lobe
      {"four-lobe", 0.5, 2, 90},
      {"offset-halves", 1, 1, 180},
      // short preloaded lobes: held at the node after the rupture, 2.6 and 4.3 %
      {"three-lobe", 1, 5, 0},
      {"four-lobe", 1, 5, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << row.name << ", B/D " << row.widthRatio << ", So " << row.so);
    BoreSetup setup;
    setup.widthRatio = row.widthRatio;
    setup.bore = findBore(row.name)->bore;
    const BorePoint point = borePoint(setup, row.so);
    const RotorCoefficients& r = point.rotor;
    ASSERT_TRUE(r.solved);
    const double dampingScale = std::max(r.damping[0][0], r.damping[1][1]);
    EXPECT_NEAR(r.damping[0][1], r.damping[1][0], 1e-9 * dampingScale);
    BoreSetup other = setup;
    if (row.turn != 0)
      other.bore.lobeAngle += row.turn;
    else
      other.grid = FINE;
    // Its film started from the region of a film elsewhere is the same
    // film, to the bit.
    const JournalState at{point.x, point.y, 0, 0};
    const BoreFilm elsewhere = solveBoreFilm(setup, {point.x / 2, point.y / 2, 0, 0});
    const BoreFilm fresh = solveBoreFilm(setup, at), started = solveBoreFilm(setup, at, &elsewhere);
    EXPECT_EQ(0, std::memcmp(fresh.derivative, started.derivative, sizeof fresh.derivative));
    EXPECT_TRUE(fresh.force.x == started.force.x && fresh.ruptured == started.ruptured);
    // The heat balance's point, the equilibrium alone, is the same point.
    const RotorCoefficients alone = boreEquilibrium(setup, row.so).rotor;
    EXPECT_TRUE(alone.eps == r.eps && alone.beta == r.beta && alone.endFlow == r.endFlow &&
                alone.frictionChar == r.frictionChar && std::isnan(alone.stiffness[0][0]));
    const BorePoint ref = borePoint(other, row.so, point.x, point.y);
    ASSERT_TRUE(ref.rotor.solved);
    EXPECT_LT(matrixDifference(r, ref.rotor), row.turn != 0 ? 1e-6 : 0.01);
    EXPECT_NEAR(ref.rotor.eps, r.eps, row.turn != 0 ? 1e-9 : 2e-3);
  }
  const struct {
    Bore bore;
    const char* outside;
  } limits[] = {
      {{0, 360, 0, 0.5, 0}, "lobes"},    {{7, 40, 0, 0.5, 0}, "lobes"},
      {{2, 181, 0, 0.5, 0}, "lobe-arc"}, {{3, 0, 0, 0.5, 0}, "lobe-arc"},
      {{2, 160, 1, 0.5, 0}, "preload"},  {{2, 160, -0.1, 0.5, 0}, "preload"},
      {{2, 160, 0.5, 1.5, 0}, "offset"}, {{2, 160, 0.5, 0.5, NAN}, "lobe-angle"},
  };
  for (const auto& limit : limits) EXPECT_STREQ(limit.outside, boreOutsideModel(limit.bore));
  // One lobe all round, its groove at the widest gap, in the ruptured
  // film: the plain bore's coefficients, by the other solver.
  for (const double so : {0.5, 5.0}) {
    BoreSetup all;
    all.bore = {1, 359.999, 0, 0.5, 0};
    const RotorCoefficients lobe = borePoint(all, so).rotor;
    const RotorCoefficients plain = rotorCoefficients({1, COEFFICIENT_GRID}, so, 0.5);
    ASSERT_TRUE(lobe.solved && plain.solved) << so;
    EXPECT_LT(matrixDifference(lobe, plain), 0.01) << so;
    EXPECT_NEAR(plain.endFlow, lobe.endFlow, 0.01 * plain.endFlow) << so;
  }
  for (int i = 0; i < NAMED_BORE_COUNT; ++i)
    EXPECT_EQ(nullptr, boreOutsideModel(NAMED_BORES[i].bore)) << NAMED_BORES[i].name;
  // A load that no film of the bore carries, and none at all.
  BoreSetup lemon;
  lemon.bore = findBore("lemon")->bore;
  for (const double so : {1e6, 0.0, double(NAN)}) {
    EXPECT_FALSE(borePoint(lemon, so).rotor.solved) << so;
    EXPECT_TRUE(std::isnan(boreEquilibrium(lemon, so).rotor.eps)) << so;
  }
}

TEST(FilmCoefficientsTest, NoValuesBeyondTheRangeOfTheEquilibrium) {
  for (const double so : {1e6, 1e-9, 0.0, -1.0, double(NAN)}) {
    const RotorCoefficients r = rotorCoefficients({1, COEFFICIENT_GRID}, so, 0.5);
    EXPECT_FALSE(r.solved) << so;
    EXPECT_TRUE(std::isnan(r.stiffness[0][0]) && std::isnan(r.whirlRatio)) << so;
  }
}

// A journal through the wall, or nowhere, has no film to solve: no force
// may come of it.
TEST(FilmSolverTest, NoFilmWhereTheGapIsNotPositive) {
  const struct {
    JournalState state;
    bool solved;
  } rows[] = {
      {{-0.5, 0, 0, 0}, true},
      {{-1.05, 0, 0, 0}, false},       // the journal through the wall
      {{0, 1.0, 0, 0}, false},         // touching it
      {{double(NAN), 0, 0, 0}, false}  // nowhere
  };
  for (const auto& row : rows) {
    FilmSetup setup;
    setup.clusterEps = 0.5;
    const FilmField f = solveFilm(setup, row.state);
    EXPECT_EQ(row.solved, f.solved) << row.state.x << " " << row.state.y;
    EXPECT_EQ(row.solved, std::isfinite(filmForce(setup, f).x)) << row.state.x;
  }
}
}  // namespace

// A rotor model's frame: x horizontal, y up against the load, the shaft
// turning from +x towards +y. Its stiffness and damping are the film's
// force on a journal displaced, or moving, along x and along y of that
// frame, taken here from the short bearing's force itself.
TEST(RotorFrameTest, IsTheForceOnADisplacedJournal) {
  const double widthRatio = 1.0 / 32;
  const RotorCoefficients r = rotorCoefficients({widthRatio, {0, 0}}, 0.004, 0.5);
  ASSERT_TRUE(r.solved);
  double k[2][2], c[2][2];
  toRotorFrame(r.stiffness, k);
  toRotorFrame(r.damping, c);
  const JournalState rest{-r.eps, 0, 0, 0};
  const FilmForce f0 = shortBearingForce(widthRatio, rest);
  const double load = std::hypot(f0.x, f0.y);
  // In the solver's frame, whose angle runs with the rotation: y is the
  // film's force (against the load), x the one turned back by 90 degrees,
  // so that turning with the rotation goes from x to y.
  const double y[2] = {f0.x / load, f0.y / load};
  const double x[2] = {y[1], -y[0]};
  const double* const axes[2] = {x, y};
  const double step = 1e-5;
  double largest = 0;
  for (const auto& m : r.stiffness)
    for (const double value : m) largest = std::max(largest, std::fabs(value));
  for (int j = 0; j < 2; ++j)
    for (const bool moving : {false, true}) {
      JournalState plus = rest, minus = rest;
      (moving ? plus.dx : plus.x) += step * axes[j][0];
      (moving ? plus.dy : plus.y) += step * axes[j][1];
      (moving ? minus.dx : minus.x) -= step * axes[j][0];
      (moving ? minus.dy : minus.y) -= step * axes[j][1];
      const FilmForce fp = shortBearingForce(widthRatio, plus);
      const FilmForce fm = shortBearingForce(widthRatio, minus);
      for (int i = 0; i < 2; ++i) {
        const double derivative =
            -((fp.x - fm.x) * axes[i][0] + (fp.y - fm.y) * axes[i][1]) / (2 * step) / load;
        EXPECT_NEAR(moving ? c[i][j] : k[i][j], derivative, 0.01 * largest)
            << (moving ? "c" : "k") << "xy"[i] << "xy"[j];
      }
    }
}
