// palimo_coefficients: the film's eight coefficients and the stability
// threshold over the Sommerfeld number for B/D 0.5 and 1, as the README's
// Markdown table or, with --csv, for the chart of doc/coefficients.svg.
//
// Usage: palimo_coefficients [--csv]
#include "film/coefficients.h"

#include <cstdio>
#include <cstring>

namespace {

const double WIDTH_RATIOS[] = {0.5, 1};
const double SOMMERFELD[] = {0.1, 0.2, 0.5, 1, 2, 5, 10};

}  // namespace

int main(int argc, char** argv) {
  const bool csv = argc > 1 && std::strcmp(argv[1], "--csv") == 0;
  std::puts(csv ? "widthRatio,so,eps,beta,stiffUU,stiffUV,stiffVU,stiffVV,dampUU,dampUV,dampVU,"
                  "dampVV,whirlRatio,stabilityMass"
                : "| B/D | So | eps | beta | Kuu | Kuv | Kvu | Kvv | Cuu | Cuv | Cvu | Cvv | "
                  "whirl | m c w^2/F |\n"
                  "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|");
  const char* const format = csv ? ",%.6g" : " %.4g |";
  for (const double widthRatio : WIDTH_RATIOS)
    for (const double so : SOMMERFELD) {
      const RotorCoefficients r = rotorCoefficients({widthRatio, COEFFICIENT_GRID}, so, 0.5);
      std::printf(csv ? "%g,%g" : "| %g | %g |", widthRatio, so);
      std::printf(csv ? ",%.6g,%.6g" : " %.4f | %.2f |", r.eps, r.beta);
      for (const auto* m : {&r.stiffness, &r.damping})
        for (int i = 0; i < 2; ++i)
          for (int j = 0; j < 2; ++j) std::printf(format, (*m)[i][j]);
      std::printf(format, r.whirlRatio);
      std::printf(format, r.stabilityMass);
      std::puts("");
    }
  return 0;
}
