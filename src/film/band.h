// A symmetric positive definite band matrix, its factor L L^T in place and
// the solution with it: the film's linear systems.
#pragma once

#include <cstddef>
#include <vector>

struct Band {
  int size = 0, width = 0;  // width: entries below the diagonal
  std::vector<double> l;    // row k holds columns k - width ... k
  double& at(int row, int col) { return l[slot(row * (width + 1) + col - row + width)]; }
  double at(int row, int col) const { return l[slot(row * (width + 1) + col - row + width)]; }
  static std::size_t slot(int i) { return static_cast<std::size_t>(i); }
};

// Factors the matrix in place. False where a pivot is not positive: the
// matrix is not positive definite, as no film with a positive gap gives it.
bool factor(Band& b);

// Solves L L^T x = x in place.
// REQUIRES: b factored, x of its size.
void solveFactored(const Band& b, std::vector<double>& x);
