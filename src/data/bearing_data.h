// The one data set of a bearing calculation: every input value with its
// built-in default, and the effective film temperature derived from them.
#pragma once

// Where the oil enters the bearing; the numbers are what the user types.
enum SupplyCase {
  SUPPLY_HOLE_OPPOSITE = 1,  // supply hole opposite to the load direction
  SUPPLY_HOLE_90 = 2,        // supply hole at 90 degrees to the load
  SUPPLY_GROOVE = 3,         // circumferential groove
};

// How the relative eccentricity is found.
enum EpsMode {
  EPS_ITERATIVE = 0,  // bisection on the Sommerfeld function
  EPS_DIRECT = 1,     // closed-form fit in log10 So
};

// Input values of the bearing. Units: N, 1/min, mm, mPa*s, bar, degrees C, 1/K.
struct BearingData {
  double load = 36000;                    // F, radial bearing load, N
  double speed = 2000;                    // n, shaft speed, 1/min
  double diameter = 120;                  // D, nominal bearing diameter, mm
  double width = 60;                      // B, bearing width, mm
  double clearance = 0.12;                // s, diametral clearance at 20 C, mm
  double viscosity = 27;                  // eta, dynamic viscosity, mPa*s
  double supplyPressure = 5;              // p_en, oil supply pressure, bar
  double supplySize = 5;                  // dH (hole) or bG (groove width), mm
  double oilInletTemp = 58;               // T_en, C
  double oilOutletTemp = 78;              // T_ex, assumed outlet temperature, C
  double alphaShaft = 0.000011;           // alpha_W, 1/K
  double alphaBearing = 0.000023;         // alpha_L, 1/K
  double h0Limit = 0.005;                 // smallest permissible film thickness, mm
  double filmTemp = 68;                   // T_eff, derived by updateFilmTemp, C
  int supplyCase = SUPPLY_HOLE_OPPOSITE;  // a SupplyCase value, 1..3
  int epsMode = EPS_ITERATIVE;            // an EpsMode value, 0 or 1
};

// Returns the data set with its defaults and the film temperature derived.
BearingData defaultBearingData();

// Sets the effective film temperature to the mean of outlet and inlet.
void updateFilmTemp(BearingData& data);
