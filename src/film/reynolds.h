// The oil film of a full 360 degree journal bearing by the Reynolds
// equation: rigid and aligned, isoviscous and incompressible oil, ambient
// pressure at both ends, and the film's rupture and re-formation found as
// the solution of a complementarity problem (p >= 0, and where p > 0 the
// flow balances: the Reynolds condition).
//
// Dimensionless throughout: lengths over the radial clearance c, time
// times the shaft's angular speed omega, pressure P = p psi^2 / (eta omega),
// and forces as Sommerfeld numbers, F psi^2 / (B D eta omega).
#pragma once

#include <cmath>
#include <vector>

// Pi to the double's precision: the film's own, not the closed forms'.
constexpr double PI = 3.14159265358979323846;

// Grid intervals: around the circumference (clustered towards the
// narrowest gap) and across the half width (the film is symmetric to the
// middle).
struct ReynoldsGrid {
  int around;
  int across;
};

// Where the journal centre is and how it moves, in a frame whose angle phi
// runs in the sense of rotation from the x axis: the film is
// H = 1 - x cos(phi) - y sin(phi).
struct JournalState {
  double x = 0, y = 0;    // displacement over c
  double dx = 0, dy = 0;  // velocity over c omega
};

// The film force on the journal, over B D eta omega / psi^2.
struct FilmForce {
  double x = 0, y = 0;
};

// Where the grid's nodes cluster and whether the film is fed at a line.
struct FilmSetup {
  double widthRatio = 1;  // B/D
  ReynoldsGrid grid{160, 16};
  // The relative eccentricity the grid clusters for; its narrowest gap
  // lies at phi = pi (the journal displaced along -x).
  double clusterEps = 0;
  // Ambient pressure on the line phi = 0 (a feed at the widest gap, as the
  // design tables assume); none for the rotor's coefficients, whose film
  // moves with the journal.
  bool feedAtPhiZero = false;
};

// The solution on the grid: pressures node by node and which nodes lie in
// the ruptured film. A solution can start the next one's search.
struct FilmField {
  std::vector<double> phi;       // node angles, around
  std::vector<double> pressure;  // P at (i, j), index i * across + j; j = 0 is the middle
  std::vector<char> ruptured;    // the same index: P held at zero
  bool solved = false;           // false where the search did not settle
};

// Solves the film for the journal's state. start, where given and of the
// same grid, gives the first guess of the ruptured region.
// REQUIRES: a gap above zero all round (|(x, y)| < 1); where it is not, or
// the search does not settle, the field is not solved and its force is not
// a number.
FilmField solveFilm(const FilmSetup& setup, const JournalState& state,
                    const FilmField* start = nullptr);

// The film force on the journal from a solution.
FilmForce filmForce(const FilmSetup& setup, const FilmField& field);

// The nodes' angles around: uniform in theta and mapped by
// phi = theta + a sin(theta), so spacing shrinks by 1 - a at phi = pi.
std::vector<double> nodesAround(double clusterEps, int around);

// What the oil does beside carrying the load: the shear on the journal,
// the integral over phi and Z of 1/H + (H/2) dP/dphi where the film is
// whole and of the streamers' share H_r/H of 1/H where it is ruptured (H_r
// the gap where it ruptured), and one end's flow, the integral over phi of
// H^3 (-dP/dZ) at Z = 1. Not a number for a film not solved.
struct FilmIntegrals {
  double shear = NAN;
  double endFlow = NAN;
};
FilmIntegrals filmIntegrals(const FilmSetup& setup, const FilmField& field,
                            const JournalState& state);
