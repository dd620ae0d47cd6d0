// The study loop: cases streamed from their file, the ranges varied for
// each, a point a row, and a stop signal taken between two rows.
#include "balance/study.h"

#include <cmath>
#include <string>
#include <vector>

#include "balance/csv.h"
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
// its mean, the band varying fastest. points holds the points between two
// calls, so that a study allocates them once.
void studyPoint(const Design& design, const RawCell& raw, const CsvLayout& layout,
                std::vector<Point>& points, RotorFile* rotor) {
  Refusal why;
  Design oiled = design;
  bool refused = raw.option >= 0;
  if (!refused) refused = !resolveOil(oiled, &why) || !inDomain(oiled, &why);
  if (!refused) refused = !calculatePoints(oiled, View::CSV, points, &why);
  const int refusedOption = raw.option >= 0 ? raw.option : why.option;
  const int rows = design.fit.empty() ? 1 : BAND_CASES;
  if (rotor) {
    if (refused) points.assign(1, Point()), points[0].design = design;
    addRotorPoint(*rotor, points[0]);
  }
  if (refused) {
    const std::string status = !raw.status.empty()
                                   ? raw.status
                                   : std::string("bad value of ") + OPTIONS[refusedOption].name;
    // A refused fit gives no clearance, and its row shows none.
    Design shown = oiled;
    if ((raw.option == opt::FIT || !design.fit.empty()) && raw.status.empty())
      shown.data.clearance = NAN;
    for (int k = 0; k < rows; ++k) {
      CsvRow row;
      row.design = &shown;
      row.bandEnd = rows > 1 ? k : -1;
      row.raw = raw;
      row.status = status.c_str();
      printCsvRow(row, layout);
    }
    return;
  }
  const std::string verdict = rows > 1 ? verdictText(failedAtAny(points)) : "";
  for (const Point& point : points) {
    CsvRow row;
    row.design = &point.design;
    row.point = &point;
    row.bandEnd = point.bandEnd;
    row.fitVerdict = verdict;
    row.raw = raw;
    row.status = statusOf(point.balance.outcome);
    printCsvRow(row, layout);
  }
}

// A case's own values over the command line's. The first cell that is no
// value of its option is kept as it stands, to be shown and named.
RawCell applyCase(const Request& request, const Case& one, Design& design) {
  RawCell raw;
  Reason reason{};
  for (int i = 0; i < OPTION_COUNT; ++i)
    if (!one.cell(i).empty() && !setOptionText(design, i, one.cell(i), &reason) && raw.option < 0)
      raw = {i, one.cell(i), ""};
  // An option and the one it stands in for (a fit and the clearance, a
  // grade and nu40): a case that gives both, by its cells or beside the
  // command line's, is no case.
  for (int i = 0; i < OPTION_COUNT && raw.option < 0; ++i) {
    const int other = OPTIONS[i].standsFor;
    if (other < 0) continue;
    const std::string &own = one.cell(i), &its = one.cell(other);
    const bool both = (!own.empty() || request.given[i].count > 0) &&
                      (!its.empty() || request.given[other].count > 0);
    if (both && !(own.empty() && its.empty()))
      raw = {i, own.empty() ? optionText(design, i) : own,
             std::string(OPTIONS[i].name) + " and " + OPTIONS[other].name + " exclude each other"};
  }
  return raw;
}

// Every point of one case: the command line's ranges that the case does
// not set, the first varying slowest. False when a stop signal came.
bool studyCase(const Request& request, const Case& one, const CsvLayout& layout,
               std::vector<Point>& points, RotorFile* rotor) {
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
    studyPoint(point, raw, layout, points, rotor);
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
  const CsvLayout layout{true,
                         request.gives(opt::GRADE) || request.gives(opt::VI),
                         request.gives(opt::COOLING),
                         request.gives(opt::FIT),
                         request.gives(opt::COEFFICIENTS),
                         request.units};
  std::vector<Point> points;
  RotorFile rotor;
  if (request.rotorFile) {
    rotor.path = request.rotorFile;
    rotor.tag = request.rotorTag ? request.rotorTag : defaultRotorTag(rotor.path);
    rotor.node = request.rotorNode >= 0 ? request.rotorNode : 0;
  }
  RotorFile* const toFile = request.rotorFile ? &rotor : nullptr;
  bool first = true;
  for (;;) {
    if (request.casesPath) {
      Refusal why;
      const Read got = readCase(request.cases, one, &why);
      if (got != Read::CASE) {
        if (stopSignalCaught()) {
          status = 128 + stopSignalCaught();
        } else if (got == Read::FAULT) {
          tellError("%s", refusalText(why, request.language).c_str());
          status = 2;
        } else if (first) {
          why.reason = Reason::HEADER_ALONE;
          why.where = request.cases.where;
          tellError("%s", refusalText(why, request.language).c_str());
          status = 2;
        }
        break;
      }
    }
    // The header goes out with the first row: a file without a case, or
    // one whose first case fails, leaves no CSV behind.
    if (first) printCsvHeader(layout);
    first = false;
    if (!studyCase(request, one, layout, points, toFile)) {
      status = 128 + stopSignalCaught();
      break;
    }
    if (!request.casesPath) break;
  }
  closeCaseFile(request.cases);
  Refusal why;
  if (toFile && status == 0 && !writeRotorFile(rotor, &why)) {
    tellError("%s", refusalText(why, request.language).c_str());
    status = 1;
  }
  return status;
}
