// The values of one calculation run, each written by one stage and read by
// the later ones; the value of pi that every formula uses, and the oil's
// heat capacity.
#pragma once

// Pi as the bearing formulas use it: this decimal value, not the full double.
constexpr double PI_APPROX = 3.14159265;

// The oil's rho c, J/(cm3 K), with which palimo's heat balance takes the
// friction heat away: times Q in cm3/s, it is W/K.
constexpr double OIL_HEAT_CAPACITY = 1.8;

struct BearingResults {
  double u = 0;           // circumferential speed, m/s
  double omega = 0;       // angular speed, 1/s
  double psi0 = 0;        // relative clearance at 20 C
  double deltaPsi = 0;    // thermal change of the relative clearance
  double psi = 0;         // effective relative clearance
  double widthRatio = 0;  // B/D
  double pressure = 0;    // specific bearing load, N/mm2
  double so = 0;          // Sommerfeld number
  double a1 = 0;          // fit coefficients of the Sommerfeld function
  double a2 = 0;
  double eps = 0;             // relative eccentricity
  int passes = 0;             // bisection passes (0 in direct mode)
  double h0 = 0;              // minimum film thickness, mm
  double beta = 0;            // attitude angle, degrees
  double re = 0;              // Reynolds number of the gap flow
  double reCrit = 0;          // critical Reynolds number
  double frictionChar = 0;    // friction characteristic my/psi
  double frictionPower = 0;   // friction power Po, W
  double q3 = 0;              // speed-induced flow coefficient
  double q1 = 0;              // speed-induced flow, cm3/s
  double qp = 0;              // pressure flow coefficient
  double q2 = 0;              // pressure-induced flow, cm3/s
  double q = 0;               // total oil flow, cm3/s
  double outletTempCalc = 0;  // outlet temperature from the heat balance, C
  double epsTransition = 0;   // relative eccentricity at mixed friction
  double soTransition = 0;    // Sommerfeld number at mixed friction
};
