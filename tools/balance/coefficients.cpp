// palimo_coefficients: the databook of the film. For a bore (the plain one
// unless given) over B/D and the Sommerfeld number: the equilibrium, the
// eight coefficients, the stability threshold, the friction and the end
// flow, as a Markdown table or, with --csv, for the charts of doc/.
//
// Usage: palimo_coefficients [--bore NAME] [--lobes N] [--lobe-arc DEG]
//          [--preload M] [--offset A] [--lobe-angle DEG]
//          [--width-ratio LIST] [--so LIST] [--grid AROUNDxACROSS] [--csv]
// LIST: comma-separated numbers.
#include "film/coefficients.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

std::vector<double> listOf(const char* text) {
  std::vector<double> values;
  for (const char* at = text; *at;) {
    char* end = nullptr;
    values.push_back(std::strtod(at, &end));
    if (end == at) return {};
    at = *end == ',' ? end + 1 : end;
    if (*end && *end != ',') return {};
  }
  return values;
}

int usage(const char* why) {
  std::fprintf(stderr, "palimo_coefficients: %s\n", why);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool csv = false;
  Bore bore;
  BoreSetup setup;
  bool gridGiven = false;
  std::vector<double> widthRatios{0.5, 1}, sommerfeld{0.1, 0.2, 0.5, 1, 2, 5, 10};
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--csv") {
      csv = true;
      continue;
    }
    if (i + 1 == argc) return usage(("no value for " + word).c_str());
    const char* value = argv[++i];
    const double number = std::atof(value);
    if (word == "--bore") {
      const NamedBore* named = findBore(value);
      if (!named) return usage("no such bore");
      bore = named->bore;
    } else if (word == "--lobes") {
      bore.lobes = std::atoi(value);
    } else if (word == "--lobe-arc") {
      bore.arc = number;
    } else if (word == "--preload") {
      bore.preload = number;
    } else if (word == "--offset") {
      bore.offset = number;
    } else if (word == "--lobe-angle") {
      bore.lobeAngle = number;
    } else if (word == "--width-ratio") {
      widthRatios = listOf(value);
    } else if (word == "--so") {
      sommerfeld = listOf(value);
    } else if (word == "--grid") {
      gridGiven = std::sscanf(value, "%dx%d", &setup.grid.around, &setup.grid.across) == 2;
      if (!gridGiven) return usage("a grid is AROUNDxACROSS");
    } else {
      return usage(("unknown option " + word).c_str());
    }
  }
  if (const char* outside = boreOutsideModel(bore))
    return usage((std::string("bad ") + outside).c_str());
  if (widthRatios.empty() || sommerfeld.empty()) return usage("a list is numbers, comma-separated");
  setup.bore = bore;
  std::puts(csv ? "widthRatio,so,eps,beta,stiffUU,stiffUV,stiffVU,stiffVV,dampUU,dampUV,dampVU,"
                  "dampVV,whirlRatio,stabilityMass,frictionChar,endFlow"
                : "| B/D | So | eps | beta | Kuu | Kuv | Kvu | Kvv | Cuu | Cuv | Cvu | Cvv | "
                  "whirl | m c w^2/F | mu/psi | Q/(D^3 psi w) |\n"
                  "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|");
  const char* const format = csv ? ",%.6g" : " %.4g |";
  for (const double widthRatio : widthRatios) {
    double x = NAN, y = NAN;  // the last equilibrium starts the next
    for (const double so : sommerfeld) {
      setup.widthRatio = widthRatio;
      if (isPlainBore(bore) && !gridGiven) setup.grid = COEFFICIENT_GRID;
      const BorePoint point = isPlainBore(bore) && gridGiven
                                  ? BorePoint{rotorCoefficients({widthRatio, setup.grid}, so, 0.5)}
                                  : borePoint(setup, so, x, y);
      const RotorCoefficients& r = point.rotor;
      if (r.solved) x = point.x, y = point.y;
      std::printf(csv ? "%g,%g" : "| %g | %g |", widthRatio, so);
      std::printf(csv ? ",%.6g,%.6g" : " %.4f | %.2f |", r.eps, r.beta);
      for (const auto* m : {&r.stiffness, &r.damping})
        for (int i = 0; i < 2; ++i)
          for (int j = 0; j < 2; ++j) std::printf(format, (*m)[i][j]);
      for (const double value : {r.whirlRatio, r.stabilityMass, r.frictionChar, r.endFlow})
        std::printf(format, value);
      std::puts("");
    }
  }
  return 0;
}
