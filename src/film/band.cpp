// The band Cholesky factor, row by row; its sums in a fixed order, so that a
// film is the same to the last bit on every platform. The terms it leaves
// out, outside a row's envelope, are zeros, which change no sum.
#include "film/band.h"

#include <algorithm>
#include <cmath>

namespace {
std::size_t slot(int i) { return static_cast<std::size_t>(i); }
}  // namespace

bool factor(Band& b, int start) {
  b.first.resize(slot(b.size));
  for (int k = start; k < b.size; ++k) {
    int first = std::max(0, k - b.width);
    while (first < k && b.at(k, first) == 0) ++first;
    b.first[slot(k)] = first;
    for (int c = first; c <= k; ++c) {
      const int from = std::max(first, b.first[slot(c)]);
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

namespace {

// L L^T x = x for N right-hand sides, their sums interleaved; each in the
// same order as alone.
template <int N>
void solveSome(const Band& b, std::vector<double>* x) {
  double sum[N];
  for (int k = 0; k < b.size; ++k) {
    for (int q = 0; q < N; ++q) sum[q] = x[q][slot(k)];
    for (int c = b.first[slot(k)]; c < k; ++c) {
      const double l = b.at(k, c);
      for (int q = 0; q < N; ++q) sum[q] -= l * x[q][slot(c)];
    }
    for (int q = 0; q < N; ++q) x[q][slot(k)] = sum[q] / b.at(k, k);
  }
  for (int k = b.size - 1; k >= 0; --k) {
    for (int q = 0; q < N; ++q) sum[q] = x[q][slot(k)];
    for (int r = k + 1; r <= std::min(b.size - 1, k + b.width); ++r) {
      if (b.first[slot(r)] > k) continue;
      const double l = b.at(r, k);
      for (int q = 0; q < N; ++q) sum[q] -= l * x[q][slot(r)];
    }
    for (int q = 0; q < N; ++q) x[q][slot(k)] = sum[q] / b.at(k, k);
  }
}

}  // namespace

void solveFactored(const Band& b, std::vector<double>& x) { solveSome<1>(b, &x); }

void solveFactored(const Band& b, std::vector<double>* xs, int count) {
  for (; count >= 4; count -= 4, xs += 4) solveSome<4>(b, xs);
  for (; count > 0; --count, ++xs) solveSome<1>(b, xs);
}
