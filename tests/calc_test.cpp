// The calculation stages on their own, where a value matters beyond the six
// digits that the screen shows.
#include <gtest/gtest.h>

#include "calc/sommerfeld.h"
#include "calc/stages.h"

namespace {

TEST(StagesTest, DefaultBearingSolvesTo13PassesAndLaminarFlow) {
  BearingResults r;
  const BearingData data = defaultBearingData();
  EXPECT_EQ(68, data.filmTemp);
  ASSERT_TRUE(computeCharacteristics(data, r));
  solveEps(data, r);
  computeFriction(data, r);
  EXPECT_DOUBLE_EQ(0.82296240234375, r.eps);
  EXPECT_EQ(13, r.passes);
  EXPECT_NEAR(1306.02, r.reCrit, 0.005);
  EXPECT_TRUE(reynoldsConditionHolds(r));
  EXPECT_NEAR(0.0453, sommerfeldOfEps(r, 0.125), 0.0001);
  EXPECT_NEAR(990.5, sommerfeldOfEps(r, 0.999), 0.1);
}

// The relative eccentricity of the direct fit for a width ratio and a
// Sommerfeld number.
double directEps(double widthRatio, double so) {
  BearingData data;
  data.epsMode = EPS_DIRECT;
  BearingResults results;
  results.widthRatio = widthRatio;
  results.so = so;
  solveEps(data, results);
  EXPECT_EQ(0, results.passes);
  return results.eps;
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

// Each row of the direct fit reaches eps 1 at its own Sommerfeld number (given
// to four digits); the last one never does and is pinned at one point. A
// wrong coefficient in any row moves these.
TEST(EpsDirectTest, EachRowGivesItsEccentricity) {
  const struct {
    double widthRatio, so, eps, tolerance;
  } rows[] = {{0.15, 2.243, 1, 1e-4}, {0.18, 3.897, 1, 1e-4},           {0.22, 5.034, 1, 1e-4},
              {0.3, 8.215, 1, 1e-4},  {0.35, 15.34, 1, 1e-4},           {0.45, 24.04, 1, 1e-4},
              {0.6, 67.06, 1, 1e-4},  {0.9, 2.0, 0.698269495906, 1e-11}};
  for (const auto& row : rows)
    EXPECT_NEAR(row.eps, directEps(row.widthRatio, row.so), row.tolerance) << row.so;
}

}  // namespace
