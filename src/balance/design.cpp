// The domain of the closed forms, the viscosity law and the search.
#include "balance/design.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "balance/options.h"
#include "calc/viscosity_index.h"

namespace {

constexpr double KELVIN = 273.15;      // 0 C in K
constexpr double HIGHEST_TEMP = 1e15;  // C

bool refuse(Refusal* why, int option, Reason reason) {
  why->option = option;
  why->reason = reason;
  return false;
}

}  // namespace

bool inDomain(const Design& design, Refusal* why) {
  const Oil& oil = design.oil;
  const BearingData& data = design.data;
  // Every temperature of the table, by its unit: none lies below absolute
  // zero, and above 1e15 C the search's 250 K hold too few doubles (one
  // every 0.125 K there) to search.
  for (int i = 0; i < OPTION_COUNT; ++i) {
    if (std::strcmp(OPTIONS[i].unit, "C") != 0) continue;
    const double temp = optionValue(design, i);
    if (temp < -KELVIN) return refuse(why, i, Reason::BELOW_ABSOLUTE_ZERO);
    if (temp > HIGHEST_TEMP) return refuse(why, i, Reason::TEMP_TOO_HIGH);
  }
  // The rotor's mass at the threshold is compared with the bearing's share.
  if (!std::isnan(design.rotorMass) && !(design.rotorMass > 0))
    return refuse(why, opt::ROTOR_MASS, Reason::MASS_NOT_POSITIVE);
  // The bore's model: 1 ... 6 lobes, each within its share of the
  // circumference, a preload that leaves a gap at the lobe's middle.
  if (!std::isnan(design.lobes) && !(design.lobes == std::floor(design.lobes)))
    return refuse(why, opt::LOBES, Reason::LOBES_OUTSIDE);
  if (const char* outside = boreOutsideModel(designBore(design))) {
    const struct {
      const char* name;
      int option;
      Reason reason;
    } models[] = {{"lobes", opt::LOBES, Reason::LOBES_OUTSIDE},
                  {"lobe-arc", opt::LOBE_ARC, Reason::LOBE_ARC_OUTSIDE},
                  {"preload", opt::PRELOAD, Reason::PRELOAD_OUTSIDE},
                  {"offset", opt::OFFSET, Reason::OFFSET_OUTSIDE}};
    for (const auto& m : models)
      if (std::strcmp(outside, m.name) == 0) return refuse(why, m.option, m.reason);
  }
  // A clearance not above zero at 20 C is a shaft seized in its bore.
  if (design.fit.empty() && !(data.clearance > 0))
    return refuse(why, opt::CLEARANCE, Reason::CLEARANCE_NOT_POSITIVE);
  if (!(oil.nu100 > LOWEST_VISCOSITY)) return refuse(why, opt::NU100, Reason::VISCOSITY_TOO_LOW);
  if (!(oil.nu40 > oil.nu100)) return refuse(why, opt::NU40, Reason::NU40_NOT_ABOVE_NU100);
  // The pressure flow's closed forms take a supply element narrower than
  // the bearing (log(B/dH), B - bG) and oil pushed in, not drawn out: else
  // the oil flow can change its sign, where the heat balance has a pole.
  if (data.supplyPressure < 0) return refuse(why, opt::SUPPLY_PRESSURE, Reason::PRESSURE_NEGATIVE);
  if (data.supplySize >= data.width) return refuse(why, opt::SUPPLY_SIZE, Reason::SUPPLY_TOO_WIDE);
  // The housing's heat flow K A (T - T_amb) needs a surface and a
  // coefficient above zero.
  const Cooling& cooling = design.cooling;
  if (cooling.mode != CoolingMode::OIL && !(cooling.housingArea > 0))
    return refuse(why, opt::HOUSING_AREA, Reason::AREA_MISSING);
  if (!(cooling.heatTransfer > 0))
    return refuse(why, opt::HEAT_TRANSFER, Reason::TRANSFER_NOT_POSITIVE);
  return true;
}

bool resolveOil(Design& design, Refusal* why) {
  if (std::isnan(design.vi)) return true;
  design.oil.nu100 = nu100FromViscosityIndex(design.oil.nu40, design.vi);
  return !std::isnan(design.oil.nu100) || refuse(why, opt::VI, Reason::NO_OIL_OF_INDEX);
}

Bore designBore(const Design& design) {
  const NamedBore* named = findBore(design.boreName.c_str());
  Bore bore = named ? named->bore : Bore();
  // Lobes beyond an int's range are outside the model all the same.
  if (!std::isnan(design.lobes))
    bore.lobes = design.lobes >= 1 && design.lobes <= 6 ? static_cast<int>(design.lobes) : 0;
  if (!std::isnan(design.lobeArc)) bore.arc = design.lobeArc;
  if (!std::isnan(design.preload)) bore.preload = design.preload;
  if (!std::isnan(design.offset)) bore.offset = design.offset;
  // An angle is the same each turn; reduced, it keeps its digits in the
  // film's grid (1e308 degrees would leave none). + 0 makes -0 print as 0.
  if (!std::isnan(design.lobeAngle)) bore.lobeAngle = std::fmod(design.lobeAngle, 360.0) + 0.0;
  return bore;
}

bool byFilm(const Design& design) { return !isPlainBore(designBore(design)); }

double asPrinted(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  const double printed = std::strtod(text, nullptr);
  return std::isfinite(printed) ? printed : value;  // near the largest double, ten digits overflow
}
