// The CSV's columns in one list: the data set, the results record, the oil,
// the balances, the limits and checks, then the tails of the oil's grade,
// the cooling, the fit, the rotor and a study's status. A new output is a
// row of COLUMNS, which gives its header, its unit and its cells.
#include "balance/csv.h"

#include <cmath>
#include <iterator>

#include "balance/options.h"
#include "console/output.h"
#include "text/spell.h"

namespace {

// A text as a CSV cell: quoted where it holds a comma, a quote or a line
// end.
std::string csvCell(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string cell = "\"";
  for (const char c : text) cell += c == '"' ? std::string("\"\"") : std::string(1, c);
  return cell + "\"";
}

// A number as its cell: ten digits, and -0 as 0.
std::string number(double value, const char* format = "%.10g") {
  return spellCell(value, format).text;
}

bool balanced(const CsvRow& r) { return r.point && r.point->balanced; }
const Evaluation& row(const CsvRow& r) { return r.point->row; }

// An option's cell: its value in the design as the balance calculated it
// (with the housing alone, the oil's inlet temperature is the bearing's),
// or a raw cell as it stands.
std::string optionCell(const CsvRow& r, int option) {
  if (option == r.raw.option) return csvCell(r.raw.text);
  if (OPTIONS[option].kind == Kind::TEXT) return csvCell(optionText(*r.design, option));
  Design shown = *r.design;
  if (balanced(r)) shown.data = row(r).data;
  const double value = optionValue(shown, option);
  return std::isnan(value) ? "" : number(value);
}

// The rotor's values in the order of its columns: the film's eccentricity
// and attitude angle, K, C, k and d row by row, the whirl ratio, the mass
// parameter and the mass at the threshold.
double rotorValue(const RotorValues& v, int k) {
  if (k == 0) return v.film.eps;
  if (k == 1) return v.film.beta;
  if (k == 18) return v.film.whirlRatio;
  if (k == 19) return v.film.stabilityMass;
  if (k == 20) return v.thresholdMass;
  const double(*const matrices[])[2] = {v.film.stiffness, v.film.damping, v.stiffness, v.damping};
  const int m = k - 2;
  return matrices[m / 4][m % 4 / 2][m % 2];
}

// Which CSV has a column: every one, or one with a tail of the layout.
enum class Tail { ALWAYS, OIL, COOLING, FITS, BORE, ROTOR, THRESHOLD, STUDY };

// A column: an option's value, a field of the row's data set or results,
// one of the rotor's values, or a cell of its own.
struct Column {
  const char* name;  // nullptr: the option's column in the table
  const char* unit;  // "-" for a number without one or a word; nullptr: the option's
  Tail tail;
  int option;                            // the option it shows; -1 for none
  double BearingData::*data;             // the data set's field it shows
  double BearingResults::*result;        // the results' field it shows
  int rotor;                             // the rotor's value it shows; -1 for none
  std::string (*cell)(const CsvRow& r);  // what it shows else
};

// clang-format off
#define OPTION(id) {nullptr, nullptr, Tail::ALWAYS, opt::id, nullptr, nullptr, -1, nullptr}
#define TAIL_OPTION(id, tail) {nullptr, nullptr, Tail::tail, opt::id, nullptr, nullptr, -1, nullptr}
#define DATA(field, unit) {#field, unit, Tail::ALWAYS, -1, &BearingData::field, nullptr, -1, nullptr}
#define RESULT(field, unit)                                                              \
  {#field, unit, Tail::ALWAYS, -1, nullptr, &BearingResults::field, -1, nullptr}
#define CELL(name, unit, tail, cell) {name, unit, Tail::tail, -1, nullptr, nullptr, -1, cell}
#define ROTOR(name, unit, k) {name, unit, Tail::ROTOR, -1, nullptr, nullptr, k, nullptr}
#define ROTOR_MATRIX(name, unit, first)                                                  \
  ROTOR(name "UU", unit, first), ROTOR(name "UV", unit, (first) + 1),                    \
  ROTOR(name "VU", unit, (first) + 2), ROTOR(name "VV", unit, (first) + 3)
// clang-format on

const Column COLUMNS[] = {
    OPTION(LOAD),
    OPTION(SPEED),
    OPTION(DIAMETER),
    OPTION(WIDTH),
    OPTION(CLEARANCE),
    DATA(viscosity, "mPa*s"),
    OPTION(SUPPLY_PRESSURE),
    OPTION(SUPPLY_SIZE),
    OPTION(INLET),
    DATA(oilOutletTemp, "C"),
    OPTION(ALPHA_SHAFT),
    OPTION(ALPHA_BEARING),
    OPTION(H0_LIMIT),
    DATA(filmTemp, "C"),
    OPTION(SUPPLY_CASE),
    OPTION(DIRECT),
    RESULT(u, "m/s"),
    RESULT(omega, "1/s"),
    RESULT(psi0, "-"),
    RESULT(deltaPsi, "-"),
    RESULT(psi, "-"),
    RESULT(widthRatio, "-"),
    RESULT(pressure, "N/mm2"),
    RESULT(so, "-"),
    RESULT(a1, "-"),
    RESULT(a2, "-"),
    RESULT(eps, "-"),
    CELL("passes", "-", ALWAYS,
         [](const CsvRow& r) {
           return balanced(r) ? number(row(r).results.passes) : std::string();
         }),
    RESULT(h0, "mm"),
    RESULT(beta, "degree"),
    RESULT(re, "-"),
    RESULT(reCrit, "-"),
    RESULT(frictionChar, "-"),
    RESULT(frictionPower, "W"),
    RESULT(q3, "-"),
    RESULT(q1, "cm3/s"),
    RESULT(qp, "-"),
    RESULT(q2, "cm3/s"),
    RESULT(q, "cm3/s"),
    RESULT(outletTempCalc, "C"),
    RESULT(epsTransition, "-"),
    RESULT(soTransition, "-"),
    OPTION(NU40),
    OPTION(NU100),
    OPTION(DENSITY),
    CELL("balances", "-", ALWAYS,
         [](const CsvRow& r) {
           return r.point ? number(r.point->balance.balanceCount) : std::string();
         }),
    CELL("balanceGap", "K", ALWAYS,
         [](const CsvRow& r) { return balanced(r) ? number(row(r).gap) : std::string(); }),
    OPTION(TEMP_LIMIT),
    OPTION(LOAD_LIMIT),
    CELL("speedTransition", "1/min", ALWAYS,
         [](const CsvRow& r) {
           return balanced(r) ? number(row(r).checks.speedTransition) : std::string();
         }),
    CELL("verdict", "-", ALWAYS,
         [](const CsvRow& r) { return verdictText(balanced(r) ? row(r).failed : NOT_BALANCED); }),
    TAIL_OPTION(GRADE, OIL),
    TAIL_OPTION(VI, OIL),
    TAIL_OPTION(COOLING, COOLING),
    TAIL_OPTION(AMBIENT, COOLING),
    TAIL_OPTION(HOUSING_AREA, COOLING),
    TAIL_OPTION(HEAT_TRANSFER, COOLING),
    CELL("housingHeat", "W", COOLING,
         [](const CsvRow& r) { return balanced(r) ? number(row(r).housingHeat) : std::string(); }),
    CELL("oilHeat", "W", COOLING,
         [](const CsvRow& r) { return balanced(r) ? number(row(r).oilHeat) : std::string(); }),
    TAIL_OPTION(FIT, FITS),
    CELL("clearanceCase", "-", FITS,
         [](const CsvRow& r) {
           return std::string(r.bandEnd >= 0 ? BAND_CASE_NAMES[r.bandEnd] : "");
         }),
    CELL("fitVerdict", "-", FITS, [](const CsvRow& r) { return r.fitVerdict; }),
    // The bore as calculated: its name's values with those given instead.
    CELL("bore", "-", BORE, [](const CsvRow& r) { return csvCell(r.design->boreName); }),
    CELL("lobes", "-", BORE, [](const CsvRow& r) { return number(designBore(*r.design).lobes); }),
    CELL("lobeArc", "degree", BORE,
         [](const CsvRow& r) { return number(designBore(*r.design).arc); }),
    CELL("preload", "-", BORE,
         [](const CsvRow& r) { return number(designBore(*r.design).preload); }),
    CELL("offset", "-", BORE, [](const CsvRow& r) { return number(designBore(*r.design).offset); }),
    CELL("lobeAngle", "degree", BORE,
         [](const CsvRow& r) { return number(designBore(*r.design).lobeAngle); }),
    ROTOR("reynoldsEps", "-", 0),
    ROTOR("reynoldsBeta", "degree", 1),
    ROTOR_MATRIX("stiff", "-", 2),
    ROTOR_MATRIX("damp", "-", 6),
    ROTOR_MATRIX("k", "N/m", 10),
    ROTOR_MATRIX("d", "N s/m", 14),
    ROTOR("whirlRatio", "-", 18),
    ROTOR("stabilityMass", "-", 19),
    ROTOR("stabilityMassKg", "kg", 20),
    TAIL_OPTION(ROTOR_MASS, THRESHOLD),
    // Empty where no threshold lies in the range sought.
    CELL("thresholdSpeed", "1/min", THRESHOLD,
         [](const CsvRow& r) {
           const bool found = balanced(r) && r.point->threshold.outcome == ThresholdOutcome::FOUND;
           return found ? number(r.point->threshold.speed, "%.6g") : std::string();
         }),
    CELL("status", "-", STUDY,
         [](const CsvRow& r) { return std::string(r.status ? r.status : ""); }),
};

// A row's cell of a column. The rotor's values have six digits, as the grid
// holds the coefficients to about 1 % and six are the same on every
// platform; they are empty where the film has no equilibrium.
std::string cell(const CsvRow& r, const Column& c) {
  if (c.cell) return c.cell(r);
  if (c.option >= 0) return optionCell(r, c.option);
  if (!balanced(r)) return "";
  const Evaluation& e = row(r);
  if (c.data) return number(e.data.*c.data);
  if (c.result) return number(e.results.*c.result);
  if (!r.design->coefficients || !e.rotor.film.solved) return "";
  return number(rotorValue(e.rotor, c.rotor), "%.6g");
}

bool inLayout(Tail tail, const CsvLayout& layout) {
  switch (tail) {
    case Tail::ALWAYS:
      return true;
    case Tail::OIL:
      return layout.oil;
    case Tail::COOLING:
      return layout.cooling;
    case Tail::FITS:
      return layout.fits;
    case Tail::BORE:
      return layout.bore;
    case Tail::ROTOR:
      return layout.coefficients;
    case Tail::THRESHOLD:
      return layout.threshold;
    case Tail::STUDY:
      return layout.study;
  }
  return false;
}

// Every column of the layout, each as write gives it, and the line end.
template <typename Write>
std::string line(const CsvLayout& layout, Write write) {
  std::string text;
  const char* separator = "";
  for (const Column& column : COLUMNS) {
    if (!inLayout(column.tail, layout)) continue;
    text += separator;
    text += write(column);
    separator = ",";
  }
  return text + "\n";
}

}  // namespace

void printCsvHeader(const CsvLayout& layout) {
  printText(line(layout, [](const Column& c) {
              return std::string(c.name ? c.name : OPTIONS[c.option].column);
            }).c_str());
  if (!layout.units) return;
  printText(line(layout, [](const Column& c) {
              const char* unit = c.unit ? c.unit : OPTIONS[c.option].unit;
              return std::string(*unit ? unit : "-");
            }).c_str());
}

CsvRow pointRow(const Point& point, const std::string& fitVerdict) {
  CsvRow row;
  row.design = &point.design;
  row.point = &point;
  row.bandEnd = point.bandEnd;
  row.fitVerdict = fitVerdict;
  return row;
}

std::string csvRowText(const CsvRow& row, const CsvLayout& layout) {
  return line(layout, [&](const Column& c) { return cell(row, c); });
}

void printCsvRow(const CsvRow& row, const CsvLayout& layout) {
  printText(csvRowText(row, layout).c_str());
}
