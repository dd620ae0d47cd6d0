// The design that one point of palimo-balance is calculated for, and the
// domain of the closed forms and the viscosity law that it must lie in.
#pragma once

#include <string>

#include "balance/refusal.h"
#include "calc/checks.h"
#include "calc/heat_balance.h"
#include "data/bearing_data.h"
#include "film/bore.h"

struct Design {
  BearingData data = defaultBearingData();
  Oil oil;
  Limits limits = noLimits();
  std::string fit;    // BORE/SHAFT, whose band gives the clearance; "" without one
  std::string grade;  // the oil's ISO 3448 grade, VG46, which gives nu40; "" without one
  double vi = NAN;    // the oil's viscosity index, which gives nu100; not a number without one
  Cooling cooling;
  // The bore: a named one, and each of its values given instead of the
  // name's (not a number where the name's holds).
  std::string boreName = "plain";
  double lobes = NAN, lobeArc = NAN, preload = NAN, offset = NAN, lobeAngle = NAN;
  bool coefficients = false;  // the rotor's stiffness and damping at the balanced point
  // The speed at which the rigid rotor that the bearing carries loses
  // stability, sought with the heat balance closed at each speed tried;
  // the bearing's share of the rotor's mass, kg (not a number: the load
  // over g).
  bool thresholdSpeed = false;
  double rotorMass = NAN;
};

// Walther's law takes the logarithm of log10(nu + 0.7): nu must exceed 0.3.
constexpr double LOWEST_VISCOSITY = 0.3;  // mm2/s

// Sets the oil's nu100 from its viscosity index, where one is given. False,
// with why, where no oil of the design's nu40 has that index.
bool resolveOil(Design& design, Refusal* why);

// Whether every value lies inside what the closed forms, the viscosity law
// and the search can take; else false, and why names the first that does
// not. A fit's band is checked where it is looked up.
bool inDomain(const Design& design, Refusal* why);

// The design's bore: its name's values, each overridden where given.
Bore designBore(const Design& design);

// Whether the design's bore is calculated by its own film: any but the
// plain one, which DIN 31652's closed forms give.
bool byFilm(const Design& design);

// A value as the CSV's ten digits (%.10g) give it back.
double asPrinted(double value);
