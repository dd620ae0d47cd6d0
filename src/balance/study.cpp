// The study loop: cases streamed from their file, the ranges varied for
// each, a point a row, the points calculated by threads in a window that
// moves along the study, and a stop signal taken between two rows.
#include "balance/study.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <system_error>
#include <thread>
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
    case BalanceOutcome::NO_EQUILIBRIUM:
      return "no equilibrium";
    case BalanceOutcome::NOT_A_NUMBER:
      return "not a number";
    case BalanceOutcome::NO_BALANCE:
      break;
  }
  return "no balance";
}

// One point of the study: its design and raw cell, and once calculated its
// rows of CSV and, for a rotor file, the point.
struct StudyPoint {
  Design design;
  RawCell raw;
  std::string rows;
  Point forRotor;
};

// Calculates a point's rows: a row, refused where a value lies outside what
// the closed forms take, else balanced; with a fit, a row for each end of
// its band and its mean, the band varying fastest. points is scratch, so
// that a thread allocates it once. It writes nothing but the StudyPoint.
void calculateStudyPoint(StudyPoint& at, const CsvLayout& layout, std::vector<Point>& points,
                         bool rotor) {
  const Design& design = at.design;
  const RawCell& raw = at.raw;
  at.rows.clear();
  Refusal why;
  Design oiled = design;
  bool refused = raw.option >= 0;
  if (!refused) refused = !resolveOil(oiled, &why) || !inDomain(oiled, &why);
  if (!refused) refused = !calculatePoints(oiled, View::CSV, points, &why);
  const int refusedOption = raw.option >= 0 ? raw.option : why.option;
  const int rows = design.fit.empty() ? 1 : BAND_CASES;
  if (rotor) {
    if (refused) points.assign(1, Point()), points[0].design = design;
    at.forRotor = points[0];
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
      at.rows += csvRowText(row, layout);
    }
    return;
  }
  const std::string verdict = rows > 1 ? verdictText(failedAtAny(points)) : "";
  for (const Point& point : points) {
    CsvRow row = pointRow(point, verdict);
    row.raw = raw;
    row.status = statusOf(point.balance.outcome);
    at.rows += csvRowText(row, layout);
  }
}

// The points in flight, in windows of a batch: while the jobs' threads
// calculate one batch, this thread fills the next and prints the one before,
// in the study's order. With one job a batch holds one point, calculated
// and printed before the next, by this thread alone.
struct Batch {
  std::vector<StudyPoint> points;  // the window's size, filled to `filled`
  std::size_t filled = 0;
  std::size_t calculated = 0;  // the points calculated, from the first on
};

// Points a thread takes in a batch: enough that the batch's last point,
// on which the others wait, costs little of it.
constexpr std::size_t POINTS_PER_JOB = 64;

// The threads that calculate, started once for the study: each round they
// take the points of the running batch in turn, and the last to finish
// says so.
struct Window {
  Batch batches[2];  // the one this thread fills, and the one the crew calculates
  int current = 0;   // the one this thread fills
  int jobs = 1;
  const CsvLayout* layout = nullptr;
  RotorFile* rotor = nullptr;
  std::vector<std::thread> crew;
  std::mutex mutex;
  std::condition_variable go, done;
  Batch* running = nullptr;  // the crew's batch; nullptr while it has none
  long round = 0;            // a thread that has seen the round waits for the next
  int busy = 0;              // the crew's threads still at the round's batch
  bool over = false;
  std::atomic<std::size_t> next{0};  // the running batch's next point to take
  ~Window();
};

// Calculates points of the batch, taken in turn, until none is left or a
// stop signal came.
void takePoints(Window& w, Batch& batch, std::vector<Point>& scratch) {
  while (!stopSignalCaught()) {
    const std::size_t i = w.next++;
    if (i >= batch.filled) break;
    calculateStudyPoint(batch.points[i], *w.layout, scratch, w.rotor != nullptr);
  }
}

void crewThread(Window& w) {
  std::vector<Point> scratch;
  for (long seen = 0;;) {
    Batch* batch = nullptr;
    {
      std::unique_lock<std::mutex> lock(w.mutex);
      w.go.wait(lock, [&] { return w.over || w.round != seen; });
      if (w.over) return;
      seen = w.round;
      batch = w.running;
    }
    takePoints(w, *batch, scratch);
    std::lock_guard<std::mutex> lock(w.mutex);
    if (--w.busy == 0) w.done.notify_one();
  }
}

Window::~Window() {
  {
    std::lock_guard<std::mutex> lock(mutex);
    over = true;
    next = SIZE_MAX / 2;  // a round still running takes no more points
  }
  go.notify_all();
  for (std::thread& t : crew) t.join();
}

void setUpWindow(Window& w, int jobs, const CsvLayout& layout, RotorFile* rotor) {
  w.jobs = jobs;
  const std::size_t size = jobs == 1 ? 1 : POINTS_PER_JOB * static_cast<std::size_t>(jobs);
  for (Batch& b : w.batches) b.points.resize(size);
  w.layout = &layout;
  w.rotor = rotor;
  for (int t = 0; t < jobs && jobs > 1; ++t) {
    try {
      w.crew.emplace_back(crewThread, std::ref(w));
    } catch (const std::system_error&) {
      break;  // no more threads to be had: the others do the work
    }
  }
}

// Prints a calculated batch's rows and empties it. False when a stop
// signal came, or cut its calculation short.
bool printBatch(Window& w, Batch& b) {
  for (std::size_t i = 0; i < b.calculated; ++i) {
    printText(b.points[i].rows.c_str());
    if (w.rotor) addRotorPoint(*w.rotor, b.points[i].forRotor);
    if (stopSignalCaught()) return false;
  }
  const bool whole = b.calculated == b.filled;
  b.filled = b.calculated = 0;
  return whole;
}

// Waits for the crew's batch and prints it. False when a stop signal came.
bool printRunning(Window& w) {
  if (!w.running) return true;
  {
    std::unique_lock<std::mutex> lock(w.mutex);
    w.done.wait(lock, [&] { return w.busy == 0; });
  }
  Batch& batch = *w.running;
  w.running = nullptr;
  // Every point taken before a signal is calculated: a prefix.
  batch.calculated = std::min(w.next.load(), batch.filled);
  return printBatch(w, batch);
}

// Hands the filled batch to the crew, once the one before it is printed;
// this thread then fills the other. Without a crew (one job, or no thread
// to be had) this thread calculates and prints it. False when a stop
// signal came: the rows of the points calculated before it are printed,
// and nothing after them.
bool calculateWindow(Window& w) {
  if (!printRunning(w)) return false;
  Batch& now = w.batches[w.current];
  if (w.crew.empty()) {
    std::vector<Point> scratch;
    w.next = 0;
    takePoints(w, now, scratch);
    now.calculated = std::min(w.next.load(), now.filled);
    return printBatch(w, now);
  }
  {
    std::lock_guard<std::mutex> lock(w.mutex);
    w.running = &now;
    w.next = 0;
    w.busy = static_cast<int>(w.crew.size());
    ++w.round;
  }
  w.go.notify_all();
  w.current = 1 - w.current;
  return true;
}

// Adds a point to the window, and calculates it once it is full. False
// when a stop signal came.
bool addPoint(Window& w, const Design& design, const RawCell& raw) {
  Batch& now = w.batches[w.current];
  StudyPoint& at = now.points[now.filled++];
  at.design = design;
  at.raw = raw;
  return now.filled < now.points.size() || calculateWindow(w);
}

// Calculates and prints every point still in the window. False when a stop
// signal came.
bool finishWindow(Window& w) {
  if (w.batches[w.current].filled > 0 && !calculateWindow(w)) return false;
  return printRunning(w);
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
// came. The points go through the window: the last of them may still be
// in it.
bool studyCase(const Request& request, const Case& one, Window& window, Part& part) {
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
      if (!addPoint(window, point, raw)) return false;
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
                         request.gives(opt::COEFFICIENTS) || request.gives(opt::THRESHOLD_SPEED),
                         request.gives(opt::THRESHOLD_SPEED),
                         request.givesBore(),
                         request.units};
  RotorFile rotor;
  if (request.rotorFile) {
    rotor.path = request.rotorFile;
    rotor.tag = request.rotorTag ? request.rotorTag : defaultRotorTag(rotor.path);
    rotor.node = request.rotorNode >= 0 ? request.rotorNode : 0;
  }
  RotorFile* const toFile = request.rotorFile ? &rotor : nullptr;
  // The page runs no threads of its own: one job.
  const int cores = usableCores();
  Window window;
  setUpWindow(window,
              cores == 0         ? 1
              : request.jobs > 0 ? static_cast<int>(request.jobs)
                                 : cores,
              layout, toFile);
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
        // The rows before a fault are printed before it is told.
        if (stopSignalCaught() || !finishWindow(window)) {
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
    if (!studyCase(request, one, window, part)) {
      status = 128 + stopSignalCaught();
      break;
    }
    if (!request.casesPath) break;
  }
  if (status == 0 && !finishWindow(window)) status = 128 + stopSignalCaught();
  closeCaseFile(request.cases);
  Refusal why;
  if (toFile && status == 0 && !writeRotorFile(rotor, &why)) {
    tellError("%s", refusalText(why, request.language).c_str());
    status = 1;
  }
  return status;
}
