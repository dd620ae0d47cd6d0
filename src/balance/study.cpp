// The study loop: cases streamed from their file, the ranges varied for
// each, a point a row, and a stop signal taken between two rows.
#include "balance/study.h"

#include <string>

#include "balance/report.h"
#include "console/output.h"
#include "console/terminal.h"
#include "text/numeral.h"

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

// One point, a row: refused where a value lies outside what the closed
// forms take, else balanced.
void studyPoint(const Design& design, const RawCell& raw) {
  const char* why = nullptr;
  const int refused = raw.option >= 0 ? raw.option : refusedValue(design, &why);
  if (refused >= 0) {
    const std::string status = std::string("bad value of ") + OPTIONS[refused].name;
    return printCsvRow(design, nullptr, status.c_str(), raw);
  }
  const HeatBalance balance = closeHeatBalance(design.data, design.oil);
  printCsvRow(design, &balance, statusOf(balance.outcome));
}

// A case's own values over the command line's. The first cell that is no
// value of its option is kept as it stands, to be shown and named.
RawCell applyCase(const Case& one, Design& design) {
  RawCell raw;
  for (int i = 0; i < OPTION_COUNT; ++i) {
    double value = 0;
    if (one.cells[i].empty()) continue;
    if ((!parseNumber(one.cells[i].c_str(), value) || !setOption(design, i, value)) &&
        raw.option < 0)
      raw = {i, one.cells[i]};
  }
  return raw;
}

// Every point of one case: the command line's ranges that the case does
// not set, the first varying slowest. False when a stop signal came.
bool studyCase(const Request& request, const Case& one) {
  Design design = request.base;
  const RawCell raw = applyCase(one, design);
  std::vector<int> ranged;
  for (const int option : request.ranged)
    if (one.cells[option].empty()) ranged.push_back(option);
  std::vector<long> at(ranged.size(), 0);
  for (;;) {
    Design point = design;
    for (std::size_t i = 0; i < ranged.size(); ++i)
      setOption(point, ranged[i], request.given[ranged[i]].at(at[i]));
    studyPoint(point, raw);
    if (stopSignalCaught()) return false;
    std::size_t i = ranged.size();
    while (i > 0 && ++at[i - 1] == request.given[ranged[i - 1]].count) at[--i] = 0;
    if (i == 0) return true;
  }
}

}  // namespace

int runStudy(Request& request) {
  catchStopSignals();
  Case one;
  int status = 0;
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
    if (first) printCsvHeader(true);
    first = false;
    if (!studyCase(request, one)) {
      status = 128 + stopSignalCaught();
      break;
    }
    if (!request.casesPath) break;
  }
  closeCaseFile(request.cases);
  return status;
}
