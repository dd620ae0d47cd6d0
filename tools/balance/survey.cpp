// palimo_balance_survey: the heat balance over random bearings, from 20 mm
// pump bearings to 500 mm turbine bearings, with ordinary expansion
// coefficients and with shafts that expand more than their bearings. Each
// search is compared with a scan of the residual in steps of 0.01 K; the
// survey tells the balances that the search missed, the first balance where
// it is not the scan's, the gaps of the balances reported, and what a
// balance costs. With --check it fails on a missed balance, another first, or
// a transition speed that contradicts the film check.
//
// Usage: palimo_balance_survey [--bearings N] [--check]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "calc/checks.h"
#include "calc/heat_balance.h"
#include "calc/stages.h"

namespace {

// The scan of reference, K, and how near a balance of the search must lie
// to one of the scan's to be the same: the steps of the bisection's
// eccentricity make the residual cross zero several times within a tenth of
// a kelvin where it runs flat.
constexpr double FINE_STEP = 0.01;
constexpr double SAME = 0.2;

// A small generator of its own, so that every platform draws the same set.
struct Random {
  std::uint64_t state;
  double uniform(double from, double to) {
    state = state * 6364136223846793005ULL + 1442695040888963407ULL;
    return from + (to - from) * static_cast<double>(state >> 11) * 0x1.0p-53;
  }
  double logUniform(double from, double to) {
    return std::exp(uniform(std::log(from), std::log(to)));
  }
};

// A bearing of the set: diameter 20 to 500 mm, B/D 0.15 to 1, relative
// clearance 0.5 to 3 per mille, specific load 0.3 to 25 N/mm2, sliding speed
// 0.5 to 80 m/s, an ISO VG 10 to 220 oil entering at 20 to 70 C, a third
// of them in direct mode. An expanding shaft is stainless steel in steel or
// cast iron.
void drawBearing(Random& random, bool expandingShaft, BearingData& d, Oil& oil) {
  d = defaultBearingData();
  d.diameter = random.logUniform(20, 500);
  d.width = d.diameter * random.uniform(0.15, 1);
  d.clearance = d.diameter * random.logUniform(0.0005, 0.003);
  d.load = random.logUniform(0.3, 25) * d.diameter * d.width;
  d.speed = random.logUniform(0.5, 80) * 60000 / (PI_APPROX * d.diameter);
  d.oilInletTemp = random.uniform(20, 70);
  d.supplyPressure = random.logUniform(0.3, 5);
  d.supplyCase = 1 + static_cast<int>(random.uniform(0, 3));
  d.supplySize = d.width * random.uniform(0.05, 0.6);
  d.epsMode = random.uniform(0, 1) < 1.0 / 3 ? EPS_DIRECT : EPS_ITERATIVE;
  if (expandingShaft) {
    d.alphaShaft = random.uniform(1.6e-5, 1.8e-5);
    d.alphaBearing = random.uniform(1.0e-5, 1.2e-5);
  }
  const double grades[] = {10, 15, 22, 32, 46, 68, 100, 150, 220};
  oil.nu40 = grades[static_cast<int>(random.uniform(0, 9))];
  oil.nu100 = std::max(2.5, oil.nu40 * random.uniform(0.11, 0.17));
}

// Every change of sign of the residual on the fine scan of the range that
// the search takes; not where the eccentricity's method changes, which is
// a jump and no balance.
std::vector<double> scanBalances(const BearingData& bearing, const Oil& oil, double from,
                                 double to) {
  std::vector<double> found;
  BearingData d = bearing;
  BearingResults r;
  double last = NAN;
  int lastPasses = -1;
  for (double t = from; t <= to; t += FINE_STEP) {
    d.oilOutletTemp = t;
    updateFilmTemp(d);
    d.viscosity = dynamicViscosity(oil, d.filmTemp);
    calculateBearing(d, r);
    const double residual = r.psi > 0 && r.h0 > 0 ? r.outletTempCalc - t : NAN;
    if (r.passes == lastPasses && (residual > 0) != (last > 0) && !std::isnan(residual) &&
        !std::isnan(last))
      found.push_back(t);
    last = residual, lastPasses = r.passes;
  }
  return found;
}

struct Tally {
  int bearings = 0, balanced = 0, balances = 0, scanned = 0, missed = 0, otherFirst = 0;
  int overTolerance = 0, over001 = 0;
  int contradictions = 0;  // n/n_ue above 1 beside a failed h0 check, or below it beside a kept one
  double largestGap = 0, micros = 0;
  long calculations = 0;
  int mostCalculations = 0;
};

void survey(const char* name, bool expandingShaft, int count, std::uint64_t seed, Tally& t) {
  Random random{seed};
  for (int i = 0; i < count; ++i) {
    BearingData d;
    Oil oil;
    drawBearing(random, expandingShaft, d, oil);
    const auto start = std::chrono::steady_clock::now();
    const HeatBalance balance = closeHeatBalance(d, oil);
    t.micros +=
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
    ++t.bearings;
    t.calculations += balance.stepCount;
    t.mostCalculations = std::max(t.mostCalculations, balance.stepCount);
    const std::vector<double> scan = scanBalances(d, oil, balance.rangeFrom, balance.rangeTo);
    t.scanned += static_cast<int>(scan.size());
    const int kept = std::min(balance.balanceCount, MAX_BALANCES);
    for (const double at : scan) {
      bool matched = false;
      for (int k = 0; k < kept; ++k)
        matched = matched || std::fabs(balance.balances[k].outletTemp - at) <= SAME;
      if (!matched) {
        ++t.missed;
        std::printf("%s %d: missed the balance at %g C\n", name, i, at);
      }
    }
    if (balance.outcome != BalanceOutcome::BALANCED) continue;
    ++t.balanced;
    t.balances += balance.balanceCount;
    const BalancePoint& first = balance.balances[0];
    if (scan.empty() || std::fabs(first.outletTemp - scan[0]) > SAME) {
      ++t.otherFirst;
      std::printf("%s %d: first balance %g C, the scan's %g C\n", name, i, first.outletTemp,
                  scan.empty() ? NAN : scan[0]);
    }
    const Checks checks = checkBearing(balance.data, balance.results, noLimits());
    const double ratio = d.speed / checks.speedTransition;
    // The bisection's eccentricity lies up to 0.874 / 2^12 below its root:
    // within that h0 and n/n_ue may disagree.
    const BearingResults& r = balance.results;
    const bool near = std::fabs(r.h0 - d.h0Limit) <= r.psi * d.diameter / 2 * 0.874 / 4096;
    if (!near && ((ratio > 1 && !checks.film) || (ratio < 1 && r.h0 > d.h0Limit))) {
      ++t.contradictions;
      std::printf("%s %d: n/n ue= %g beside h0= %g mm, h0lim= %g mm\n", name, i, ratio,
                  balance.results.h0, d.h0Limit);
    }
    const double gap = std::fabs(first.gap);
    t.overTolerance += gap > BALANCE_TOLERANCE;
    t.over001 += gap > 0.01;
    t.largestGap = std::max(t.largestGap, gap);
  }
}

void report(const char* name, const Tally& t) {
  std::printf(
      "%s: %d bearings, %d balanced; %d balances found, %d on the 0.01 K scan, %d missed, %d "
      "with another first balance; gap above 0.001 K in %d, above 0.01 K in %d, largest %.4f "
      "K; n/n ue contradicting the h0 check in %d; %.1f calculations a search (at most %d), "
      "%.1f us\n",
      name, t.bearings, t.balanced, t.balances, t.scanned, t.missed, t.otherFirst, t.overTolerance,
      t.over001, t.largestGap, t.contradictions, static_cast<double>(t.calculations) / t.bearings,
      t.mostCalculations, t.micros / t.bearings);
}

// The computing time of one balance without the process around it.
void timeBalance(const char* name, const BearingData& data, const Oil& oil) {
  constexpr int RUNS = 20000;
  int steps = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < RUNS; ++i) steps += closeHeatBalance(data, oil).stepCount;
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  std::printf("%s: %.1f us a balance of %d calculations\n", name, spent.count() / RUNS,
              steps / RUNS);
}

}  // namespace

int main(int argc, char** argv) {
  int ordinary = 2600, expanding = 600;
  bool check = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--check") == 0) {
      check = true;
    } else if (std::strcmp(argv[i], "--bearings") == 0 && i + 1 < argc) {
      ordinary = expanding = std::atoi(argv[++i]);
    } else {
      std::fprintf(stderr, "Usage: palimo_balance_survey [--bearings N] [--check]\n");
      return 2;
    }
  }
  Tally a, b;
  survey("ordinary", false, ordinary, 1, a);
  survey("expanding shaft", true, expanding, 2, b);
  report("ordinary expansion", a);
  report("shaft expanding more than its bearing", b);
  if (!check) {
    BearingData fast = defaultBearingData();
    fast.diameter = 100, fast.width = 80, fast.clearance = 0.15, fast.load = 10000;
    fast.speed = 6000, fast.oilInletTemp = 40;
    fast.supplyCase = SUPPLY_HOLE_90, fast.supplyPressure = 2, fast.supplySize = 8;
    timeBalance("default bearing, VG 46", defaultBearingData(), {46, 6.8, 0.87});
    timeBalance("fast bearing, VG 32", fast, {32, 5.4, 0.87});
  }
  const int faults =
      a.missed + b.missed + a.otherFirst + b.otherFirst + a.contradictions + b.contradictions;
  return check && faults > 0 ? 1 : 0;
}
