// The Sommerfeld function, the eccentricity that inverts it, and the
// critical Reynolds number of the default bearing, where a value matters
// beyond the six digits that the screen shows.
#include "calc/sommerfeld.h"

#include <gtest/gtest.h>

#include "calc/stages.h"

namespace {

TEST(StagesTest, DefaultBearingSolvesTo13PassesAndLaminarFlow) {
  BearingResults r;
  const BearingData data = defaultBearingData();
  EXPECT_EQ(68, data.filmTemp);
  ASSERT_TRUE(calculateBearing(data, r));
  EXPECT_DOUBLE_EQ(0.82296240234375, r.eps);
  EXPECT_EQ(13, r.passes);
  EXPECT_NEAR(1306.02, r.reCrit, 0.005);
  EXPECT_TRUE(reynoldsConditionHolds(r));
  EXPECT_NEAR(0.0453, sommerfeldOfEps(r, 0.125), 0.0001);
  EXPECT_NEAR(990.5, sommerfeldOfEps(r, 0.999), 0.1);
}

// The eccentricity stage for a width ratio and a Sommerfeld number.
BearingResults solved(double widthRatio, double so, int epsMode) {
  BearingData data;
  data.epsMode = epsMode;
  BearingResults results;
  results.widthRatio = widthRatio;
  results.so = so;
  solveEps(data, results);
  return results;
}

double directEps(double widthRatio, double so) {
  const BearingResults results = solved(widthRatio, so, EPS_DIRECT);
  EXPECT_EQ(0, results.passes);
  return results.eps;
}

// Below the design tables' bracket the root is sought in 0 ... 0.125; where
// the direct fit gives no film or a film that thickens with the load, the
// bisection answers instead. Roots lie within the last bracket.
TEST(EpsTest, RootAtEveryLoadAndTheDirectFitOnlyWhereItHolds) {
  const double ROOT = -1;  // the root of So(eps) = So, found by bisection
  const struct {
    double widthRatio, so;
    int mode;
    double eps;
    int passes;
    double lastBracket;
  } rows[] = {{1.0, 0.001, EPS_ITERATIVE, ROOT, 13, 0.125 / 4096},
              {1.0, 0, EPS_ITERATIVE, 0, 13, 0},
              {0.6, 100, EPS_DIRECT, ROOT, 13, 0.874 / 4096},
              {1.0, 30, EPS_DIRECT, ROOT, 13, 0.874 / 4096},
              {0.5, 2.19614, EPS_DIRECT, 0.858839, 0, 5e-7}};
  for (const auto& row : rows) {
    const BearingResults r = solved(row.widthRatio, row.so, row.mode);
    EXPECT_EQ(row.passes, r.passes) << row.so;
    if (row.eps == ROOT) {
      EXPECT_LE(sommerfeldOfEps(r, r.eps), row.so) << row.so;
      EXPECT_GT(sommerfeldOfEps(r, r.eps + row.lastBracket), row.so) << row.so;
    } else {
      EXPECT_NEAR(row.eps, r.eps, row.lastBracket) << row.so;
    }
  }
}

// A width ratio on a row's upper bound belongs to that row of the direct
// fit: it gives the same eccentricity as a ratio inside the row and another
// one than a ratio just above.
TEST(EpsDirectTest, RowBoundsBelongToTheLowerRow) {
  const struct {
    double bound, inside, above;
  } rows[] = {{0.167, 0.13, 0.168},
              {0.2, 0.18, 0.21},
              {0.5, 0.45, 0.51},
              {0.75, 0.6, 0.76},
              {1.0, 0.9, 1.5}};
  for (const auto& row : rows) {
    if (row.bound < 1.0) {
      EXPECT_NE(directEps(row.bound, 2.0), directEps(row.above, 2.0)) << row.bound;
    }
    EXPECT_EQ(directEps(row.bound, 2.0), directEps(row.inside, 2.0)) << row.bound;
  }
}

// Each row of the direct fit, pinned at So 2: a wrong coefficient in any row
// moves its eccentricity.
TEST(EpsDirectTest, EachRowGivesItsEccentricity) {
  const struct {
    double widthRatio, eps;
  } rows[] = {{0.15, 0.985671469298}, {0.18, 0.934733459953}, {0.22, 0.915257183734},
              {0.3, 0.892974427938},  {0.35, 0.868824141072}, {0.45, 0.851401251820},
              {0.6, 0.825734373668},  {0.9, 0.698269495906}};
  for (const auto& row : rows)
    EXPECT_NEAR(row.eps, directEps(row.widthRatio, 2.0), 1e-11) << row.widthRatio;
}

}  // namespace
