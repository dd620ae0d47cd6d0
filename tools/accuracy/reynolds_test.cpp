// The Reynolds solver of the accuracy tool: two grids agree, and a narrow
// bearing meets the short-bearing theory.
#include "reynolds.h"

#include <gtest/gtest.h>

namespace {

TEST(ReynoldsSolverTest, GridsAgreeAndNarrowBearingsMeetTheShortBearingLimit) {
  const struct {
    double widthRatio, eps, tolerance;
  } rows[] = {{1.0 / 32, 0.3, 0.01},
              {1.0 / 32, 0.6, 0.01},
              {1.0 / 32, 0.9, 0.01},
              {0.125, 0.97, 0.001},
              {1, 0.97, 0.001}};
  for (const auto& row : rows) {
    const double so = solveReynolds(row.widthRatio, row.eps, {240, 32}).so;
    const double reference = row.widthRatio < 0.1
                                 ? shortBearingSommerfeld(row.widthRatio, row.eps)
                                 : solveReynolds(row.widthRatio, row.eps, {480, 64}).so;
    EXPECT_NEAR(1, so / reference, row.tolerance) << row.widthRatio << " " << row.eps;
  }
}

}  // namespace
