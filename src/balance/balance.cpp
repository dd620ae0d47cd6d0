// One balanced point with its screen or CSV, or a study: every combination
// of the ranges given, for every case of a case file, a row of CSV each.
#include "balance/balance.h"

#include <cstdio>
#include <string>
#include <vector>

#include "balance/command_line.h"
#include "balance/report.h"
#include "console/numeral.h"
#include "console/output.h"
#include "console/terminal.h"

namespace {

const char USAGE[] =
    "Usage: palimo-balance --nu40 NU --nu100 NU [--OPTION VALUE]... [--direct] [--csv]\n"
    "       palimo-balance ... --OPTION FROM:TO:COUNT ... | --cases FILE\n"
    "Closes the heat balance of a hydrodynamic radial plain bearing (DIN 31652)\n"
    "with the oil's viscosity at the film temperature (Ubbelohde-Walther), and\n"
    "checks the balanced point against its limits.\n"
    "\n"
    "The oil:\n"
    "  --nu40 NU             kinematic viscosity at 40 C, mm2/s (required)\n"
    "  --nu100 NU            kinematic viscosity at 100 C, mm2/s (required)\n"
    "  --density RHO         density at 15 C, g/cm3 (0.87)\n"
    "The bearing, in palimo's units and with its defaults:\n"
    "  --load F              N (36000)\n"
    "  --speed N             1/min (2000)\n"
    "  --diameter D          mm (120)\n"
    "  --width B             mm (60)\n"
    "  --clearance S         diametral clearance at 20 C, mm (0.12)\n"
    "  --supply-pressure P   bar (5)\n"
    "  --supply-case K       1 hole opposite the load, 2 hole at 90 degrees,\n"
    "                        3 circumferential groove (1)\n"
    "  --supply-size S       hole diameter or groove width, mm (5)\n"
    "  --inlet T             oil inlet temperature, C (58)\n"
    "  --alpha-shaft A       expansion coefficient of the shaft, 1/K (1.1e-05)\n"
    "  --alpha-bearing A     expansion coefficient of the bearing, 1/K (2.3e-05)\n"
    "  --direct              the eccentricity by the direct approximation\n"
    "The limits, checked at the balanced point:\n"
    "  --h0-limit H          smallest permissible film thickness, mm (0.005)\n"
    "  --temp-limit T        highest outlet temperature, C (not checked)\n"
    "  --load-limit P        highest specific load, N/mm2 (not checked)\n"
    "The laminar flow of palimo's Reynolds condition is always checked.\n"
    "\n"
    "A study, printed as CSV with a row a point and its status:\n"
    "  --OPTION FROM:TO:COUNT  COUNT evenly spaced values, both ends included;\n"
    "                        several ranges give every combination, the\n"
    "                        first varying slowest\n"
    "  --cases FILE          a case a line of a CSV file ('-' standard input),\n"
    "                        its header naming options without the dashes;\n"
    "                        an option not in the file is the command line's\n"
    "\n"
    "  --csv                 a header line and one line of values\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "Any --OPTION VALUE may be written --OPTION=VALUE. Numbers are written with a\n"
    "decimal point. Status: 0 balanced, or a study run; 1 no balance (or B/D\n"
    "outside 0.125 ... 1); 2 a wrong command line or case file.\n";

enum { DONE = 0, NO_BALANCE = 1, USAGE_ERROR = 2 };

// Why a point has no balance, as a study's status says it.
const char* statusOf(BalanceEnd end) {
  switch (end) {
    case BalanceEnd::BALANCED:
      return "balanced";
    case BalanceEnd::WIDTH_RATIO:
      return "B/D";
    case BalanceEnd::NO_FILM:
      return "no film";
    case BalanceEnd::NOT_A_NUMBER:
      return "not a number";
    case BalanceEnd::NO_BALANCE:
      break;
  }
  return "no balance";
}

// Why there is no balanced point, on standard error.
void tellNoBalance(const HeatBalance& balance) {
  const BearingData& data = balance.data;
  const double from = balance.rangeFrom, to = balance.rangeTo;
  if (balance.end == BalanceEnd::WIDTH_RATIO) {
    std::fprintf(stderr, "palimo-balance: B/D = %s lies outside 0.125 ... 1\n",
                 spell(data.width / data.diameter).text);
  } else if (balance.end == BalanceEnd::NOT_A_NUMBER) {
    std::fprintf(stderr,
                 "palimo-balance: the calculation gives no outlet temperature (OelAusT= %s) at "
                 "an assumed %s GradC\n",
                 spell(balance.results.outletTempCalc).text, spell(data.oilOutletTemp).text);
  } else if (balance.end == BalanceEnd::NO_FILM) {
    std::fprintf(stderr,
                 "palimo-balance: no film: the effective clearance is not above zero between "
                 "%s and %s GradC\n",
                 spell(data.oilInletTemp).text, spell(data.oilInletTemp + BALANCE_RANGE).text);
  } else {
    const BalanceStep& first = balance.steps[0];
    const char* side = first.calculatedOutlet > first.assumedOutlet ? "above" : "below";
    if (balance.closesAtTop)
      std::fprintf(stderr,
                   "palimo-balance: the clearance closes at about %s GradC without a heat "
                   "balance: from %s GradC up to there the calculated outlet temperature "
                   "stays %s the assumed one\n",
                   spell(to).text, spell(from).text, side);
    else
      std::fprintf(stderr,
                   "palimo-balance: no heat balance between %s and %s GradC: the calculated "
                   "outlet temperature stays %s the assumed one\n",
                   spell(from).text, spell(to).text, side);
  }
}

// --- A study -----------------------------------------------------------------

// One point of a study, a row of CSV. badValue names the option whose value
// fails the point before any calculation.
void studyPoint(const Design& design, const char* badValue) {
  const int oil = badValue ? -1 : oilFault(design.oil);
  if (oil >= 0) badValue = VALUE_OPTIONS[oil].name;
  if (badValue) {
    const std::string status = std::string("bad value of ") + badValue;
    return printCsvRow(design, nullptr, status.c_str());
  }
  const HeatBalance balance = closeHeatBalance(design.data, design.oil);
  printCsvRow(design, &balance, statusOf(balance.end));
}

// A case's own values over the command line's; the name of the option
// whose cell is no value it takes, or nullptr.
const char* applyCase(const Case& one, Design& design) {
  for (int i = 0; i < VALUE_OPTION_COUNT; ++i) {
    double value = 0;
    if (one.cells[i].empty()) continue;
    if (!parseNumber(one.cells[i].c_str(), value) || !setOption(design, i, value))
      return VALUE_OPTIONS[i].name;
  }
  const std::string& direct = one.cells[DIRECT_CELL];
  if (direct == "0" || direct == "1")
    design.data.epsMode = direct == "1" ? EPS_DIRECT : EPS_ITERATIVE;
  else if (!direct.empty())
    return "direct";
  return nullptr;
}

void runStudy(const Request& request) {
  printCsvHeader(true);
  const std::vector<Case> commandLineOnly(1);
  for (const Case& one : request.cases.empty() ? commandLineOnly : request.cases) {
    Design design = request.base;
    const char* badValue = applyCase(one, design);
    // The command line's ranges that the case does not set, the first
    // varying slowest.
    std::vector<int> ranged;
    for (const int option : request.ranged)
      if (one.cells[option].empty()) ranged.push_back(option);
    std::vector<long> at(ranged.size(), 0);
    for (;;) {
      Design point = design;
      for (std::size_t i = 0; i < ranged.size(); ++i)
        setOption(point, ranged[i], request.values[ranged[i]].at(at[i]));
      studyPoint(point, badValue);
      std::size_t i = ranged.size();
      while (i > 0 && ++at[i - 1] == request.values[ranged[i - 1]].count) at[--i] = 0;
      if (i == 0) break;
    }
  }
}

}  // namespace

int runBalance(int argc, char** argv) {
  Request request;
  if (readCommandLine(argc, argv, request) != 0) return USAGE_ERROR;
  if (request.help || request.version) {
    printText(request.help ? USAGE : "palimo-balance " PALIMO_VERSION "\n");
  } else if (request.isStudy()) {
    writeOutputAsIs();
    runStudy(request);
  } else {
    const Design& design = request.base;
    const HeatBalance balance = closeHeatBalance(design.data, design.oil);
    if (balance.end != BalanceEnd::BALANCED) {
      tellNoBalance(balance);
      return NO_BALANCE;
    }
    if (request.csv) {
      writeOutputAsIs();
      printCsvHeader(false);
      printCsvRow(design, &balance, nullptr);
    } else {
      printScreen(balance, checkBearing(balance.data, balance.results, design.limits),
                  design.limits);
    }
  }
  flushOutput();
  return DONE;
}
