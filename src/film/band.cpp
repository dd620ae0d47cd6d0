// The band Cholesky factor, row by row; its sums in a fixed order, so that a
// film is the same to the last bit on every platform.
#include "film/band.h"

#include <algorithm>
#include <cmath>

namespace {
std::size_t slot(int i) { return static_cast<std::size_t>(i); }
}  // namespace

bool factor(Band& b) {
  for (int k = 0; k < b.size; ++k) {
    const int first = std::max(0, k - b.width);
    for (int c = first; c <= k; ++c) {
      const int from = std::max(first, c - b.width);
      const double* rowK = &b.l[slot(k * (b.width + 1) + from - k + b.width)];
      const double* rowC = &b.l[slot(c * (b.width + 1) + from - c + b.width)];
      double sum = b.at(k, c);
      for (int t = 0; t < c - from; ++t) sum -= rowK[t] * rowC[t];
      if (c == k && !(sum > 0 && std::isfinite(sum))) return false;
      b.at(k, c) = c == k ? std::sqrt(sum) : sum / b.at(c, c);
    }
  }
  return true;
}

void solveFactored(const Band& b, std::vector<double>& x) {
  for (int k = 0; k < b.size; ++k) {
    double sum = x[slot(k)];
    for (int c = std::max(0, k - b.width); c < k; ++c) sum -= b.at(k, c) * x[slot(c)];
    x[slot(k)] = sum / b.at(k, k);
  }
  for (int k = b.size - 1; k >= 0; --k) {
    double sum = x[slot(k)];
    for (int r = k + 1; r <= std::min(b.size - 1, k + b.width); ++r) sum -= b.at(r, k) * x[slot(r)];
    x[slot(k)] = sum / b.at(k, k);
  }
}
