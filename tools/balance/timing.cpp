// The computing time of one heat balance, without the process around it:
// the default bearing with an ISO VG 46 oil, and the fast bearing of the
// README with an ISO VG 32 oil, each balanced 20,000 times.
#include <chrono>
#include <cstdio>

#include "calc/heat_balance.h"

namespace {

void measure(const char* name, const BearingData& data, const Oil& oil) {
  constexpr int RUNS = 20000;
  int steps = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < RUNS; ++i) steps += closeHeatBalance(data, oil).stepCount;
  const std::chrono::duration<double, std::micro> spent = std::chrono::steady_clock::now() - start;
  std::printf("%s: %.1f us per balance of %d calculations\n", name, spent.count() / RUNS,
              steps / RUNS);
}

}  // namespace

int main() {
  const BearingData standard = defaultBearingData();
  BearingData fast = standard;
  fast.diameter = 100, fast.width = 80, fast.clearance = 0.15, fast.load = 10000;
  fast.speed = 6000, fast.oilInletTemp = 40;
  fast.supplyCase = SUPPLY_HOLE_90, fast.supplyPressure = 2, fast.supplySize = 8;
  measure("default bearing, VG 46", standard, {46, 6.8, 0.87});
  measure("fast bearing, VG 32", fast, {32, 5.4, 0.87});
}
