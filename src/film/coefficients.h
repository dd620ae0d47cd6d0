// The journal bearing as a spring and a damper for the rotor: the film's
// own equilibrium at a Sommerfeld number, its eight linearised
// coefficients, and the stability threshold of a rigid rotor on two like
// bearings (Lund).
//
// The frame: u along the static load, v perpendicular to it, 90 degrees
// ahead in the sense of rotation. With F0 the static load, c the radial
// clearance and omega the shaft's angular speed:
//   K_ij = -(dF_i/dx_j) c / F0,  C_ij = -(dF_i/d(dx_j/dt)) c omega / F0.
#pragma once

#include <cmath>

#include "film/bore.h"
#include "film/reynolds.h"

// Which film gives the force: the Reynolds equation on a grid, or with
// grid.around == 0 the short-bearing theory (the limit of small B/D).
struct FilmModel {
  double widthRatio;
  ReynoldsGrid grid;
};

// The grid that holds every coefficient within 1 % of its matrix's largest
// against a grid of three times its intervals each way.
constexpr ReynoldsGrid COEFFICIENT_GRID{160, 16};

// The film's equilibrium is sought for relative eccentricities in this
// range; the grid's accuracy is checked across it.
constexpr double LOWEST_REYNOLDS_EPS = 0.02;
constexpr double HIGHEST_REYNOLDS_EPS = 0.97;

struct RotorCoefficients {
  bool solved = false;  // false: no equilibrium in the range, and every value not a number
  double eps = NAN;     // the film's own relative eccentricity
  double beta = NAN;    // its attitude angle, from the load to the line of centres, degrees
  double stiffness[2][2] = {{NAN, NAN}, {NAN, NAN}};  // K, [u|v][u|v]
  double damping[2][2] = {{NAN, NAN}, {NAN, NAN}};    // C, [u|v][u|v]
  // At the threshold: the whirl's frequency over the shaft's, and the mass
  // parameter m c omega^2 / F0 of each bearing's share of the rotor. Where
  // no threshold exists: 0 and inf.
  double whirlRatio = NAN;
  double stabilityMass = NAN;
  double frictionChar = NAN;  // mu/psi of the film at its equilibrium
  double endFlow = NAN;       // its end flow, both ends, over D^3 psi omega
};

// The coefficients at the Sommerfeld number so (F0 psi^2 / (B D eta
// omega)); epsGuess starts the search for the equilibrium.
RotorCoefficients rotorCoefficients(const FilmModel& model, double so, double epsGuess);

// The film force of the short-bearing theory, integrated where the film
// carries pressure.
FilmForce shortBearingForce(double widthRatio, const JournalState& state);

// A bore's point: the coefficients at its equilibrium, and where the
// journal sits.
struct BorePoint {
  RotorCoefficients rotor;
  double x = NAN, y = NAN;  // the journal's position over C_b, x along the load
  int films = 0;            // the films solved to find it
};

// The point of a bore at the Sommerfeld number so (on the assembled
// clearance): the equilibrium by Newton's steps on the film's own
// Jacobian (the rupture at a node), held inside every lobe's gap, and the
// coefficients by Lund's perturbation of its film, the rupture between the
// nodes. (guessX, guessY), where finite, starts the
// search. The plain bore is rotorCoefficients' own.
// REQUIRES: boreOutsideModel(setup.bore) == nullptr.
BorePoint borePoint(const BoreSetup& setup, double so, double guessX = NAN, double guessY = NAN);

// The same point's equilibrium alone, for the heat balance: eps, beta, the
// friction and the end flow, the coefficients not numbers (the plain
// bore's all of them). One film fewer than borePoint.
// REQUIRES: boreOutsideModel(setup.bore) == nullptr.
BorePoint boreEquilibrium(const BoreSetup& setup, double so, double guessX = NAN,
                          double guessY = NAN);
