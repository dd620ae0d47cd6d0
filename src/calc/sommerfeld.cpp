// Sommerfeld function of the relative eccentricity and its inversion by
// bisection or by the direct fit.
#include "calc/sommerfeld.h"

#include <cmath>
#include <iterator>

namespace {

// Sets the fit coefficients a1, a2 of the Sommerfeld function for the width
// ratio in results.
void fitSommerfeld(BearingResults& results) {
  const double b = results.widthRatio;
  results.a1 = 1.1642 - 1.9456 * b + 7.1161 * std::pow(b, 2) - 10.1073 * std::pow(b, 3) +
               5.0141 * std::pow(b, 4);
  results.a2 = -1.000026 - 0.023634 * b - 0.4215 * std::pow(b, 2) - 0.038817 * std::pow(b, 3) -
               0.090551 * std::pow(b, 4);
}

}  // namespace

double sommerfeldOfEps(const BearingResults& results, double eps) {
  const double b = results.widthRatio;
  const double c = 1 - eps * eps;
  return b * b * eps / (2 * c * c) * std::sqrt(PI_APPROX * PI_APPROX * c + 16 * eps * eps) *
         results.a1 * (eps - 1) / (eps + results.a2);
}

namespace {

// One row of the direct fit: log10 eps = k3 x^3 + k2 x^2 + k1 x + k0,
// x = log10 So, valid up to and including the width ratio maxRatio.
struct DirectFit {
  double maxRatio;
  double k3, k2, k1, k0;
};

// Rows in order of the width ratio; the last one takes every other B/D.
const DirectFit DIRECT_FITS[] = {
    {0.167, 0.0614368, +0.0459025, 0.0761622, -0.0350305},
    {0.2, 0.0609246, -0.0009578, 0.0644066, -0.0502757},
    {0.25, 0.0624507, -0.0251849, 0.0715752, -0.0594245},
    {0.33, 0.0608744, -0.0657667, 0.0868669, -0.0710114},
    {0.4, 0.0592091, -0.114519, 0.12953, -0.0912981},
    {0.5, 0.0583217, -0.145226, 0.168221, -0.108936},
    {0.75, 0.0545729, -0.183951, 0.228868, -0.136875},
    {1.0, 0.0191334, -0.28819, 0.50159, -0.281377},
};

const DirectFit& directFitFor(double b) {
  // The first row also starts at 0.125; a B/D below it, above 1 or not a
  // number falls through to the last row.
  const int last = static_cast<int>(std::size(DIRECT_FITS)) - 1;
  if (b >= 0.125) {
    for (int row = 0; row < last; ++row)
      if (b <= DIRECT_FITS[row].maxRatio) return DIRECT_FITS[row];
  }
  return DIRECT_FITS[last];
}

// Brackets of the bisection: the relative eccentricities of the design
// tables, and below them those of light loads.
constexpr double EPS_LIGHT = 0;
constexpr double EPS_LOW = 0.125;
constexpr double EPS_HIGH = 0.999;
// Thirteen halvings: the first count that brings the half-width of the
// bracket 0.125 ... 0.999 (0.437) below 0.0001.
constexpr int PASSES = 13;

// Halves the bracket on the side of the root of So(eps) = So, which rises
// with eps. The result is the lower end with which the last pass started,
// at most 0.874 / 2^12 below the root. A So below So(0.125), zero and
// negative ones included, is sought in 0 ... 0.125; one above the bracket
// (or infinite, or not a number) drives the result to the top.
void bisectEps(BearingResults& results) {
  const bool lightLoad = results.so < sommerfeldOfEps(results, EPS_LOW);
  double lo = lightLoad ? EPS_LIGHT : EPS_LOW;
  double hi = lightLoad ? EPS_LOW : EPS_HIGH;
  double loOfPass = lo;
  for (results.passes = 0; results.passes < PASSES; ++results.passes) {
    const double mid = (lo + hi) / 2;
    loOfPass = lo;
    if (sommerfeldOfEps(results, mid) > results.so)
      hi = mid;
    else
      lo = mid;
  }
  results.eps = loOfPass;
}

// Relative eccentricity from the fitted cubic in log10 So for this width
// ratio. Returns whether the fit holds there: it must give a film (eps below
// 1) and rise with the load (a positive slope of log eps over log So). A
// fit eps that is not a number is kept as it is.
bool epsDirect(double widthRatio, double so, double& eps) {
  const DirectFit& k = directFitFor(widthRatio);
  const double x = std::log10(so);
  const double logEps = k.k3 * std::pow(x, 3) + k.k2 * std::pow(x, 2) + k.k1 * x + k.k0;
  eps = std::pow(10.0, logEps);
  const double slope = 3 * k.k3 * x * x + 2 * k.k2 * x + k.k1;
  return !(eps >= 1 || slope <= 0);
}

}  // namespace

void solveEps(const BearingData& data, BearingResults& results) {
  fitSommerfeld(results);
  if (data.epsMode == EPS_DIRECT && epsDirect(results.widthRatio, results.so, results.eps)) return;
  bisectEps(results);
}
