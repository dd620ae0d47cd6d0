// The bores that rotors run on: N lobes with an axial groove between each
// two, a partial arc, and preloaded bores (lemon, three and four lobes,
// offset halves). The film of each lobe by the Reynolds equation, and its
// derivatives by the journal's position and velocity on the same factor
// (Lund's perturbation).
//
// The frame is the bearing's: theta from the static load in the sense of
// rotation, x along the load, y 90 degrees ahead of it. Lengths are over
// the assembled radial clearance C_b, which is the lobes' own C_p times
// (1 - m); forces as in film/reynolds.h. The grooves hold the ambient
// pressure, over the whole width, as the tables of Lund and Thomsen assume.
#pragma once

#include <vector>

#include "film/reynolds.h"

struct Bore {
  int lobes = 1;         // N, 1 ... 6
  double arc = 360;      // each lobe's arc Omega, degrees, at most 360/N
  double preload = 0;    // m, 0 <= m < 1
  double offset = 0.5;   // a, 0 ... 1: the lobe's centre of curvature on the ray
                         // theta_k - Omega/2 + a Omega; 0.5 symmetric
  double lobeAngle = 0;  // theta_0, degrees: lobe 0's middle from the load
};

// The usual bores by name, with the values that their names set.
struct NamedBore {
  const char* name;
  Bore bore;
};
extern const NamedBore NAMED_BORES[];
extern const int NAMED_BORE_COUNT;

// The named bore, or nullptr.
const NamedBore* findBore(const char* name);

// Today's bore: one lobe of 360 degrees without preload, and no groove.
bool isPlainBore(const Bore& bore);

// What puts the bore outside the model ("lobes", "lobe-arc", "preload",
// "offset" or "lobe-angle", the option that is out of range), or nullptr.
const char* boreOutsideModel(const Bore& bore);

// The grid: intervals around the whole circumference, shared out among the
// lobes by their arcs, and across the half width.
constexpr ReynoldsGrid BORE_GRID{240, 16};

struct BoreSetup {
  double widthRatio = 1;  // B/D
  Bore bore;
  ReynoldsGrid grid = BORE_GRID;
};

// The film of a bore at a journal state, with the derivatives of its force
// by x, y, dx and dy on the solution's own ruptured region.
struct BoreFilm {
  bool solved = false;  // false where a lobe has no positive gap, or its search did not settle
  FilmForce force;
  double derivative[4][2] = {};  // dF/d(x, y, dx, dy), [which][x|y]
  double frictionChar = 0;       // mu/psi: the shear on the journal over the film's force
  double endFlow = 0;            // the oil out at both ends, over D^3 psi omega
  // Where the next film's search may start: the lobes' nodes one lobe after
  // the other (n + 1 each), and which are ruptured ((n - 1) across each, row
  // (i - 1) across + j).
  std::vector<double> nodes;
  std::vector<char> ruptured;
};

// The ruptured region's boundary for the derivatives: AT_NODE, the first
// ruptured node, where they are the grid's own force's, which Newton's
// steps want; BETWEEN_NODES, where the film ruptures, which holds the
// coefficients of short lobes to a finer grid's instead of jumping as the
// rupture crosses a node.
enum class RuptureEdge { AT_NODE, BETWEEN_NODES };

// The film of the bore for the journal's state, each lobe's nodes
// clustered at its narrowest gap there. A solved film near, of the same
// setup at a state close by, starts each lobe's search from its ruptured
// region; the film found is the same, in fewer steps.
BoreFilm solveBoreFilm(const BoreSetup& setup, const JournalState& state,
                       const BoreFilm* near = nullptr,
                       RuptureEdge edge = RuptureEdge::BETWEEN_NODES);

// The smallest film H over every lobe at a journal position (x, y).
double smallestBoreGap(const Bore& bore, double x, double y);
