// The heat balance closed with the oil's own viscosity: the viscosity-
// temperature law of Ubbelohde and Walther through two datasheet points, and
// the search for the outlet temperature that the calculation gives back.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"

// An oil as its datasheet gives it.
struct Oil {
  double nu40 = 0;          // kinematic viscosity at 40 C, mm2/s
  double nu100 = 0;         // kinematic viscosity at 100 C, mm2/s
  double density15 = 0.87;  // density at 15 C, g/cm3
};

// Kinematic viscosity at tempC in mm2/s, by Ubbelohde-Walther (ASTM D341)
// through the two points: log10(log10(nu + 0.7)) = A - B log10(T + 273.15).
double kinematicViscosity(const Oil& oil, double tempC);

// Density at tempC in g/cm3: 0.00065 g/cm3 less for every K above 15 C.
double oilDensity(const Oil& oil, double tempC);

// Dynamic viscosity at tempC in mPa*s: nu in mm2/s times rho in g/cm3.
double dynamicViscosity(const Oil& oil, double tempC);

// The assumed outlet temperature is sought from the inlet temperature up to
// this much above it, K.
constexpr double BALANCE_RANGE = 250;
// The balance holds when the calculated outlet temperature is the assumed
// one within this, K.
constexpr double BALANCE_TOLERANCE = 0.001;
// A bound on the steps, far above the ten or so that a search takes.
constexpr int MAX_BALANCE_STEPS = 100;

// One calculation of the search: the assumed outlet temperature, the film
// temperature and oil viscosity that follow, and the outlet temperature that
// the calculation gives.
struct BalanceStep {
  double assumedOutlet;     // C
  double filmTemp;          // C
  double viscosity;         // mPa*s
  double calculatedOutlet;  // C
};

enum class BalanceEnd {
  BALANCED,
  WIDTH_RATIO,   // B/D outside 0.125 ... 1: no calculation
  NO_BALANCE,    // the calculated temperature stays on one side in the range
  NOT_A_NUMBER,  // the calculation gives no outlet temperature
};

struct HeatBalance {
  BalanceEnd end = BalanceEnd::NO_BALANCE;
  BearingData data;        // the last step's: outlet, film temperature, viscosity
  BearingResults results;  // the last step's
  BalanceStep steps[MAX_BALANCE_STEPS];
  int stepCount = 0;
};

// Finds the assumed outlet temperature at which the calculation of data,
// with the film temperature's viscosity of the oil, gives it back. The
// calculated temperature falls as the assumed one rises, so the root is
// bracketed between the inlet temperature and BALANCE_RANGE above it and
// closed in by regula falsi (Illinois), which never leaves its bracket.
HeatBalance closeHeatBalance(const BearingData& data, const Oil& oil);
