// palimo-balance: one bearing, its heat balance closed with the oil's own
// viscosity. The bearing's data come as options in palimo's units, each
// defaulting to palimo's; the balanced operating point goes to standard
// output as palimo shows it, or as one line of CSV.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "calc/heat_balance.h"
#include "console/display.h"
#include "console/numeral.h"
#include "console/output.h"
#include "data/bearing_data.h"

namespace {

// --- The command line ----------------------------------------------------

const char USAGE[] =
    "Usage: palimo-balance --nu40 NU --nu100 NU [OPTION VALUE]... [--direct] [--csv]\n"
    "Closes the heat balance of a hydrodynamic radial plain bearing (DIN 31652)\n"
    "with the oil's viscosity at the film temperature (Ubbelohde-Walther).\n"
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
    "  --h0-limit H          smallest permissible film thickness, mm (0.005)\n"
    "  --supply-pressure P   bar (5)\n"
    "  --supply-case K       1 hole opposite the load, 2 hole at 90 degrees,\n"
    "                        3 circumferential groove (1)\n"
    "  --supply-size S       hole diameter or groove width, mm (5)\n"
    "  --inlet T             oil inlet temperature, C (58)\n"
    "  --alpha-shaft A       expansion coefficient of the shaft, 1/K (1.1e-05)\n"
    "  --alpha-bearing A     expansion coefficient of the bearing, 1/K (2.3e-05)\n"
    "  --direct              the eccentricity by the direct approximation\n"
    "  --csv                 a header line and one line of values\n"
    "  --help                this text\n"
    "\n"
    "Numbers are written with a decimal point. Status: 0 balanced, 1 no balance\n"
    "(or B/D outside 0.125 ... 1), 2 a wrong command line.\n";

// An option whose value is a real, and the field it goes to.
struct BearingOption {
  const char* name;
  double BearingData::*field;
};
const BearingOption BEARING_OPTIONS[] = {
    {"--load", &BearingData::load},
    {"--speed", &BearingData::speed},
    {"--diameter", &BearingData::diameter},
    {"--width", &BearingData::width},
    {"--clearance", &BearingData::clearance},
    {"--h0-limit", &BearingData::h0Limit},
    {"--supply-pressure", &BearingData::supplyPressure},
    {"--supply-size", &BearingData::supplySize},
    {"--inlet", &BearingData::oilInletTemp},
    {"--alpha-shaft", &BearingData::alphaShaft},
    {"--alpha-bearing", &BearingData::alphaBearing},
};

struct OilOption {
  const char* name;
  double Oil::*field;
};
const OilOption OIL_OPTIONS[] = {
    {"--nu40", &Oil::nu40}, {"--nu100", &Oil::nu100}, {"--density", &Oil::density15}};

// Walther's law takes the logarithm of log10(nu + 0.7): nu must exceed 0.3.
constexpr double LOWEST_VISCOSITY = 0.3;  // mm2/s

enum { BALANCED = 0, NO_BALANCE = 1, USAGE_ERROR = 2 };

struct Request {
  BearingData data = defaultBearingData();
  Oil oil;
  bool csv = false;
  bool help = false;
};

// One line on standard error; gives the usage error's status.
int usageError(const char* what, const char* name) {
  std::fprintf(stderr, "palimo-balance: %s %s\n", name, what);
  return USAGE_ERROR;
}

// Reads the command line into request; 0, or the status of the error told.
int readCommandLine(int argc, char** argv, Request& request) {
  bool nu40 = false, nu100 = false;
  for (int i = 1; i < argc; ++i) {
    const char* name = argv[i];
    if (std::strcmp(name, "--help") == 0) {
      request.help = true;
      return 0;
    }
    if (std::strcmp(name, "--csv") == 0) {
      request.csv = true;
      continue;
    }
    if (std::strcmp(name, "--direct") == 0) {
      request.data.epsMode = EPS_DIRECT;
      continue;
    }
    double* real = nullptr;
    for (const BearingOption& option : BEARING_OPTIONS)
      if (std::strcmp(name, option.name) == 0) real = &(request.data.*option.field);
    for (const OilOption& option : OIL_OPTIONS)
      if (std::strcmp(name, option.name) == 0) real = &(request.oil.*option.field);
    const bool supplyCase = std::strcmp(name, "--supply-case") == 0;
    if (!real && !supplyCase) return usageError("is no option (see --help)", name);
    if (i + 1 == argc) return usageError("needs a value", name);
    const char* value = argv[++i];
    if (supplyCase) {
      int choice = 0;
      if (!parseNumber(value, choice) || choice < SUPPLY_HOLE_OPPOSITE || choice > SUPPLY_GROOVE)
        return usageError("must be 1, 2 or 3", name);
      request.data.supplyCase = choice;
    } else if (!parseNumber(value, *real)) {
      std::fprintf(stderr, "palimo-balance: %s: '%s' is no number\n", name, value);
      return USAGE_ERROR;
    }
    nu40 = nu40 || real == &request.oil.nu40;
    nu100 = nu100 || real == &request.oil.nu100;
  }
  if (!nu40) return usageError("is required: the viscosity at 40 C in mm2/s", "--nu40");
  if (!nu100) return usageError("is required: the viscosity at 100 C in mm2/s", "--nu100");
  if (!(request.oil.nu100 > LOWEST_VISCOSITY))
    return usageError("must be above 0.3 mm2/s", "--nu100");
  if (!(request.oil.nu40 > request.oil.nu100)) return usageError("must be above --nu100", "--nu40");
  return 0;
}

// --- The balanced point --------------------------------------------------

// The search, one line a step.
void printHistory(const HeatBalance& balance) {
  printText("Waermebilanz, dyn.Vis. nach Ubbelohde-Walther\n");
  printText("Nr. OelAusT    S-FilmT    dyn.Vis.   OelAusT ber.\n");
  printText("    GradC      GradC      mPa*s      GradC\n");
  for (int i = 0; i < balance.stepCount; ++i) {
    const BalanceStep& step = balance.steps[i];
    printFormatted("%3d %-10g %-10g %-10g %g\n", i + 1, step.assumedOutlet, step.filmTemp,
                   step.viscosity, step.calculatedOutlet);
  }
  printFormatted("Bilanz geschlossen: OelAusT= %g GradC\n\n", balance.data.oilOutletTemp);
}

// The balanced data set as 'w' shows it and the three result blocks as 'g'
// prints them, without the pauses.
void printScreen(const HeatBalance& balance) {
  printHistory(balance);
  printCurrentValues1(balance.data);
  printText("\n");
  printCurrentValues2(balance.data);
  printText("\n");
  printCharacteristics(balance.results);
  printFilmGeometry(balance.data, balance.results);
  printFlowAndHeat(balance.results);
}

// Every field of the data set, then of the results record, by its name in
// the code.
template <typename Visit>
void forEachField(const BearingData& d, const BearingResults& r, Visit visit) {
  visit("load", d.load), visit("speed", d.speed), visit("diameter", d.diameter);
  visit("width", d.width), visit("clearance", d.clearance), visit("viscosity", d.viscosity);
  visit("supplyPressure", d.supplyPressure), visit("supplySize", d.supplySize);
  visit("oilInletTemp", d.oilInletTemp), visit("oilOutletTemp", d.oilOutletTemp);
  visit("alphaShaft", d.alphaShaft), visit("alphaBearing", d.alphaBearing);
  visit("h0Limit", d.h0Limit), visit("filmTemp", d.filmTemp);
  visit("supplyCase", d.supplyCase), visit("epsMode", d.epsMode);
  visit("u", r.u), visit("omega", r.omega), visit("psi0", r.psi0), visit("deltaPsi", r.deltaPsi);
  visit("psi", r.psi), visit("widthRatio", r.widthRatio), visit("pressure", r.pressure);
  visit("so", r.so), visit("a1", r.a1), visit("a2", r.a2), visit("eps", r.eps);
  visit("passes", r.passes), visit("h0", r.h0), visit("beta", r.beta), visit("re", r.re);
  visit("reCrit", r.reCrit), visit("frictionChar", r.frictionChar);
  visit("frictionPower", r.frictionPower), visit("q3", r.q3), visit("q1", r.q1);
  visit("qp", r.qp), visit("q2", r.q2), visit("q", r.q), visit("outletTempCalc", r.outletTempCalc);
  visit("epsTransition", r.epsTransition), visit("soTransition", r.soTransition);
}

void printCsv(const HeatBalance& balance) {
  const char* separator = "";
  forEachField(balance.data, balance.results, [&](const char* name, double) {
    printFormatted("%s%s", separator, name);
    separator = ",";
  });
  separator = "\n";
  forEachField(balance.data, balance.results, [&](const char*, double value) {
    printFormatted("%s%.10g", separator, value);
    separator = ",";
  });
  printText("\n");
}

// Why there is no balanced point, on standard error.
void tellNoBalance(const HeatBalance& balance) {
  const BearingData& data = balance.data;
  const double top = data.oilInletTemp + BALANCE_RANGE;
  if (balance.end == BalanceEnd::WIDTH_RATIO)
    std::fprintf(stderr, "palimo-balance: B/D = %g lies outside 0.125 ... 1\n",
                 data.width / data.diameter);
  else if (balance.end == BalanceEnd::NOT_A_NUMBER)
    std::fprintf(stderr,
                 "palimo-balance: the calculation gives no outlet temperature "
                 "(OelAusT= %g) at an assumed %g GradC\n",
                 balance.results.outletTempCalc, data.oilOutletTemp);
  else
    std::fprintf(stderr,
                 "palimo-balance: no heat balance between %g and %g GradC: assumed %g, "
                 "the calculation gives %g\n",
                 data.oilInletTemp, top, data.oilOutletTemp, balance.results.outletTempCalc);
}

}  // namespace

int main(int argc, char** argv) {
  programName = "palimo-balance";
  Request request;
  const int error = readCommandLine(argc, argv, request);
  if (error != 0) return error;
  if (request.help) {
    printText(USAGE);
    flushOutput();
    return BALANCED;
  }
  const HeatBalance balance = closeHeatBalance(request.data, request.oil);
  if (balance.end != BalanceEnd::BALANCED) {
    tellNoBalance(balance);
    return NO_BALANCE;
  }
  if (request.csv)
    printCsv(balance);
  else
    printScreen(balance);
  flushOutput();
  return BALANCED;
}
