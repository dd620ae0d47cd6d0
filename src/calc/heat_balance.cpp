// The oil's viscosity over temperature, and the search for the outlet
// temperature at which the heat balance closes.
#include "calc/heat_balance.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "calc/stages.h"

namespace {

constexpr double KELVIN = 273.15;  // 0 C in K
// Any narrowing search ends after this many steps: far more than the 0.02 K
// or 1e-5 K of a 250 K range need, and an end where doubles run out.
constexpr int MAX_HALVINGS = 100;

// Walther's double logarithm of a kinematic viscosity in mm2/s.
double walther(double nu) { return std::log10(std::log10(nu + 0.7)); }

// One calculation at an assumed outlet temperature.
struct Point {
  double temp;      // assumed outlet temperature, C
  double residual;  // calculated minus assumed, K; NaN without a film, an oil flow or a number
  double h0;        // mm
  double eps;       // relative eccentricity
  int passes;       // 0 where the direct fit found the eccentricity
};

bool positive(const Point& p) { return p.residual > 0; }

// The search's state: the bearing as calculated last, and the balance it
// fills.
struct Search {
  HeatBalance& balance;
  const Oil& oil;
  const Cooling& cooling;
  const PointWay* way;
  BearingData data;
  BearingResults results;
  bool anyClearance = false;  // a calculation had a positive clearance
  bool anyFilm = false;       // and h0
  bool anyNumber = false;     // and gave an outlet temperature
};

// Calculates with the assumed outlet temperature at the film temperature's
// viscosity, and records the step.
Point calculate(Search& s, double assumedOutlet, bool record = true) {
  BearingData& data = s.data;
  data.oilOutletTemp = assumedOutlet;
  if (s.cooling.mode == CoolingMode::HOUSING) data.oilInletTemp = assumedOutlet;
  updateFilmTemp(data);
  data.viscosity = dynamicViscosity(s.oil, data.filmTemp);
  calculateBy(s.way, data, s.results);
  const BearingResults& r = s.results;
  HeatBalance& balance = s.balance;
  const double residual = balanceResidual(data, r, s.cooling);
  if (record && balance.stepCount < MAX_BALANCE_STEPS)
    balance.steps[balance.stepCount] = {
        assumedOutlet, data.filmTemp, data.viscosity,
        s.cooling.mode == CoolingMode::OIL ? r.outletTempCalc : assumedOutlet + residual};
  if (record) ++balance.stepCount;
  Point point{assumedOutlet, residual, r.h0, r.eps, r.passes};
  const bool film = r.psi > 0 && r.h0 > 0;
  s.anyClearance = s.anyClearance || r.psi > 0;
  s.anyFilm = s.anyFilm || film;
  // Without oil flowing through (Q not above zero) the oil carries no heat
  // away: the outlet temperature has its pole where Q changes its sign, and
  // no balance lies beyond it. The housing alone needs no oil flow.
  if (!film || (s.cooling.mode != CoolingMode::HOUSING && !(r.q > 0))) point.residual = NAN;
  s.anyNumber = s.anyNumber || !std::isnan(point.residual);
  return point;
}

void addBalance(Search& s, const Point& at, bool rising, bool jump) {
  HeatBalance& balance = s.balance;
  if (balance.balanceCount < MAX_BALANCES)
    balance.balances[balance.balanceCount] = {at.temp, at.residual, at.h0, rising, jump};
  ++balance.balanceCount;
}

// The range of assumed outlet temperatures with a film. A bearing starts
// from the oil's inlet temperature (with the housing alone, from the
// ambient): where its clearance is not open there, or at 20 C, the shaft is
// seized and no film forms. From there the search runs BALANCE_RANGE up;
// with oil and housing together in a cooler room, also down towards the
// ambient, where the housing takes more heat than the friction makes and
// the oil leaves cooler than it came. The effective clearance psi0 +
// (alphaL - alphaW)(Tfilm - 20), Tfilm = (T + Tin) / 2, is linear in T;
// where a shaft expands more than its bearing it closes as the film warms.
// The range stays a millionth of BALANCE_RANGE inside, where the film is
// thin but there.
void findRange(const BearingData& data, const Cooling& cooling, HeatBalance& balance) {
  const bool housing = cooling.mode == CoolingMode::HOUSING;
  const double start = housing ? cooling.ambientTemp : data.oilInletTemp;
  balance.rangeFrom = start;
  if (cooling.mode == CoolingMode::BOTH && cooling.ambientTemp < start)
    balance.rangeFrom = std::max(cooling.ambientTemp, start - BALANCE_RANGE);
  balance.rangeTo = start + BALANCE_RANGE;
  balance.closedAtStart = !(data.clearance > 0);
  const double change = data.alphaBearing - data.alphaShaft;
  if (change == 0 || balance.closedAtStart) return;
  // The film temperature at which it closes, and the sought one there: the
  // film's own with the housing alone.
  const double closedFilm = 20 - data.clearance / data.diameter / change;
  const double closed = housing ? closedFilm : 2 * closedFilm - data.oilInletTemp;
  const double inside = 1e-6 * BALANCE_RANGE;
  if (change < 0 && closed - inside <= start) balance.closedAtStart = true;
  if (change < 0 && closed < balance.rangeTo) {
    balance.rangeTo = closed - inside;
    balance.closesAtTop = true;
  }
  if (change > 0 && closed + inside >= start) balance.closedAtStart = true;
  if (change > 0 && closed > balance.rangeFrom) balance.rangeFrom = closed + inside;
}

// Closes in on a change of sign between a and b by regula falsi in the
// Illinois form, which never leaves its bracket. Where the residual jumps
// across zero, with a step of the bisection's eccentricity, the bracket
// closes on the jump, and the side nearer zero is the balance.
void closeIn(Search& s, Point a, Point b) {
  if (std::isnan(a.residual) || std::isnan(b.residual) || positive(a) == positive(b)) return;
  const bool rising = !positive(a);
  double fa = a.residual, fb = b.residual;
  int side = 0;  // which end moved last: +1 a, -1 b
  for (int step = 0; step < 100; ++step) {
    double t = b.temp - fb * (b.temp - a.temp) / (fb - fa);
    if (!(t > a.temp && t < b.temp)) t = 0.5 * (a.temp + b.temp);
    const Point p = calculate(s, t);
    if (std::isnan(p.residual)) return;
    if (std::fabs(p.residual) <= BALANCE_TOLERANCE) return addBalance(s, p, rising, false);
    // Illinois: an end that stays twice has its weight halved, so that the
    // bracket closes from both sides.
    if (positive(p) == positive(a)) {
      a = p, fa = p.residual;
      if (side == 1) fb *= 0.5;
      side = 1;
    } else {
      b = p, fb = p.residual;
      if (side == -1) fa *= 0.5;
      side = -1;
    }
    if (b.temp - a.temp <= 1e-9 * (1 + std::fabs(b.temp))) break;
  }
  const Point& nearer = std::fabs(a.residual) <= std::fabs(b.residual) ? a : b;
  const bool jump = std::fabs(nearer.residual) > BALANCE_TOLERANCE;
  // A jump is a balance only at a step of the eccentricity; the residual
  // has no other step.
  if (jump && a.eps == b.eps && a.passes == b.passes) return;
  addBalance(s, nearer, rising, jump);
}

// Searches between two scanned points. Where the eccentricity's method
// changes between them, the residual jumps there: the change is located,
// and each side is searched on its own; the jump itself is no balance.
void searchBetween(Search& s, const Point& a, const Point& b) {
  if (a.passes == b.passes) return closeIn(s, a, b);
  Point below = a, above = b;
  // Far above 0 C neighbouring temperatures lie further apart than
  // SWITCH_WIDTH: the halving also ends where no temperature lies between.
  for (int pass = 0; pass < MAX_HALVINGS && above.temp - below.temp > SWITCH_WIDTH; ++pass) {
    const double middle = 0.5 * (below.temp + above.temp);
    if (!(middle > below.temp && middle < above.temp)) break;
    const Point p = calculate(s, middle);
    (p.passes == below.passes ? below : above) = p;
  }
  closeIn(s, a, below);
  closeIn(s, above, b);
}

// Where three scanned points of one sign and one method turn (the middle
// one nearer zero than both neighbours), the residual may cross zero twice
// between them. Seeks the extreme by golden section until it crosses or the
// interval is TURN_WIDTH wide; gives the point nearest zero or beyond it.
Point seekTurn(Search& s, const Point& left, const Point& middle, const Point& right) {
  const double sense = positive(middle) ? 1 : -1;  // seeks the least of sense * residual
  const double golden = 0.6180339887498949;
  double lo = left.temp, hi = right.temp;
  Point best = middle;
  Point p1 = calculate(s, hi - golden * (hi - lo));
  Point p2 = calculate(s, lo + golden * (hi - lo));
  for (int pass = 0;; ++pass) {
    for (const Point& p : {p1, p2})
      if (sense * p.residual < sense * best.residual) best = p;
    if (sense * best.residual <= 0 || hi - lo <= TURN_WIDTH || std::isnan(p1.residual) ||
        std::isnan(p2.residual) || pass == MAX_HALVINGS || !(p1.temp < p2.temp))
      return best;
    if (sense * p1.residual < sense * p2.residual) {
      hi = p2.temp, p2 = p1;
      p1 = calculate(s, hi - golden * (hi - lo));
    } else {
      lo = p1.temp, p1 = p2;
      p2 = calculate(s, lo + golden * (hi - lo));
    }
  }
}

bool turns(const Point& a, const Point& m, const Point& b) {
  if (a.passes != m.passes || m.passes != b.passes) return false;
  if (positive(a) != positive(m) || positive(m) != positive(b)) return false;
  const double sense = positive(m) ? 1 : -1;
  return sense * m.residual < sense * a.residual && sense * m.residual < sense * b.residual;
}

}  // namespace

double kinematicViscosity(const Oil& oil, double tempC) {
  const double t40 = std::log10(40 + KELVIN);
  const double t100 = std::log10(100 + KELVIN);
  const double b = (walther(oil.nu40) - walther(oil.nu100)) / (t100 - t40);
  const double a = walther(oil.nu40) + b * t40;
  return std::pow(10, std::pow(10, a - b * std::log10(tempC + KELVIN))) - 0.7;
}

double oilDensity(const Oil& oil, double tempC) { return oil.density15 - 0.00065 * (tempC - 15); }

double dynamicViscosity(const Oil& oil, double tempC) {
  return kinematicViscosity(oil, tempC) * oilDensity(oil, tempC);
}

double balanceResidual(const BearingData& data, const BearingResults& results,
                       const Cooling& cooling) {
  const double housing = cooling.heatTransfer * cooling.housingArea;  // W/K
  switch (cooling.mode) {
    case CoolingMode::OIL:
      break;
    case CoolingMode::HOUSING:
      return cooling.ambientTemp + results.frictionPower / housing - data.filmTemp;
    case CoolingMode::BOTH: {
      // palimo's rho c of its outlet temperature, times Q.
      const double oilLeft =
          results.frictionPower - housing * (data.filmTemp - cooling.ambientTemp);
      return data.oilInletTemp + oilLeft / (OIL_HEAT_CAPACITY * results.q) - data.oilOutletTemp;
    }
  }
  return results.outletTempCalc - data.oilOutletTemp;
}

void heatFlows(const BearingData& data, const BearingResults& results, const Cooling& cooling,
               double& housingHeat, double& oilHeat) {
  const bool byHousing = cooling.mode != CoolingMode::OIL;
  const bool byOil = cooling.mode != CoolingMode::HOUSING;
  housingHeat =
      byHousing ? cooling.heatTransfer * cooling.housingArea * (data.filmTemp - cooling.ambientTemp)
                : 0;
  oilHeat = byOil ? OIL_HEAT_CAPACITY * results.q * (data.oilOutletTemp - data.oilInletTemp) : 0;
}

bool calculateBy(const PointWay* way, const BearingData& data, BearingResults& results) {
  return way ? way->calculate(data, results, way->state) : calculateBearing(data, results);
}

HeatBalance closeHeatBalance(const BearingData& data, const Oil& oil, const Cooling& cooling,
                             const PointWay* way) {
  HeatBalance balance;
  Search s{balance, oil, cooling, way, data, BearingResults()};
  findRange(data, cooling, balance);
  const double from = balance.rangeFrom, to = balance.rangeTo;
  // B/D does not change with the temperature: one calculation tells.
  BearingData first = data;
  first.oilOutletTemp = from;
  if (cooling.mode == CoolingMode::HOUSING) first.oilInletTemp = from;
  updateFilmTemp(first);
  if (!computeCharacteristics(first, s.results)) {
    balance.outcome = BalanceOutcome::WIDTH_RATIO_OUT_OF_RANGE;
    balance.data = first;
    balance.results = s.results;
    return balance;
  }
  if (balance.closedAtStart || !(to > from)) {
    balance.outcome = BalanceOutcome::NO_FILM;
    balance.data = first;
    return balance;
  }

  // The scan, and at each turn its extreme where it lies across zero.
  // The scan's points, and as many extremes between them.
  constexpr int GRID_POINTS = static_cast<int>(2 * BALANCE_RANGE / SCAN_STEP) + 2;
  const int steps = std::max(MIN_SCAN_STEPS, static_cast<int>(std::ceil((to - from) / SCAN_STEP)));
  Point grid[GRID_POINTS];
  for (int k = 0; k <= steps; ++k)
    grid[k] = calculate(s, k == steps ? to : from + (to - from) * k / steps);
  Point points[2 * GRID_POINTS];
  int count = 0;
  for (int k = 0; k <= steps; ++k) {
    points[count++] = grid[k];
    if (k == 0 || k == steps || !turns(grid[k - 1], grid[k], grid[k + 1])) continue;
    const Point extreme = seekTurn(s, grid[k - 1], grid[k], grid[k + 1]);
    if (std::isnan(extreme.residual) || positive(extreme) == positive(grid[k])) continue;
    if (extreme.temp < grid[k].temp) {
      points[count - 1] = extreme;
      points[count++] = grid[k];
    } else {
      points[count++] = extreme;
    }
  }
  for (int k = 1; k < count; ++k) searchBetween(s, points[k - 1], points[k]);

  if (balance.balanceCount > 0) {
    balance.outcome = BalanceOutcome::BALANCED;
    calculate(s, balance.balances[0].outletTemp, false);
  } else {
    // DIN's closed forms have a film wherever the clearance is open; a
    // bore's film may find no position that carries the load.
    const bool noEquilibrium = way && s.anyClearance;
    balance.outcome = !s.anyFilm && noEquilibrium ? BalanceOutcome::NO_EQUILIBRIUM
                      : !s.anyFilm                ? BalanceOutcome::NO_FILM
                      : !s.anyNumber              ? BalanceOutcome::NOT_A_NUMBER
                                                  : BalanceOutcome::NO_BALANCE;
  }
  balance.data = s.data;
  balance.results = s.results;
  return balance;
}
