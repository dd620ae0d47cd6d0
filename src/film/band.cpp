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

// L L^T x = x for N right-hand sides held side by side, x[N k + q] for
// the q-th; each one's sums in the order it would have alone.
template <int N>
void solveSome(const Band& b, double* x) {
  double sum[N];
  for (int k = 0; k < b.size; ++k) {
    for (int q = 0; q < N; ++q) sum[q] = x[N * k + q];
    for (int c = b.first[slot(k)]; c < k; ++c) {
      const double l = b.at(k, c);
      for (int q = 0; q < N; ++q) sum[q] -= l * x[N * c + q];
    }
    for (int q = 0; q < N; ++q) x[N * k + q] = sum[q] / b.at(k, k);
  }
  for (int k = b.size - 1; k >= 0; --k) {
    for (int q = 0; q < N; ++q) sum[q] = x[N * k + q];
    for (int r = k + 1; r <= std::min(b.size - 1, k + b.width); ++r) {
      if (b.first[slot(r)] > k) continue;
      const double l = b.at(r, k);
      for (int q = 0; q < N; ++q) sum[q] -= l * x[N * r + q];
    }
    for (int q = 0; q < N; ++q) x[N * k + q] = sum[q] / b.at(k, k);
  }
}

}  // namespace

void solveFactored(const Band& b, std::vector<double>& x) { solveSome<1>(b, x.data()); }

void solveFactored(const Band& b, std::vector<double>* xs, int count) {
  for (; count >= 4; count -= 4, xs += 4) {
    std::vector<double> side(slot(4 * b.size));
    for (int k = 0; k < b.size; ++k)
      for (int q = 0; q < 4; ++q) side[slot(4 * k + q)] = xs[q][slot(k)];
    solveSome<4>(b, side.data());
    for (int k = 0; k < b.size; ++k)
      for (int q = 0; q < 4; ++q) xs[q][slot(k)] = side[slot(4 * k + q)];
  }
  for (; count > 0; --count, ++xs) solveSome<1>(b, xs->data());
}
