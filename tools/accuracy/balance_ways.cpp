// palimo_balance_ways: the heat balance of the plain bore closed two ways on
// the same bearings, by DIN 31652's closed forms and by the film's own
// friction and end flow (the Reynolds equation of palimo-balance's
// --coefficients), and how far the two outlet temperatures lie apart. The
// oil enters without pressure, as the film is fed: DIN's pressure flow is
// then zero and both flows are the film's drag at the ends.
//
// Usage: palimo_balance_ways
#include <cmath>
#include <cstdio>

#include "balance/bore_way.h"
#include "calc/heat_balance.h"
#include "calc/stages.h"
#include "data/bearing_data.h"

namespace {

// The default bearing (D 120 mm, 2000 1/min, clearance 0.12 mm, an ISO VG
// 46 oil entering at 58 C) at three widths and three loads: So from about
// 0.1 to 20 at the balance.
const double WIDTHS[] = {30, 60, 120};         // mm: B/D 0.25, 0.5, 1
const double LOADS[] = {4000, 36000, 120000};  // N

struct Balanced {
  bool found;
  double outlet, so, eps, frictionChar, q;
};

Balanced balanced(const HeatBalance& b) {
  return {b.outcome == BalanceOutcome::BALANCED,
          b.balances[0].outletTemp,
          b.results.so,
          b.results.eps,
          b.results.frictionChar,
          b.results.q};
}

}  // namespace

int main() {
  const Oil oil{46, 6.8};
  const Cooling cooling;
  std::printf(
      "| B/D | F N | So | DIN: T_ex C | eps | mu/psi | Q cm3/s | film: T_ex C | eps | mu/psi | "
      "Q cm3/s | film - DIN K |\n"
      "|---|---|---|---|---|---|---|---|---|---|---|---|\n");
  double largest = 0;
  for (double width : WIDTHS)
    for (double load : LOADS) {
      BearingData d = defaultBearingData();
      d.width = width;
      d.load = load;
      d.supplyPressure = 0;
      const Balanced din = balanced(closeHeatBalance(d, oil, cooling));
      BoreWay state;  // the plain bore
      const PointWay way = boreWay(state);
      const Balanced film = balanced(closeHeatBalance(d, oil, cooling, &way));
      if (!din.found || !film.found) {
        std::printf("| %g | %g | no balance (DIN %d, film %d) |\n", width / d.diameter, load,
                    din.found, film.found);
        continue;
      }
      const double gap = film.outlet - din.outlet;
      largest = std::fmax(largest, std::fabs(gap));
      std::printf(
          "| %g | %g | %.3g | %.2f | %.3f | %.3f | %.1f | %.2f | %.3f | %.3f | %.1f | %+.2f |\n",
          width / d.diameter, load, din.so, din.outlet, din.eps, din.frictionChar, din.q,
          film.outlet, film.eps, film.frictionChar, film.q, gap);
    }
  std::printf("\nThe outlet temperatures lie at most %.2f K apart.\n", largest);
  return 0;
}
