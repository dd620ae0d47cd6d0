// A numerical solution of the steady Reynolds equation for a full 360 degree
// journal bearing: rigid and aligned, isoviscous and incompressible oil,
// ambient pressure at both ends and on the line of the widest gap, and the
// Reynolds (Swift-Stieber) condition where the film ruptures.
#pragma once

// Grid intervals: around the circumference (clustered towards the narrow
// gap) and across the half width (the film is symmetric to the middle).
struct ReynoldsGrid {
  int around;
  int across;
};

// What the pressure field gives, dimensionless as the design tables are.
struct FilmSolution {
  double so;        // Sommerfeld number F psi^2 / (B D eta omega)
  double beta;      // attitude angle from the line of centres to the load, degrees
  double friction;  // friction characteristic mu/psi on the journal
  double q3;        // end flow from rotation over D^3 psi omega, both ends
};

// Solves for the width ratio B/D and the relative eccentricity by projected
// successive over-relaxation.
FilmSolution solveReynolds(double widthRatio, double eps, ReynoldsGrid grid);

// The Sommerfeld number of the short-bearing theory, the limit for small B/D.
double shortBearingSommerfeld(double widthRatio, double eps);
