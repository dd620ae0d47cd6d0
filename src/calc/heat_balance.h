// The heat balance closed with the oil's own viscosity: the viscosity-
// temperature law of Ubbelohde and Walther through two datasheet points, and
// the search for every outlet temperature that the calculation gives back.
#pragma once

#include <cmath>

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

// How the bearing gives its friction heat off: by the oil flowing through
// it (pressure lubrication), by its housing to the air around it
// (ring-lubricated, oil-bath and other self-contained bearings), or both.
enum class CoolingMode { OIL, HOUSING, BOTH };

struct Cooling {
  CoolingMode mode = CoolingMode::OIL;
  double ambientTemp = 20;   // air around the housing, C
  double housingArea = NAN;  // surface that gives heat off, m2
  double heatTransfer = 15;  // heat transfer coefficient K, W/(m2 K)
};

// The sought temperature's residual: the temperature that the heat balance
// calculates minus the one assumed, K. OIL: palimo's outlet temperature
// less the assumed one. BOTH: the outlet temperature at which the oil
// carries what the housing leaves of the friction power, rho c Q (T_ex -
// T_en) = P_f - K A (T_eff - T_amb), less the assumed one. HOUSING: the
// bearing temperature T_amb + P_f / (K A) less the assumed film
// temperature.
double balanceResidual(const BearingData& data, const BearingResults& results,
                       const Cooling& cooling);

// The heat that the housing and the oil carry away, W: K A (T_eff - T_amb)
// and rho c Q (T_ex - T_en), each zero where the cooling has no such path.
void heatFlows(const BearingData& data, const BearingResults& results, const Cooling& cooling,
               double& housingHeat, double& oilHeat);

// The assumed outlet temperature is sought from the inlet temperature up to
// this much above it, K, or up to where the clearance closes; with oil and
// housing in a cooler room, also as far below it, down to the ambient.
constexpr double BALANCE_RANGE = 250;
// A balance holds when the calculated outlet temperature is the assumed one
// within this, K.
constexpr double BALANCE_TOLERANCE = 0.001;
// The residual (calculated minus assumed outlet temperature) is scanned in
// steps of at most this, K, and in at least MIN_SCAN_STEPS steps.
constexpr double SCAN_STEP = 10;
constexpr int MIN_SCAN_STEPS = 8;
// Where the scanned residual turns, its extreme is sought to this width, K.
constexpr double TURN_WIDTH = 0.02;
// A change of the eccentricity's method is located to this width, K.
constexpr double SWITCH_WIDTH = 1e-5;
// Calculations recorded for the screen; a search takes some 30, and one
// that takes more goes on unrecorded.
constexpr int MAX_BALANCE_STEPS = 400;
// Balances kept; further ones are counted only.
constexpr int MAX_BALANCES = 16;

// One calculation of the search: the assumed outlet temperature, the film
// temperature and oil viscosity that follow, and the outlet temperature that
// the calculation gives (with the housing alone, the bearing temperature
// assumed and calculated).
struct BalanceStep {
  double assumedOutlet;     // C
  double filmTemp;          // C
  double viscosity;         // mPa*s
  double calculatedOutlet;  // C
};

// One outlet temperature at which the calculation gives itself back.
struct BalancePoint {
  double outletTemp;  // assumed outlet temperature, C
  double gap;         // calculated minus assumed outlet temperature there, K
  double h0;          // minimum film thickness there, mm
  // The residual rises through zero: a bearing a little warmer heats up
  // further, a little cooler cools down. Falling, the balance is stable.
  bool rising;
  // The residual jumps across zero here by more than the tolerance, with a
  // step of the eccentricity; gap is the smaller side of the jump.
  bool jump;
};

enum class BalanceOutcome {
  BALANCED,
  WIDTH_RATIO_OUT_OF_RANGE,  // B/D outside 0.125 ... 1: no calculation
  NO_FILM,                   // the effective clearance is not positive in the range
  NO_EQUILIBRIUM,            // a way's film carries the load nowhere, the clearance open
  NO_BALANCE,                // the residual keeps its sign where there is a film
  NOT_A_NUMBER,              // the calculation gives no outlet temperature
};

struct HeatBalance {
  // At the first balance, the one a bearing warming up from the inlet
  // temperature reaches; without one, at the last calculation.
  BearingData data;
  BearingResults results;
  // The range searched, C.
  double rangeFrom = 0;
  double rangeTo = 0;
  // Every balance in the range, lowest first; the first MAX_BALANCES kept.
  BalancePoint balances[MAX_BALANCES];
  // The calculations of the search in order; stepCount counts them all.
  BalanceStep steps[MAX_BALANCE_STEPS];
  BalanceOutcome outcome = BalanceOutcome::NO_BALANCE;
  int balanceCount = 0;
  int stepCount = 0;
  // Whether the clearance closes at the range's top, and whether it is not
  // open at 20 C or where the bearing starts (the inlet temperature, the
  // ambient with the housing alone): no film.
  bool closesAtTop = false;
  bool closedAtStart = false;
};

// A way to calculate a point other than DIN 31652's closed forms, such as a
// bore's own film: it fills results from data as calculateBearing does,
// with a state of its own (the last point, to start the next from), and
// returns false where B/D lies outside 0.125 ... 1.
struct PointWay {
  bool (*calculate)(const BearingData& data, BearingResults& results, void* state);
  void* state;
};

// A point calculated the way given, or by calculateBearing without one.
bool calculateBy(const PointWay* way, const BearingData& data, BearingResults& results);

// Finds every assumed outlet temperature between the inlet temperature and
// BALANCE_RANGE above it (with oil and housing, from the ambient if that is
// lower), with a positive effective clearance, at which the
// calculation of data, with the film temperature's viscosity of the oil,
// gives it back. The residual is scanned in steps of at most SCAN_STEP; each
// change of its sign is closed in by regula falsi (Illinois); a change of
// the eccentricity's method (direct fit or bisection), where the residual
// jumps, is located and searched on either side; and at each turn of the
// scanned values its extreme is sought, where two balances may lie between
// two scan points.
// With the housing alone, the sought temperature is the bearing's, taken
// as the film temperature, from the ambient temperature up; the oil's inlet
// and outlet temperatures are set to it, an oil bath at the bearing's
// temperature.
// With a way, each calculation is that way's.
HeatBalance closeHeatBalance(const BearingData& data, const Oil& oil,
                             const Cooling& cooling = Cooling(), const PointWay* way = nullptr);
