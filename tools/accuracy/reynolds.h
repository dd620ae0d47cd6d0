// The design tables' quantities from the library's Reynolds solution of a
// full 360 degree journal bearing, fed at the widest gap: ambient pressure
// at both ends and on the line of the widest gap, and the Reynolds
// condition where the film ruptures.
#pragma once

#include "film/reynolds.h"

// What the pressure field gives, dimensionless as the design tables are.
struct FilmSolution {
  double so;        // Sommerfeld number F psi^2 / (B D eta omega)
  double beta;      // attitude angle from the line of centres to the load, degrees
  double friction;  // friction characteristic mu/psi on the journal
  double q3;        // end flow from rotation over D^3 psi omega, both ends
};

// Solves for the width ratio B/D and the relative eccentricity.
FilmSolution solveReynolds(double widthRatio, double eps, ReynoldsGrid grid);

// The Sommerfeld number of the short-bearing theory, the limit for small B/D.
double shortBearingSommerfeld(double widthRatio, double eps);
