// A point of palimo-balance calculated once: its balance, its values as
// found and as the row's digits give them.
#include "balance/point.h"

#include <cmath>
#include <initializer_list>

#include "balance/bore_way.h"
#include "balance/options.h"
#include "calc/stages.h"

namespace {

// A balance's gap to the microkelvin: far below the tolerance, and above
// the last digits in which two platforms' mathematical libraries differ.
double roundedGap(double gap) {
  const double rounded = std::round(gap * 1e6) / 1e6;
  return rounded == 0 ? 0 : rounded;
}

// What follows from a balanced data set and its results.
void evaluate(const Design& design, View view, View shown, Evaluation& e) {
  e.gap = roundedGap(balanceResidual(e.data, e.results, design.cooling));
  e.checks = checkBearing(e.data, e.results, design.limits);
  const Checks& c = e.checks;
  e.failed = (c.film ? 0 : FAILS_H0) | (c.laminar ? 0 : FAILS_LAMINAR) | (c.temp ? 0 : FAILS_TEMP) |
             (c.load ? 0 : FAILS_LOAD);
  heatFlows(e.data, e.results, design.cooling, e.housingHeat, e.oilHeat);
  if (view != shown) return;
  // DIN's transition is the plain bore's; a bore's is its film's, sought
  // only for the values shown, as it costs some twenty films.
  if (byFilm(design)) {
    const BoreTransition t = boreTransition(designBore(design), e.data, e.results);
    e.results.epsTransition = t.eps;
    e.results.soTransition = t.so;
    e.checks.speedTransition = t.speed;
  }
  if (!design.coefficients) return;
  e.rotor = byFilm(design) ? boreRotorValues(designBore(design), e.data, e.results)
                           : rotorValues(e.data, e.results);
}

// The balanced point as palimo calculates it from the row's own ten
// digits: every value of the data set rounded to them, the film temperature
// derived again. palimo, given the row, prints the row's results, even
// where the balance lies on a step of the eccentricity and the rounding
// crosses it.
void rowOfDigits(const HeatBalance& balance, const PointWay* way, Evaluation& row) {
  BearingData& d = row.data;
  d = balance.data;
  for (double* value : {&d.load, &d.speed, &d.diameter, &d.width, &d.clearance, &d.viscosity,
                        &d.supplyPressure, &d.supplySize, &d.oilInletTemp, &d.oilOutletTemp,
                        &d.alphaShaft, &d.alphaBearing, &d.h0Limit})
    *value = asPrinted(*value);
  updateFilmTemp(d);
  calculateBy(way, d, row.results);
}

void calculatePoint(Point& p, View view) {
  const Design& design = p.design;
  BoreWay bore{designBore(design)};
  const PointWay film = boreWay(bore);
  const PointWay* way = byFilm(design) ? &film : nullptr;
  p.balance = closeHeatBalance(design.data, design.oil, design.cooling, way);
  p.balanced = p.balance.outcome == BalanceOutcome::BALANCED;
  if (!p.balanced) return;
  p.found.data = p.balance.data;
  p.found.results = p.balance.results;
  evaluate(design, view, View::SCREEN, p.found);
  p.found.gap = roundedGap(p.balance.balances[0].gap);  // the search's own, as it closed
  rowOfDigits(p.balance, way, p.row);
  evaluate(design, view, View::CSV, p.row);
  if (design.thresholdSpeed) p.threshold = thresholdSpeed(design);
}

}  // namespace

bool calculatePoints(const Design& design, View view, std::vector<Point>& points, Refusal* why) {
  double band[BAND_CASES];
  Fit fit;
  why->option = opt::FIT;
  why->value = design.fit;
  if (!design.fit.empty() && !(parseFit(design.fit, fit, &why->reason) &&
                               clearanceBand(fit, design.data.diameter, band, &why->reason)))
    return false;
  const int count = design.fit.empty() ? 1 : BAND_CASES;
  points.assign(static_cast<std::size_t>(count), Point());
  for (int k = 0; k < count; ++k) {
    Point& p = points[static_cast<std::size_t>(k)];
    p.design = design;
    if (count > 1) p.design.data.clearance = band[k], p.bandEnd = k;
    calculatePoint(p, view);
  }
  return true;
}

unsigned failedAtAny(const std::vector<Point>& points) {
  unsigned failed = 0;
  for (const Point& p : points) failed |= p.balanced ? p.row.failed : NOT_BALANCED;
  return failed;
}

std::string verdictText(unsigned failed) {
  if (failed & NOT_BALANCED) return "";
  const char* const names[] = {"h0", "laminar", "temp", "load"};
  std::string text;
  for (int i = 0; i < 4; ++i)
    if (failed & (1U << i)) text += (text.empty() ? "" : "+") + std::string(names[i]);
  return text.empty() ? "ok" : text;
}

const char* soughtName(const Cooling& cooling) {
  return cooling.mode == CoolingMode::HOUSING ? "LagerT" : "OelAusT";
}
