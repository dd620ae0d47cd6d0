// The viscosity index of an oil by ASTM D2270 (ISO 2909), and the other way
// round: the viscosity at 100 C that an oil of a viscosity at 40 C and a
// viscosity index has; and the ISO 3448 viscosity grades.
#pragma once

// The viscosity index from the kinematic viscosities at 40 and at 100 C,
// mm2/s, unrounded: procedure A where it gives 100 or less, else procedure
// B. Not a number where nu100 is below 2 mm2/s, where D2270 defines none.
double viscosityIndex(double nu40, double nu100);

// The kinematic viscosity at 100 C, mm2/s, of an oil of nu40 and viscosity
// index vi; not a number where none of at least 2 mm2/s and below nu40 has
// it.
double nu100FromViscosityIndex(double nu40, double vi);

// The midpoint kinematic viscosity at 40 C, mm2/s, of an ISO 3448 grade
// (2, 3, 5, 7, 10, 15, ... 3200); not a number for another number.
double gradeMidpoint(int grade);
