// The CSV's columns in one list: the data set, the results record, the oil,
// the balances, the limits and checks, then the tails of the cooling, the
// fit, the rotor and a study's status. A new output is a row of COLUMNS.
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

// A number as its cell: ten digits, and -0 (as a difference of equal
// values gives it) as 0.
std::string number(double value, const char* format = "%.10g") {
  return spell(value == 0 ? 0 : value, format).text;
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

// The rotor's cells: six digits, as the grid holds the coefficients to
// about 1 % and six are the same on every platform; empty where the film
// has no equilibrium.
std::string rotorCell(const CsvRow& r, double (*value)(const RotorValues& v)) {
  if (!balanced(r) || !r.design->coefficients || !row(r).rotor.film.solved) return "";
  return number(value(row(r).rotor), "%.6g");
}

// Which CSV has a column: every one, or one with a tail of the layout.
enum class Tail { ALWAYS, OIL, COOLING, FITS, ROTOR, STUDY };

struct Column {
  const char* name;  // nullptr: the option's column in the table
  int option;        // the option whose value it shows; -1 for none
  Tail tail;
  std::string (*cell)(const CsvRow& r);  // where it shows no option
};

// clang-format off
#define OPTION(id) {nullptr, opt::id, Tail::ALWAYS, nullptr}
#define TAIL_OPTION(id, tail) {nullptr, opt::id, Tail::tail, nullptr}
#define DATA(field)                                                                      \
  {#field, -1, Tail::ALWAYS,                                                             \
   [](const CsvRow& r) { return balanced(r) ? number(row(r).data.field) : std::string(); }}
#define RESULT(field)                                                                    \
  {#field, -1, Tail::ALWAYS,                                                             \
   [](const CsvRow& r) { return balanced(r) ? number(row(r).results.field) : std::string(); }}
#define ROTOR(name, expression)                                                          \
  {name, -1, Tail::ROTOR,                                                                \
   [](const CsvRow& r) { return rotorCell(r, [](const RotorValues& v) { return expression; }); }}
#define ROTOR_MATRIX(name, matrix)                                                       \
  ROTOR(name "UU", v.matrix[0][0]), ROTOR(name "UV", v.matrix[0][1]),                    \
  ROTOR(name "VU", v.matrix[1][0]), ROTOR(name "VV", v.matrix[1][1])
// clang-format on

const Column COLUMNS[] = {
    OPTION(LOAD),
    OPTION(SPEED),
    OPTION(DIAMETER),
    OPTION(WIDTH),
    OPTION(CLEARANCE),
    DATA(viscosity),
    OPTION(SUPPLY_PRESSURE),
    OPTION(SUPPLY_SIZE),
    OPTION(INLET),
    DATA(oilOutletTemp),
    OPTION(ALPHA_SHAFT),
    OPTION(ALPHA_BEARING),
    OPTION(H0_LIMIT),
    DATA(filmTemp),
    OPTION(SUPPLY_CASE),
    OPTION(DIRECT),
    RESULT(u),
    RESULT(omega),
    RESULT(psi0),
    RESULT(deltaPsi),
    RESULT(psi),
    RESULT(widthRatio),
    RESULT(pressure),
    RESULT(so),
    RESULT(a1),
    RESULT(a2),
    RESULT(eps),
    RESULT(passes),
    RESULT(h0),
    RESULT(beta),
    RESULT(re),
    RESULT(reCrit),
    RESULT(frictionChar),
    RESULT(frictionPower),
    RESULT(q3),
    RESULT(q1),
    RESULT(qp),
    RESULT(q2),
    RESULT(q),
    RESULT(outletTempCalc),
    RESULT(epsTransition),
    RESULT(soTransition),
    OPTION(NU40),
    OPTION(NU100),
    OPTION(DENSITY),
    {"balances", -1, Tail::ALWAYS,
     [](const CsvRow& r) {
       return r.point ? number(r.point->balance.balanceCount) : std::string();
     }},
    {"balanceGap", -1, Tail::ALWAYS,
     [](const CsvRow& r) { return balanced(r) ? number(row(r).gap) : std::string(); }},
    OPTION(TEMP_LIMIT),
    OPTION(LOAD_LIMIT),
    {"speedTransition", -1, Tail::ALWAYS,
     [](const CsvRow& r) {
       return balanced(r) ? number(row(r).checks.speedTransition) : std::string();
     }},
    {"verdict", -1, Tail::ALWAYS,
     [](const CsvRow& r) { return verdictText(balanced(r) ? row(r).failed : NOT_BALANCED); }},
    TAIL_OPTION(GRADE, OIL),
    TAIL_OPTION(VI, OIL),
    TAIL_OPTION(COOLING, COOLING),
    TAIL_OPTION(AMBIENT, COOLING),
    TAIL_OPTION(HOUSING_AREA, COOLING),
    TAIL_OPTION(HEAT_TRANSFER, COOLING),
    {"housingHeat", -1, Tail::COOLING,
     [](const CsvRow& r) { return balanced(r) ? number(row(r).housingHeat) : std::string(); }},
    {"oilHeat", -1, Tail::COOLING,
     [](const CsvRow& r) { return balanced(r) ? number(row(r).oilHeat) : std::string(); }},
    TAIL_OPTION(FIT, FITS),
    {"clearanceCase", -1, Tail::FITS,
     [](const CsvRow& r) { return std::string(r.bandEnd >= 0 ? BAND_CASE_NAMES[r.bandEnd] : ""); }},
    {"fitVerdict", -1, Tail::FITS, [](const CsvRow& r) { return r.fitVerdict; }},
    ROTOR("reynoldsEps", v.film.eps),
    ROTOR("reynoldsBeta", v.film.beta),
    ROTOR_MATRIX("stiff", film.stiffness),
    ROTOR_MATRIX("damp", film.damping),
    ROTOR_MATRIX("k", stiffness),
    ROTOR_MATRIX("d", damping),
    ROTOR("whirlRatio", v.film.whirlRatio),
    ROTOR("stabilityMass", v.film.stabilityMass),
    {"status", -1, Tail::STUDY,
     [](const CsvRow& r) { return std::string(r.status ? r.status : ""); }},
};

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
    case Tail::ROTOR:
      return layout.coefficients;
    case Tail::STUDY:
      return layout.study;
  }
  return false;
}

// Writes every column of the layout, each as write gives it.
template <typename Write>
void printLine(const CsvLayout& layout, Write write) {
  const char* separator = "";
  for (const Column& column : COLUMNS) {
    if (!inLayout(column.tail, layout)) continue;
    printText(separator);
    printText(write(column).c_str());
    separator = ",";
  }
  printText("\n");
}

}  // namespace

void printCsvHeader(const CsvLayout& layout) {
  printLine(layout, [](const Column& c) {
    return std::string(c.name ? c.name : OPTIONS[c.option].column);
  });
}

void printCsvRow(const CsvRow& row, const CsvLayout& layout) {
  printLine(layout,
            [&](const Column& c) { return c.cell ? c.cell(row) : optionCell(row, c.option); });
}
