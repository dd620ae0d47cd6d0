// The screen and the CSV of palimo-balance. The blocks that palimo prints
// are printed by palimo's own printers; the lines of the search, the
// balances and the checks spell a value that is not a number one way
// everywhere.
#include "balance/report.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "app/display.h"
#include "balance/rotor.h"
#include "calc/stages.h"
#include "console/output.h"

Spelled spell(double value, const char* format) {
  Spelled spelled;
  if (std::isnan(value))
    std::snprintf(spelled.text, sizeof spelled.text, "nan");
  else if (std::isinf(value))
    std::snprintf(spelled.text, sizeof spelled.text, value > 0 ? "inf" : "-inf");
  else
    std::snprintf(spelled.text, sizeof spelled.text, format, value);
  return spelled;
}

const char* soughtName(const Cooling& cooling) {
  return cooling.mode == CoolingMode::HOUSING ? "LagerT" : "OelAusT";
}

std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string cell = "\"";
  for (const char c : text) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + "\"";
}

namespace {

// A balance's gap to the microkelvin: far below the tolerance, and above
// the last digits in which two platforms' mathematical libraries differ.
double roundedGap(double gap) {
  const double rounded = std::round(gap * 1e6) / 1e6;
  return rounded == 0 ? 0 : rounded;
}

const char* holds(bool check) { return check ? "erfuellt" : "nicht erfuellt"; }

// The sought temperature's name, padded to the columns of the screen.
std::string padded(const Cooling& cooling) {
  std::string name = soughtName(cooling);
  name.resize(7, ' ');
  return name;
}

// The search, one line a calculation, headed by the temperature sought.
void printSearch(const HeatBalance& balance, const Cooling& cooling) {
  const char* const titles[] = {"", " ueber das Gehaeuse", " ueber Oel und Gehaeuse"};
  printFormatted("Waermebilanz%s, dyn.Vis. nach Ubbelohde-Walther\n",
                 titles[static_cast<int>(cooling.mode)]);
  printFormatted("Nr. %s    S-FilmT    dyn.Vis.   %s ber.\n", padded(cooling).c_str(),
                 soughtName(cooling));
  printText("    GradC      GradC      mPa*s      GradC\n");
  const int shown = balance.stepCount < MAX_BALANCE_STEPS ? balance.stepCount : MAX_BALANCE_STEPS;
  for (int i = 0; i < shown; ++i) {
    const BalanceStep& step = balance.steps[i];
    printFormatted("%3d %-10s %-10s %-10s %s\n", i + 1, spell(step.assumedOutlet).text,
                   spell(step.filmTemp).text, spell(step.viscosity).text,
                   spell(step.calculatedOutlet).text);
  }
  if (shown < balance.stepCount)
    printFormatted("... %d weitere Rechnungen\n", balance.stepCount - shown);
}

// The balance reported, how far the calculation misses it, and the others;
// where the housing gives heat off, the two heat flows.
void printBalances(const HeatBalance& balance, const Cooling& cooling) {
  const BalancePoint& first = balance.balances[0];
  const char* name = soughtName(cooling);
  printFormatted("Bilanz geschlossen: %s= %s GradC%s\n", name, spell(first.outletTemp).text,
                 first.rising ? ", instabil" : "");
  printFormatted("Abweichung: %s ber.-%s= %s K%s\n", name, name, spell(roundedGap(first.gap)).text,
                 first.jump ? ", Sprung ueber 0.001 K" : "");
  if (cooling.mode != CoolingMode::OIL) {
    double housingHeat = 0, oilHeat = 0;
    heatFlows(balance.data, balance.results, cooling, housingHeat, oilHeat);
    printFormatted("Waermestroeme: Gehaeuse= %s W, Oel= %s W\n", spell(housingHeat).text,
                   spell(oilHeat).text);
  }
  const int kept = balance.balanceCount < MAX_BALANCES ? balance.balanceCount : MAX_BALANCES;
  for (int i = 1; i < kept; ++i) {
    const BalancePoint& other = balance.balances[i];
    printFormatted("weitere Bilanz: %s= %s GradC, h0= %s mm, %s\n", name,
                   spell(other.outletTemp).text, spell(other.h0).text,
                   other.rising ? "instabil" : "stabil");
  }
  if (kept < balance.balanceCount)
    printFormatted("... %d weitere Bilanzen\n", balance.balanceCount - kept);
}

void printChecks(const HeatBalance& balance, const Checks& checks, const Limits& limits,
                 const Cooling& cooling) {
  const BearingData& d = balance.data;
  const BearingResults& r = balance.results;
  printText("\nPruefung am Bilanzpunkt:\n");
  printFormatted("h0     = %s mm >= h0lim= %s mm: %s\n", spell(r.h0).text, spell(d.h0Limit).text,
                 holds(checks.film));
  printFormatted("Re     = %s <= Re kr= %s: %s\n", spell(r.re).text, spell(r.reCrit).text,
                 holds(checks.laminar));
  if (!std::isnan(limits.outletTemp))
    printFormatted("%s= %s GradC <= %s GradC: %s\n", padded(cooling).c_str(),
                   spell(d.oilOutletTemp).text, spell(limits.outletTemp).text, holds(checks.temp));
  if (!std::isnan(limits.load))
    printFormatted("p      = %s N/mm2 <= %s N/mm2: %s\n", spell(r.pressure).text,
                   spell(limits.load).text, holds(checks.load));
  printFormatted("n ue   = %s 1/min, n/n ue= %s\n", spell(checks.speedTransition).text,
                 spell(d.speed / checks.speedTransition).text);
}

// A balanced point as palimo calculates it from the row's own ten digits:
// every value of the data set rounded to them, the film temperature derived
// again. palimo, given the row, prints the row's results, even where the
// balance lies on a step of the eccentricity and the rounding crosses it.
struct BalancedRow {
  BearingData data;
  BearingResults results;
  double gap = 0;  // the residual of the sought temperature, K
};

BalancedRow balancedRow(const Design& design, const HeatBalance* balance) {
  BalancedRow row;
  if (!balance || balance->outcome != BalanceOutcome::BALANCED) return row;
  BearingData& d = row.data;
  d = balance->data;
  for (double* value : {&d.load, &d.speed, &d.diameter, &d.width, &d.clearance, &d.viscosity,
                        &d.supplyPressure, &d.supplySize, &d.oilInletTemp, &d.oilOutletTemp,
                        &d.alphaShaft, &d.alphaBearing, &d.h0Limit})
    *value = asPrinted(*value);
  updateFilmTemp(d);
  calculateBearing(d, row.results);
  row.gap = balanceResidual(d, row.results, design.cooling);
  return row;
}

// Every column: the data set, the results record, the oil, the balances,
// the limits and the transition speed. An option's column takes its name
// from the option table. known tells whether the row has the value.
template <typename Visit>
void forEachColumn(const Design& design, const HeatBalance* balance, const BalancedRow& row,
                   Visit visit) {
  const bool balanced = balance && balance->outcome == BalanceOutcome::BALANCED;
  const BearingData& d = balanced ? row.data : design.data;
  const BearingResults& r = row.results;
  // An option's column as the balance calculated it: with the housing
  // alone, the oil's inlet temperature is the bearing's.
  Design shown = design;
  if (balanced) shown.data = d;
  const auto option = [&](const char* name) {
    const int i = findOption(name);
    const double value = optionValue(shown, i);
    visit(OPTIONS[i].column, value, !std::isnan(value), i);
  };
  const auto result = [&](const char* name, double value) { visit(name, value, balanced, -1); };
  option("load"), option("speed"), option("diameter"), option("width"), option("clearance");
  result("viscosity", d.viscosity);
  option("supply-pressure"), option("supply-size"), option("inlet");
  result("oilOutletTemp", d.oilOutletTemp);
  option("alpha-shaft"), option("alpha-bearing"), option("h0-limit");
  result("filmTemp", d.filmTemp);
  option("supply-case"), option("direct");
  result("u", r.u), result("omega", r.omega), result("psi0", r.psi0);
  result("deltaPsi", r.deltaPsi), result("psi", r.psi), result("widthRatio", r.widthRatio);
  result("pressure", r.pressure), result("so", r.so), result("a1", r.a1), result("a2", r.a2);
  result("eps", r.eps), result("passes", r.passes), result("h0", r.h0), result("beta", r.beta);
  result("re", r.re), result("reCrit", r.reCrit), result("frictionChar", r.frictionChar);
  result("frictionPower", r.frictionPower), result("q3", r.q3), result("q1", r.q1);
  result("qp", r.qp), result("q2", r.q2), result("q", r.q);
  result("outletTempCalc", r.outletTempCalc), result("epsTransition", r.epsTransition);
  result("soTransition", r.soTransition);
  option("nu40"), option("nu100"), option("density");
  visit("balances", balance ? balance->balanceCount : 0, balance != nullptr, -1);
  result("balanceGap", roundedGap(row.gap));
  option("temp-limit"), option("load-limit");
  const Checks checks = checkBearing(d, r, design.limits);
  result("speedTransition", checks.speedTransition);
}

// The rotor's values at the band's three clearances: the film's
// eccentricity, the dimensional coefficients and the threshold. An end
// whose film finds no equilibrium says so in its column, with a note below.
template <typename Line>
void printBandRotor(const HeatBalance balances[BAND_CASES], const Line& line) {
  RotorValues rotor[BAND_CASES];
  bool unsolved = false;
  for (int k = 0; k < BAND_CASES; ++k) {
    rotor[k] = rotorValues(balances[k].data, balances[k].results);
    unsolved = unsolved || !rotor[k].film.solved;
  }
  Spelled cells[BAND_CASES];
  const auto numbers = [&](const char* label, const auto& value) {
    for (int k = 0; k < BAND_CASES; ++k)
      cells[k] = rotor[k].film.solved ? spell(value(k)) : Spelled{"-"};
    line(label, [&](int k) { return cells[k].text; });
  };
  line("eps Film", [&](int k) {
    cells[k] = spell(rotor[k].film.eps);
    return rotor[k].film.solved ? cells[k].text : "kein Gleichg.";
  });
  const char* const uv[] = {"uu", "uv", "vu", "vv"};
  for (int m = 0; m < 8; ++m) {
    const std::string label =
        std::string(m < 4 ? "k" : "d") + uv[m % 4] + (m < 4 ? " N/m" : " Ns/m");
    numbers(label.c_str(), [&](int k) {
      const double(&values)[2][2] = m < 4 ? rotor[k].stiffness : rotor[k].damping;
      return values[m % 4 / 2][m % 2];
    });
  }
  numbers("Wirbelverh.", [&](int k) { return rotor[k].film.whirlRatio; });
  numbers("m*c*w^2/F", [&](int k) { return rotor[k].film.stabilityMass; });
  if (unsolved)
    printFormatted("kein Gleichg.: kein Gleichgewicht des Films fuer eps von %g bis %g\n",
                   LOWEST_REYNOLDS_EPS, HIGHEST_REYNOLDS_EPS);
}

}  // namespace

void printScreen(const HeatBalance& balance, const Checks& checks, const Design& design) {
  const Limits& limits = design.limits;
  printSearch(balance, design.cooling);
  printBalances(balance, design.cooling);
  printText("\n");
  printBearingAndOilValues(balance.data);
  printText("\n");
  printTemperatureValues(balance.data);
  printText("\n");
  printCharacteristics(balance.results);
  printFilmGeometry(balance.data, balance.results);
  // With the housing alone the oil only wets the bearing: palimo's outlet
  // temperature of oil flowing through has no meaning there.
  printOperatingResults(balance.results, design.cooling.mode != CoolingMode::HOUSING);
  printChecks(balance, checks, limits, design.cooling);
  if (design.coefficients)
    printRotorBlock(rotorValues(balance.data, balance.results), balance.results);
}

void printCsvHeader(const CsvLayout& layout) {
  const char* separator = "";
  forEachColumn(Design(), nullptr, BalancedRow(), [&](const char* name, double, bool, int) {
    printFormatted("%s%s", separator, name);
    separator = ",";
  });
  printText(",verdict");
  if (layout.cooling)
    printText(",cooling,ambientTemp,housingArea,heatTransfer,housingHeat,oilHeat");
  if (layout.fits) printText(",fit,clearanceCase,fitVerdict");
  if (layout.coefficients) printText(ROTOR_COLUMNS);
  printText(layout.study ? ",status\n" : "\n");
}

unsigned failedChecks(const Design& design, const HeatBalance* balance) {
  if (!balance || balance->outcome != BalanceOutcome::BALANCED) return NOT_BALANCED;
  const BalancedRow row = balancedRow(design, balance);
  const Checks c = checkBearing(row.data, row.results, design.limits);
  return (c.film ? 0 : 1U) | (c.laminar ? 0 : 2U) | (c.temp ? 0 : 4U) | (c.load ? 0 : 8U);
}

std::string verdictText(unsigned failed) {
  if (failed & NOT_BALANCED) return "";
  const char* const names[] = {"h0", "laminar", "temp", "load"};
  std::string text;
  for (int i = 0; i < 4; ++i)
    if (failed & (1U << i)) text += (text.empty() ? "" : "+") + std::string(names[i]);
  return text.empty() ? "ok" : text;
}

void printCsvRow(const Design& design, const HeatBalance* balance, const char* status,
                 const CsvLayout& layout, const RawCell& raw, const BandCells* band) {
  const char* separator = "";
  const bool balanced = balance && balance->outcome == BalanceOutcome::BALANCED;
  const BalancedRow row = balancedRow(design, balance);
  forEachColumn(design, balance, row, [&](const char*, double value, bool known, int option) {
    printText(separator);
    separator = ",";
    if (option >= 0 && option == raw.option) return printText(csvCell(raw.text).c_str());
    // -0, as a difference of equal coefficients gives it, is 0.
    if (known) printText(spell(value == 0 ? 0 : value, "%.10g").text);
  });
  printFormatted(",%s", verdictText(failedChecks(design, balance)).c_str());
  if (layout.cooling) {
    for (const char* name : {"cooling", "ambient", "housing-area", "heat-transfer"})
      printFormatted(",%s", optionText(design, findOption(name)).c_str());
    double housingHeat = 0, oilHeat = 0;
    heatFlows(row.data, row.results, design.cooling, housingHeat, oilHeat);
    for (const double heat : {housingHeat, oilHeat})
      printFormatted(",%s", balanced ? spell(heat == 0 ? 0 : heat, "%.10g").text : "");
  }
  if (layout.fits)
    printFormatted(",%s,%s,%s", csvCell(band ? band->fit : "").c_str(),
                   band ? band->clearanceCase : "", band ? band->fitVerdict.c_str() : "");
  if (layout.coefficients) {
    const bool wanted = balanced && design.coefficients;
    const RotorValues rotor = wanted ? rotorValues(row.data, row.results) : RotorValues();
    printRotorCells(wanted ? &rotor : nullptr);
  }
  if (status) printFormatted(",%s", status);
  printText("\n");
}

void printBandScreen(const Design& design, const double band[BAND_CASES],
                     const HeatBalance balances[BAND_CASES]) {
  printFormatted("Passung %s bei D= %s mm, Lagerspiel bei 20 GradC:\n", design.fit.c_str(),
                 spell(design.data.diameter).text);
  const auto line = [](const char* label, const auto& value) {
    printFormatted("%-15s", label);
    for (int k = 0; k < BAND_CASES; ++k)
      printFormatted(k < BAND_CASES - 1 ? "%-15s" : "%s", value(k));
    printText("\n");
  };
  const char* const heads[] = {"kleinstes", "mittleres", "groesstes"};
  line("", [&](int k) { return heads[k]; });
  Spelled cells[BAND_CASES];
  const auto numbers = [&](const char* label, const auto& value) {
    for (int k = 0; k < BAND_CASES; ++k) cells[k] = spell(value(k));
    line(label, [&](int k) { return cells[k].text; });
  };
  numbers("Lagersp. mm", [&](int k) { return band[k]; });
  const auto result = [&](const char* label, double BearingResults::*field) {
    numbers(label, [&](int k) { return balances[k].results.*field; });
  };
  result("psi", &BearingResults::psi);
  numbers((soughtName(design.cooling) + std::string(" GradC")).c_str(),
          [&](int k) { return balances[k].data.oilOutletTemp; });
  result("h0 mm", &BearingResults::h0);
  result("So", &BearingResults::so);
  result("eps", &BearingResults::eps);
  result("Po W", &BearingResults::frictionPower);
  result("Q cm3/s", &BearingResults::q);
  Checks checks[BAND_CASES];
  for (int k = 0; k < BAND_CASES; ++k)
    checks[k] = checkBearing(balances[k].data, balances[k].results, design.limits);
  numbers("n ue 1/min", [&](int k) { return checks[k].speedTransition; });
  const auto check = [&](const char* label, bool Checks::*member) {
    line(label, [&](int k) { return holds(checks[k].*member); });
  };
  check("h0 >= h0lim", &Checks::film);
  check("Re <= Re kr", &Checks::laminar);
  if (!std::isnan(design.limits.outletTemp))
    check((soughtName(design.cooling) + std::string(" <= Gr.")).c_str(), &Checks::temp);
  if (!std::isnan(design.limits.load)) check("p <= Grenze", &Checks::load);
  if (design.coefficients) printBandRotor(balances, line);
  unsigned failed = 0;
  for (int k = 0; k < BAND_CASES; ++k) failed |= failedChecks(design, &balances[k]);
  const std::string verdict = verdictText(failed);
  printFormatted(
      "Urteil ueber das Spiel: %s%s\n",
      verdict == "ok" ? "erfuellt" : "nicht erfuellt: ", verdict == "ok" ? "" : verdict.c_str());
}
