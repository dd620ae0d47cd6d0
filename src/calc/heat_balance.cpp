// The oil's viscosity over temperature, and the search for the outlet
// temperature at which the heat balance closes.
#include "calc/heat_balance.h"

#include <cmath>

#include "calc/stages.h"

namespace {

constexpr double KELVIN = 273.15;  // 0 C in K

// Walther's double logarithm of a kinematic viscosity in mm2/s.
double walther(double nu) { return std::log10(std::log10(nu + 0.7)); }

// Calculates with the assumed outlet temperature and records the step.
// Returns the calculated minus the assumed outlet temperature.
double evaluate(HeatBalance& balance, const Oil& oil, double assumedOutlet) {
  BearingData& data = balance.data;
  data.oilOutletTemp = assumedOutlet;
  updateFilmTemp(data);
  data.viscosity = dynamicViscosity(oil, data.filmTemp);
  if (!calculateBearing(data, balance.results)) {
    balance.end = BalanceEnd::WIDTH_RATIO;
    return NAN;
  }
  const double calculated = balance.results.outletTempCalc;
  balance.steps[balance.stepCount++] = {assumedOutlet, data.filmTemp, data.viscosity, calculated};
  return calculated - assumedOutlet;
}

// How a step's difference ends the search, or false if it goes on.
bool ends(HeatBalance& balance, double difference) {
  if (balance.end == BalanceEnd::WIDTH_RATIO) return true;
  if (std::isnan(difference)) {
    balance.end = BalanceEnd::NOT_A_NUMBER;
    return true;
  }
  if (std::fabs(difference) <= BALANCE_TOLERANCE) {
    balance.end = BalanceEnd::BALANCED;
    return true;
  }
  return false;
}

}  // namespace

double kinematicViscosity(const Oil& oil, double tempC) {
  const double t40 = std::log10(40 + KELVIN);
  const double t100 = std::log10(100 + KELVIN);
  const double b = (walther(oil.nu40) - walther(oil.nu100)) / (t100 - t40);
  const double a = walther(oil.nu40) + b * t40;
  return std::pow(10, std::pow(10, a - b * std::log10(tempC + KELVIN))) - 0.7;
}

double oilDensity(const Oil& oil, double tempC) { return oil.density15 - 0.00065 * (tempC - 15); }

double dynamicViscosity(const Oil& oil, double tempC) {
  return kinematicViscosity(oil, tempC) * oilDensity(oil, tempC);
}

HeatBalance closeHeatBalance(const BearingData& data, const Oil& oil) {
  HeatBalance balance;
  balance.data = data;
  // The oil leaves at least as warm as it came: at the inlet temperature the
  // calculation must give more, at the top of the range less.
  double lo = data.oilInletTemp;
  double fLo = evaluate(balance, oil, lo);
  if (ends(balance, fLo) || fLo < 0) return balance;
  double hi = lo + BALANCE_RANGE;
  double fHi = evaluate(balance, oil, hi);
  if (ends(balance, fHi) || fHi > 0) return balance;
  int side = 0;  // which end moved last: +1 lo, -1 hi
  while (balance.stepCount < MAX_BALANCE_STEPS) {
    double t = hi - fHi * (hi - lo) / (fHi - fLo);
    if (!(t > lo && t < hi)) t = 0.5 * (lo + hi);
    const double f = evaluate(balance, oil, t);
    if (ends(balance, f)) return balance;
    // Illinois: an end that stays twice has its weight halved, so that the
    // bracket closes from both sides.
    if (f > 0) {
      lo = t, fLo = f;
      if (side == 1) fHi *= 0.5;
      side = 1;
    } else {
      hi = t, fHi = f;
      if (side == -1) fLo *= 0.5;
      side = -1;
    }
    // The calculated temperature jumps here, with the eccentricity that the
    // bisection finds in steps of 1e-4: the balance lies in the jump.
    if (hi - lo <= 1e-9 * (1 + std::fabs(hi))) {
      balance.end = BalanceEnd::BALANCED;
      return balance;
    }
  }
  return balance;
}
