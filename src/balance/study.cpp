// The study loop: cases streamed from their file, the ranges varied for
// each, a point a row, and a stop signal taken between two rows.
#include "balance/study.h"

#include <string>

#include "balance/report.h"
#include "console/output.h"
#include "console/terminal.h"

namespace {

// Why a point has no balance, as its status says it.
const char* statusOf(BalanceOutcome outcome) {
  switch (outcome) {
    case BalanceOutcome::BALANCED:
      return "balanced";
    case BalanceOutcome::WIDTH_RATIO_OUT_OF_RANGE:
      return "B/D";
    case BalanceOutcome::NO_FILM:
      return "no film";
    case BalanceOutcome::NOT_A_NUMBER:
      return "not a number";
    case BalanceOutcome::NO_BALANCE:
      break;
  }
  return "no balance";
}

// One point: a row, refused where a value lies outside what the closed
// forms take, else balanced; with a fit, a row for each end of its band and
// its mean, the band varying fastest. fits: whether the CSV has the fit's
// columns.
void studyPoint(const Design& design, const RawCell& raw, const CsvLayout& layout) {
  const char* why = nullptr;
  int refused = raw.option >= 0 ? raw.option : refusedValue(design, &why);
  Fit fit;
  double band[BAND_CASES] = {};
  if (refused < 0 && !design.fit.empty() &&
      (parseFit(design.fit, fit) || clearanceBand(fit, design.data.diameter, band)))
    refused = findOption("fit");
  static PointSet set;  // large; one study point at a time, filled where not refused
  if (refused < 0) balancePoints(design, design.fit.empty() ? nullptr : band, set);
  const int rows = design.fit.empty() ? 1 : BAND_CASES;
  const std::string status = raw.status     ? raw.status
                             : refused >= 0 ? std::string("bad value of ") + OPTIONS[refused].name
                                            : "";
  // A fit that is no fit is shown as it stands; a refused fit gives no
  // clearance, and its row shows none.
  const bool fitCell = raw.option == findOption("fit");
  const std::string fitText = fitCell ? raw.text : design.fit;
  Design shown = design;
  if ((fitCell || !design.fit.empty()) && !raw.status) shown.data.clearance = NAN;
  for (int k = 0; k < rows; ++k) {
    const BandCells cells{fitText, rows > 1 ? BAND_CASE_NAMES[k] : "",
                          rows > 1 && refused < 0 ? verdictText(set.failed) : ""};
    printCsvRow(refused >= 0 ? shown : set.points[k], refused >= 0 ? nullptr : &set.balances[k],
                refused >= 0 ? status.c_str() : statusOf(set.balances[k].outcome), layout, raw,
                &cells);
  }
}

// A case's own values over the command line's. The first cell that is no
// value of its option is kept as it stands, to be shown and named.
RawCell applyCase(const Request& request, const Case& one, Design& design) {
  RawCell raw;
  for (int i = 0; i < OPTION_COUNT; ++i)
    if (!one.cell(i).empty() && setOptionText(design, i, one.cell(i)) && raw.option < 0)
      raw = {i, one.cell(i), nullptr};
  // A fit gives the clearance: a case that gives both, by its cells or
  // beside the command line's, is no case.
  const int fit = findOption("fit"), clearance = findOption("clearance");
  const bool fitGiven = !one.cell(fit).empty() || request.given[fit].count > 0;
  const bool clearanceGiven = !one.cell(clearance).empty() || request.given[clearance].count > 0;
  const bool ownCell = !one.cell(fit).empty() || !one.cell(clearance).empty();
  if (raw.option < 0 && fitGiven && clearanceGiven && ownCell)
    raw = {fit, one.cell(fit).empty() ? design.fit : one.cell(fit),
           "fit and clearance exclude each other"};
  return raw;
}

// Every point of one case: the command line's ranges that the case does
// not set, the first varying slowest. False when a stop signal came.
bool studyCase(const Request& request, const Case& one, const CsvLayout& layout) {
  Design design = request.base;
  const RawCell raw = applyCase(request, one, design);
  std::vector<int> ranged;
  for (const int option : request.ranged)
    if (one.cell(option).empty()) ranged.push_back(option);
  std::vector<long> at(ranged.size(), 0);
  for (;;) {
    Design point = design;
    for (std::size_t i = 0; i < ranged.size(); ++i)
      setOption(point, ranged[i], request.given[ranged[i]].at(at[i]));
    studyPoint(point, raw, layout);
    if (stopSignalCaught()) return false;
    std::size_t i = ranged.size();
    while (i > 0 && ++at[i - 1] == request.given[ranged[i - 1]].count) at[--i] = 0;
    if (i == 0) return true;
  }
}

}  // namespace

void balancePoints(const Design& design, const double* band, PointSet& set) {
  set.count = band ? BAND_CASES : 1;
  set.failed = 0;
  for (int k = 0; k < set.count; ++k) {
    Design& point = set.points[k];
    point = design;
    if (band) point.data.clearance = band[k];
    set.balances[k] = closeHeatBalance(point.data, point.oil, point.cooling);
    set.failed |= failedChecks(point, &set.balances[k]);
  }
}

int runStudy(Request& request) {
  catchStopSignals();
  Case one;
  int status = 0;
  const CsvLayout layout{true, request.gives("cooling"), request.gives("fit"),
                         request.gives("coefficients")};
  bool first = true;
  for (;;) {
    if (request.casesPath) {
      const int got = readCase(request.cases, one);
      if (got != 1) {
        if (stopSignalCaught()) {
          status = 128 + stopSignalCaught();
        } else if (got == 0 && first) {
          tellError("%s: no case (a header alone)", request.cases.where.c_str());
          status = 2;
        } else {
          status = got;
        }
        break;
      }
    }
    // The header goes out with the first row: a file without a case, or
    // one whose first case fails, leaves no CSV behind.
    if (first) printCsvHeader(layout);
    first = false;
    if (!studyCase(request, one, layout)) {
      status = 128 + stopSignalCaught();
      break;
    }
    if (!request.casesPath) break;
  }
  closeCaseFile(request.cases);
  return status;
}
