// The study loop: cases streamed from their file, the ranges varied for
// each, a point a row, and a stop signal taken between two rows.
#include "balance/study.h"

#include <climits>
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
    CsvRow row = pointRow(point, verdict);
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

// The points of the study that are calculated: [begin, end) of them all in
// the study's order, and the index of the next one.
struct Part {
  long long begin = 0;
  long long end = LLONG_MAX;
  long long next = 0;
};

// The points of one case: the command line's ranges that it does not set.
long long casePoints(const Request& request, const Case& one) {
  long long points = 1;
  for (const int option : request.ranged)
    if (one.cell(option).empty()) points *= request.given[option].count;
  return points;
}

// Every point of one case in the part: the command line's ranges that the
// case does not set, the first varying slowest. False when a stop signal
// came.
bool studyCase(const Request& request, const Case& one, const CsvLayout& layout,
               std::vector<Point>& points, RotorFile* rotor, Part& part) {
  const long long count = casePoints(request, one);
  if (part.next + count <= part.begin || part.next >= part.end) {
    part.next += count;
    return true;
  }
  Design design = request.base;
  const RawCell raw = applyCase(request, one, design);
  std::vector<int> ranged;
  for (const int option : request.ranged)
    if (one.cell(option).empty()) ranged.push_back(option);
  std::vector<long> at(ranged.size(), 0);
  for (;; ++part.next) {
    if (part.next >= part.begin && part.next < part.end) {
      Design point = design;
      for (std::size_t i = 0; i < ranged.size(); ++i)
        setOption(point, ranged[i], request.given[ranged[i]].at(at[i]));
      studyPoint(point, raw, layout, points, rotor);
      if (stopSignalCaught()) return false;
    }
    if (part.next + 1 >= part.end) return ++part.next, true;  // the rest lies beyond the part
    std::size_t i = ranged.size();
    while (i > 0 && ++at[i - 1] == request.given[ranged[i - 1]].count) at[--i] = 0;
    if (i == 0) return ++part.next, true;
  }
}

// The part of the study that the command line asks for: all of it, or the
// K-th of N contiguous blocks of its points, a case file read once to
// count them. False after a line on standard error where it fails.
bool partOf(Request& request, Part& part) {
  if (request.partN == 0) return true;
  long long total = 0;
  Case one;
  if (!request.casesPath) total = casePoints(request, one);
  bool any = false;
  for (Refusal why; request.casesPath;) {
    const Read got = readCase(request.cases, one, &why);
    if (got == Read::FAULT) {
      tellError("%s", refusalText(why, request.language).c_str());
      return false;
    }
    if (got == Read::END) break;
    total += casePoints(request, one);
    any = true;
  }
  if (request.casesPath && (!any || !rewindCaseFile(request.cases))) {
    Refusal why;
    why.reason = any ? Reason::READ_ERROR : Reason::HEADER_ALONE;
    why.where = request.cases.where;
    tellError("%s", refusalText(why, request.language).c_str());
    return false;
  }
  // floor((K - 1) T / N) without an overflow of (K - 1) T.
  const auto bound = [&](long long k) {
    return k * (total / request.partN) + k * (total % request.partN) / request.partN;
  };
  part.begin = bound(request.partK - 1);
  part.end = bound(request.partK);
  return true;
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
  Part part;
  if (!partOf(request, part)) {
    closeCaseFile(request.cases);
    return 2;
  }
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
    // one whose first case fails, leaves no CSV behind. The parts after the
    // first have none, so that the parts joined are the whole.
    if (first && request.partK <= 1) printCsvHeader(layout);
    first = false;
    if (!studyCase(request, one, layout, points, toFile, part)) {
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
