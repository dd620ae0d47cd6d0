// palimo_accuracy: compares the program's closed forms with a numerical
// solution of the Reynolds equation, over width ratios 0.125 ... 1 and
// relative eccentricities 0.1 ... 0.97, and writes the errors as Markdown or
// CSV. With --check README it fails when an error leaves the band that the
// README states.
//
// Usage: palimo_accuracy [--coarse] [--csv] [--check FILE]
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "calc/sommerfeld.h"
#include "calc/stages.h"
#include "reynolds.h"

namespace {

const double WIDTH_RATIOS[] = {0.125, 0.25, 0.5, 0.75, 1};
const double ECCENTRICITIES[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 0.95, 0.97};
const char* const MODES[] = {"iterative", "direct"};

// The reference grid, and the grid with half its intervals that shows how
// far the reference may be from the exact solution; the coarse run of CI
// uses the latter alone.
const ReynoldsGrid FINE{480, 64};
const ReynoldsGrid COARSE{240, 32};

// What the program makes of one point in one mode.
struct ProgramValues {
  double eps, beta, friction, q3;
  int passes;
};

// One point of the comparison: the solver's values and the program's.
struct Point {
  double widthRatio, eps;
  FilmSolution solver;
  double closedFormSo;     // So(eps) of the program's Sommerfeld function
  ProgramValues modes[2];  // eps and what follows from it, at the solver's So
};

// The program's stages at the solver's Sommerfeld number.
ProgramValues program(double widthRatio, double so, int epsMode) {
  BearingData data = defaultBearingData();
  data.epsMode = epsMode;
  BearingResults r;
  r.widthRatio = widthRatio;
  r.so = so;
  computeOperatingPoint(data, r);
  return {r.eps, r.beta, r.frictionChar, r.q3, r.passes};
}

double closedFormSo(double widthRatio, double eps) {
  BearingData data = defaultBearingData();
  BearingResults r;
  r.widthRatio = widthRatio;
  solveEps(data, r);  // fits the Sommerfeld function to the width ratio
  return sommerfeldOfEps(r, eps);
}

Point compare(double widthRatio, double eps, ReynoldsGrid grid) {
  Point p{widthRatio, eps, solveReynolds(widthRatio, eps, grid), 0, {}};
  p.closedFormSo = closedFormSo(widthRatio, eps);
  for (int mode = 0; mode < 2; ++mode) p.modes[mode] = program(widthRatio, p.solver.so, mode);
  return p;
}

double error(double program, double solver) { return program / solver - 1; }

// The errors of one point in one mode, relative to the solver, in the order
// of the tables: h0, eps, beta, mu/psi, Q1. h0 = D psi (1 - eps) / 2.
std::vector<double> errors(const Point& p, int mode) {
  const ProgramValues& v = p.modes[mode];
  return {error(1 - v.eps, 1 - p.eps), error(v.eps, p.eps), error(v.beta, p.solver.beta),
          error(v.friction, p.solver.friction), error(v.q3, p.solver.q3)};
}

const char* const QUANTITIES[] = {"h0", "eps", "beta", "mu/psi", "Q1"};
// The head of the table of bands, in the report and in the README.
const char BANDS_HEADER[] = "| B/D | mode | h0 | eps | beta | mu/psi | Q1 |";

// Percent with a sign, as the tables print it.
std::string percent(double fraction) {
  char text[32];
  std::snprintf(text, sizeof text, "%+.2f %%", 100 * fraction);
  return text;
}

std::vector<Point> compareAll(ReynoldsGrid grid) {
  std::vector<Point> points;
  for (const double b : WIDTH_RATIOS)
    for (const double eps : ECCENTRICITIES) points.push_back(compare(b, eps, grid));
  return points;
}

// The largest error by size of each quantity, for one width ratio and mode.
std::vector<double> largestErrors(const std::vector<Point>& points, double b, int mode) {
  std::vector<double> largest(5, 0.0);
  for (const Point& p : points) {
    if (p.widthRatio != b) continue;
    const std::vector<double> e = errors(p, mode);
    for (size_t q = 0; q < e.size(); ++q)
      if (std::fabs(e[q]) > std::fabs(largest[q])) largest[q] = e[q];
  }
  return largest;
}

// The band that CI holds a largest error to: its size on either grid,
// rounded up to 0.1 % with at least 0.05 % to spare.
std::vector<double> bands(const std::vector<Point>& fine, const std::vector<Point>& coarse,
                          double b, int mode) {
  std::vector<double> band = largestErrors(fine, b, mode);
  const std::vector<double> onCoarse = largestErrors(coarse, b, mode);
  for (size_t q = 0; q < band.size(); ++q)
    band[q] = std::ceil(1000 * std::max(std::fabs(band[q]), std::fabs(onCoarse[q])) + 0.5) / 1000;
  return band;
}

// --- Evidence --------------------------------------------------------------

struct Evidence {
  double gridAgreement = 0;  // largest relative difference of So between grids
  double shortBearing = 0;   // largest relative deviation from the short-bearing So
};

Evidence evidence(const std::vector<Point>& fine, const std::vector<Point>& coarse) {
  Evidence e;
  for (size_t i = 0; i < fine.size(); ++i)
    e.gridAgreement =
        std::max(e.gridAgreement, std::fabs(error(coarse[i].solver.so, fine[i].solver.so)));
  for (const double eps : {0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9}) {
    const double so = solveReynolds(1.0 / 32, eps, COARSE).so;
    e.shortBearing =
        std::max(e.shortBearing, std::fabs(error(so, shortBearingSommerfeld(1.0 / 32, eps))));
  }
  return e;
}

bool evidenceHolds(const Evidence& e) { return e.gridAgreement <= 0.001 && e.shortBearing <= 0.01; }

// --- Output ----------------------------------------------------------------

const char CONVENTIONS[] =
    "- Model: the steady Reynolds equation for a full 360 degree journal bearing, rigid and\n"
    "  aligned, isoviscous and incompressible oil, no supply pressure. Ambient pressure at both\n"
    "  ends and on the line of the widest gap, where the oil enters; the Reynolds\n"
    "  (Swift-Stieber) condition, p >= 0 with the film rupturing where the pressure gradient\n"
    "  vanishes. Finite volumes, the complementarity problem solved exactly by active sets\n"
    "  (src/film, the solver of palimo-balance's --coefficients).\n"
    "- So = F psi^2 / (B D eta omega). beta: the attitude angle from the line of centres to\n"
    "  the load, in degrees.\n"
    "- mu/psi: the friction force on the journal over psi F: the shear of the full film, the\n"
    "  ruptured zone included, plus the pressure term h/2 dp/dx.\n"
    "- q3: the end flow out of both ends from the pressure that the rotation builds, over\n"
    "  D^3 psi omega, as the program's Q1 = (D/10)^3 psi omega q3 in cm3/s.\n"
    "- Each error is program / solver - 1. eps and what follows from it (h0, beta, Q1) come from\n"
    "  the program at the solver's So, in both modes; mu/psi follows from So alone, the same\n"
    "  in both modes; h0 = D psi (1 - eps) / 2.\n";

// The report; in the coarse run both point lists are the coarse grid's.
void printMarkdown(const std::vector<Point>& points, const std::vector<Point>& coarsePoints,
                   const Evidence& e, bool coarse) {
  std::printf("# Accuracy of the closed forms\n\n");
  std::printf(
      "Made by `palimo_accuracy%s`: the program's closed forms against a numerical\n"
      "solution of the Reynolds equation.\n\n%s\n",
      coarse ? " --coarse" : "", CONVENTIONS);
  std::printf("## Evidence for the solver\n\n");
  if (coarse) {
    std::printf("- Grid: %d x %d intervals (around x across the half width).\n", COARSE.around,
                COARSE.across);
  } else {
    std::printf(
        "- Grids: %d x %d and %d x %d intervals (around x across the half width); "
        "their So agree within %.3f %% at every point (the bound is 0.1 %%).\n",
        FINE.around, FINE.across, COARSE.around, COARSE.across, 100 * e.gridAgreement);
  }
  std::printf(
      "- Short-bearing limit: at B/D = 1/32, So lies within %.2f %% of "
      "(B/D)^2 eps sqrt(pi^2 (1 - eps^2) + 16 eps^2) / (2 (1 - eps^2)^2) for eps 0.3 to "
      "0.9 (the bound is 1 %%).\n\n",
      100 * e.shortBearing);

  std::printf("## Largest errors per width ratio and mode\n\n");
  std::printf(
      "| B/D | mode | largest error of h0 | eps | beta | mu/psi | Q1 |\n"
      "|---|---|---|---|---|---|---|\n");
  for (const double b : WIDTH_RATIOS)
    for (int mode = 0; mode < 2; ++mode) {
      std::printf("| %g | %s |", b, MODES[mode]);
      for (const double largest : largestErrors(points, b, mode))
        std::printf(" %s |", percent(largest).c_str());
      std::printf("\n");
    }
  std::printf(
      "\nThe bands that CI holds these to (`--check`), the size rounded up to 0.1 %% "
      "with at least 0.05 %% to spare:\n\n");
  std::printf("%s\n|---|---|---|---|---|---|---|\n", BANDS_HEADER);
  for (const double b : WIDTH_RATIOS)
    for (int mode = 0; mode < 2; ++mode) {
      std::printf("| %g | %s |", b, MODES[mode]);
      for (const double band : bands(points, coarsePoints, b, mode))
        std::printf(" %.1f %% |", 100 * band);
      std::printf("\n");
    }

  std::printf("\n## Every point\n\n");
  std::printf(
      "So, beta (degrees), mu/psi and q3 are the solver's values, the other columns the "
      "program's errors: So(eps) its Sommerfeld function at the point's eps, it and dir the "
      "iterative and the direct mode at the solver's So; (13) marks a direct-mode point "
      "that the bisection answered.\n");
  for (const double b : WIDTH_RATIOS) {
    std::printf("\n### B/D = %g\n\n", b);
    std::printf(
        "| eps | So | So(eps) | eps it | eps dir | h0 it | h0 dir | beta | beta it | "
        "beta dir | mu/psi | mu/psi err | q3 | Q1 it | Q1 dir |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    for (const Point& p : points) {
      if (p.widthRatio != b) continue;
      const std::vector<double> it = errors(p, 0), dir = errors(p, 1);
      const char* marked = p.modes[1].passes ? " (13)" : "";
      std::printf(
          "| %g | %.5g | %s | %s | %s%s | %s | %s | %.4g | %s | %s | %.5g | %s | %.5g | "
          "%s | %s |\n",
          p.eps, p.solver.so, percent(error(p.closedFormSo, p.solver.so)).c_str(),
          percent(it[1]).c_str(), percent(dir[1]).c_str(), marked, percent(it[0]).c_str(),
          percent(dir[0]).c_str(), p.solver.beta, percent(it[2]).c_str(), percent(dir[2]).c_str(),
          p.solver.friction, percent(it[3]).c_str(), p.solver.q3, percent(it[4]).c_str(),
          percent(dir[4]).c_str());
    }
  }
}

void printCsv(const std::vector<Point>& points) {
  std::printf(
      "# The Reynolds solution (width_ratio ... q3) and the program's values at the\n"
      "# solver's So. So = F psi^2/(B D eta omega); beta in degrees from the line of\n"
      "# centres to the load; friction = mu/psi on the journal, full-film shear plus the\n"
      "# pressure term; q3 = end flow of both ends over D^3 psi omega.\n");
  std::printf(
      "width_ratio,eps,so,beta_deg,friction,q3,so_closed_form,eps_iterative,eps_direct,"
      "passes_direct,beta_iterative,beta_direct,friction_program,q3_iterative,"
      "q3_direct\n");
  for (const Point& p : points) {
    const ProgramValues &it = p.modes[0], &dir = p.modes[1];
    std::printf("%g,%g,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g,%.6g,%d,%.6g,%.6g,%.6g,%.6g,%.6g\n",
                p.widthRatio, p.eps, p.solver.so, p.solver.beta, p.solver.friction, p.solver.q3,
                p.closedFormSo, it.eps, dir.eps, dir.passes, it.beta, dir.beta, it.friction, it.q3,
                dir.q3);
  }
}

// --- The check against the README's bands ------------------------------------

// Reads the first table headed BANDS_HEADER in the file, one row per width
// ratio and mode with the band of each error in per cent, and checks each
// largest error against its band.
int check(const char* path, const std::vector<Point>& points) {
  std::ifstream file(path);
  std::string line;
  while (std::getline(file, line) && line != BANDS_HEADER) {
  }
  std::getline(file, line);  // |---|---|...
  int rows = 0, failures = 0;
  while (std::getline(file, line) && line.rfind("| ", 0) == 0) {
    std::istringstream cells(line.substr(1));
    std::vector<std::string> fields;
    for (std::string cell; std::getline(cells, cell, '|');) fields.push_back(cell);
    if (fields.size() != 7) break;
    const double b = std::stod(fields[0]);
    const int mode = fields[1].find("direct") != std::string::npos ? 1 : 0;
    const std::vector<double> largest = largestErrors(points, b, mode);
    for (size_t q = 0; q < 5; ++q) {
      const double allowed = std::stod(fields[q + 2]) / 100;
      if (std::fabs(largest[q]) > allowed) {
        std::fprintf(stderr, "palimo_accuracy: B/D %g, %s: %s error %s leaves its band%s\n", b,
                     MODES[mode], QUANTITIES[q], percent(largest[q]).c_str(),
                     fields[q + 2].c_str());
        ++failures;
      }
    }
    ++rows;
  }
  if (rows != 10) {
    std::fprintf(stderr, "palimo_accuracy: %s: %d rows in the bands table, not 10\n", path, rows);
    return 1;
  }
  return failures ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  bool coarse = false, csv = false;
  const char* bands = nullptr;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--coarse") == 0) {
      coarse = true;
    } else if (std::strcmp(argv[i], "--csv") == 0) {
      csv = true;
    } else if (std::strcmp(argv[i], "--check") == 0 && i + 1 < argc) {
      bands = argv[++i];
    } else {
      std::fprintf(stderr, "usage: palimo_accuracy [--coarse] [--csv] [--check FILE]\n");
      return 2;
    }
  }
  const std::vector<Point> coarsePoints = compareAll(COARSE);
  const std::vector<Point> points = coarse ? coarsePoints : compareAll(FINE);
  const Evidence e = evidence(points, coarsePoints);
  if (csv)
    printCsv(points);
  else
    printMarkdown(points, coarsePoints, e, coarse);
  if (!evidenceHolds(e)) {
    std::fprintf(stderr,
                 "palimo_accuracy: the solver's evidence fails: grids %.3f %%, short "
                 "bearing %.2f %%\n",
                 100 * e.gridAgreement, 100 * e.shortBearing);
    return 1;
  }
  return bands ? check(bands, points) : 0;
}
