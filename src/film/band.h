// A symmetric positive definite band matrix, its factor L L^T in place and
// the solution with it: the film's linear systems.
#pragma once

#include <cstddef>
#include <vector>

struct Band {
  int size = 0, width = 0;  // width: entries below the diagonal
  std::vector<double> l;    // row k holds columns k - width ... k
  // Set by factor: row k's first column that is not zero, k where the row
  // is held (a ruptured node's). Its factor's row is zero before it too.
  std::vector<int> first;
  double& at(int row, int col) { return l[slot(row * (width + 1) + col - row + width)]; }
  double at(int row, int col) const { return l[slot(row * (width + 1) + col - row + width)]; }
  static std::size_t slot(int i) { return static_cast<std::size_t>(i); }
};

// Factors the matrix in place, within each row's envelope: a ruptured
// region cuts the band, and the film beyond it is factored on its own.
// False where a pivot is not positive: the matrix is not positive
// definite, as no film with a positive gap gives it.
// Rows before start hold their factor already (their matrix is the same).
bool factor(Band& b, int start = 0);

// Solves L L^T x = x in place.
// REQUIRES: b factored, x of its size.
void solveFactored(const Band& b, std::vector<double>& x);
// The same for count right-hand sides at once, each to the same bits as
// alone; four at a time their sums interleave, quicker than one by one.
void solveFactored(const Band& b, std::vector<double>* xs, int count);
