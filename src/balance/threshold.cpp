// The threshold speed by a scan over the speed and halving.
#include "balance/threshold.h"

#include <cmath>

#include "balance/bore_way.h"
#include "balance/rotor.h"
#include "calc/heat_balance.h"

namespace {

// Speeds scanned over the range, evenly spaced in log: a step of 21 %.
constexpr int SCAN_STEPS = 24;

constexpr double GRAVITY = 9.80665;  // m/s2, the standard gravity

// Whether the rotor is stable at the speed: 1 stable, 0 unstable, -1 no
// balance or no equilibrium to judge by.
int stableAt(const Design& design, double speed, double mass) {
  Design at = design;
  at.data.speed = speed;
  BoreWay bore{designBore(design)};
  const PointWay film = boreWay(bore);
  const bool byItsFilm = byFilm(design);
  const HeatBalance balance =
      closeHeatBalance(at.data, at.oil, at.cooling, byItsFilm ? &film : nullptr);
  if (balance.outcome != BalanceOutcome::BALANCED) return -1;
  const RotorValues rotor = byItsFilm ? boreRotorValues(bore.bore, balance.data, balance.results)
                                      : rotorValues(balance.data, balance.results);
  if (!rotor.film.solved) return -1;
  return mass <= rotor.thresholdMass ? 1 : 0;
}

}  // namespace

Threshold thresholdSpeed(const Design& design) {
  Threshold t;
  t.lowest = design.data.speed / THRESHOLD_RANGE;
  t.highest = design.data.speed * THRESHOLD_RANGE;
  t.mass = std::isnan(design.rotorMass) ? design.data.load / GRAVITY : design.rotorMass;
  const double ratio = std::pow(THRESHOLD_RANGE * THRESHOLD_RANGE, 1.0 / SCAN_STEPS);
  double below = NAN;  // the last stable speed
  for (int k = 0; k <= SCAN_STEPS; ++k) {
    const double speed = k == SCAN_STEPS ? t.highest : t.lowest * std::pow(ratio, k);
    const int stable = stableAt(design, speed, t.mass);
    // Slow, a heavy load may put the film beyond its equilibrium's range:
    // the range sought starts at the first speed judged.
    if (stable < 0 && std::isnan(below) && k < SCAN_STEPS) {
      t.lowest = speed * ratio;
      continue;
    }
    if (stable < 0) {
      t.outcome = ThresholdOutcome::UNDETERMINED;
      t.speed = speed;
      return t;
    }
    if (stable == 1) {
      below = speed;
      continue;
    }
    if (std::isnan(below)) {
      t.lowest = speed;
      t.outcome = ThresholdOutcome::UNSTABLE;
      return t;
    }
    // Halving between the last stable speed and this unstable one; a
    // speed without values in between leaves the threshold undetermined.
    double above = speed;
    while (above - below > THRESHOLD_TOLERANCE * below) {
      const double middle = std::sqrt(below * above);
      const int s = stableAt(design, middle, t.mass);
      if (s < 0) {
        t.outcome = ThresholdOutcome::UNDETERMINED;
        t.speed = middle;
        return t;
      }
      (s == 1 ? below : above) = middle;
    }
    t.outcome = ThresholdOutcome::FOUND;
    t.speed = below;
    return t;
  }
  t.outcome = ThresholdOutcome::STABLE;
  return t;
}
