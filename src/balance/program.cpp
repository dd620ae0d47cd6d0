// palimo-balance's program: one balanced point with its screen or CSV, or
// a study.
#include "balance/program.h"

#include "balance/command_line.h"
#include "balance/fit.h"
#include "balance/report.h"
#include "balance/study.h"
#include "console/output.h"
#include "console/terminal.h"

namespace {

enum { DONE = 0, NO_BALANCE = 1, USAGE_ERROR = 2 };

// Why there is no balanced point, on standard error.
void tellNoBalance(const HeatBalance& balance, const Cooling& cooling) {
  const BearingData& data = balance.data;
  const double from = balance.rangeFrom, to = balance.rangeTo;
  if (balance.outcome == BalanceOutcome::WIDTH_RATIO_OUT_OF_RANGE) {
    tellError("B/D = %s lies outside 0.125 ... 1", spell(data.width / data.diameter).text);
  } else if (balance.outcome == BalanceOutcome::NOT_A_NUMBER) {
    const bool housing = cooling.mode == CoolingMode::HOUSING;
    const double calculated = data.oilOutletTemp + balanceResidual(data, balance.results, cooling);
    tellError("the calculation gives no %s temperature (%s= %s) at an assumed %s GradC",
              housing ? "bearing" : "outlet", soughtName(cooling), spell(calculated).text,
              spell(data.oilOutletTemp).text);
  } else if (balance.outcome == BalanceOutcome::NO_FILM && !(data.clearance > 0)) {
    tellError("no film: the clearance at 20 C, %s mm, is not above zero: the shaft is seized",
              spell(data.clearance).text);
  } else if (balance.outcome == BalanceOutcome::NO_FILM && balance.closedAtStart) {
    tellError(
        "no film: the effective clearance is not above zero at %s GradC, the %s temperature, "
        "where the bearing starts: the shaft is seized",
        spell(cooling.mode == CoolingMode::HOUSING ? cooling.ambientTemp : data.oilInletTemp).text,
        cooling.mode == CoolingMode::HOUSING ? "ambient" : "oil's inlet");
  } else if (balance.outcome == BalanceOutcome::NO_FILM) {
    tellError("no film: the effective clearance is not above zero between %s and %s GradC",
              spell(from).text, spell(to).text);
  } else {
    const BalanceStep& first = balance.steps[0];
    const char* side = first.calculatedOutlet > first.assumedOutlet ? "above" : "below";
    const char* sought =
        cooling.mode == CoolingMode::HOUSING ? "bearing temperature" : "outlet temperature";
    if (balance.closesAtTop)
      tellError(
          "the clearance closes at about %s GradC without a heat balance: from %s GradC up to "
          "there the calculated %s stays %s the assumed one",
          spell(to).text, spell(from).text, sought, side);
    else
      tellError(
          "no heat balance between %s and %s GradC: the calculated %s stays %s the assumed one",
          spell(from).text, spell(to).text, sought, side);
  }
}

// A fit at one point: its band's three clearances balanced, shown side by
// side, or as three rows of CSV. Each must balance.
int runBand(const Request& request) {
  const Design& design = request.base;
  Fit fit;
  double band[BAND_CASES];
  parseFit(design.fit, fit);
  if (const char* wrong = clearanceBand(fit, design.data.diameter, band)) {
    tellError("--fit: '%s' %s", design.fit.c_str(), wrong);
    return USAGE_ERROR;
  }
  static PointSet set;  // large; one point
  balancePoints(design, band, set);
  for (int k = 0; k < BAND_CASES; ++k)
    if (set.balances[k].outcome != BalanceOutcome::BALANCED) {
      const char* const ends[] = {"smallest", "mean", "largest"};
      tellError("the fit's %s clearance, %s mm, has no balanced point:", ends[k],
                spell(band[k]).text);
      tellNoBalance(set.balances[k], design.cooling);
      return NO_BALANCE;
    }
  if (!request.csv) {
    printBandScreen(design, band, set.balances);
    return DONE;
  }
  writeOutputAsIs();
  const CsvLayout layout{false, request.gives("cooling"), true, request.gives("coefficients")};
  printCsvHeader(layout);
  for (int k = 0; k < BAND_CASES; ++k) {
    const BandCells cells{design.fit, BAND_CASE_NAMES[k], verdictText(set.failed)};
    printCsvRow(set.points[k], &set.balances[k], nullptr, layout, RawCell(), &cells);
  }
  return DONE;
}

int runRequest(Request& request) {
  int status = DONE;
  if (request.help || request.version) {
    printText(request.help ? usageText().c_str() : "palimo-balance " PALIMO_VERSION "\n");
  } else if (request.isStudy()) {
    writeOutputAsIs();
    status = runStudy(request);
  } else if (!request.base.fit.empty()) {
    status = runBand(request);
  } else {
    const Design& design = request.base;
    const HeatBalance balance = closeHeatBalance(design.data, design.oil, design.cooling);
    if (balance.outcome != BalanceOutcome::BALANCED) {
      tellNoBalance(balance, design.cooling);
      return NO_BALANCE;
    }
    if (request.csv) {
      writeOutputAsIs();
      const CsvLayout layout{false, request.gives("cooling"), false, request.gives("coefficients")};
      printCsvHeader(layout);
      printCsvRow(design, &balance, nullptr, layout);
    } else {
      printScreen(balance, checkBearing(balance.data, balance.results, design.limits), design);
    }
  }
  flushOutput();
  return status;
}

}  // namespace

int runPalimoBalance(int argc, char** argv) {
  Request request;
  // The page runs the program again and again: the case file is closed on
  // every way out.
  const int status = readCommandLine(argc, argv, request) != 0 ? USAGE_ERROR : runRequest(request);
  closeCaseFile(request.cases);
  return status;
}

// The option table for the page, which builds its form from it.
extern "C" const char* palimoBalanceOptions() { return optionTableJson(); }
