// palimo-balance's program: one balanced point with its screen or CSV, a
// fit's band, or a study.
#include "balance/program.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include "balance/command_line.h"
#include "balance/csv.h"
#include "balance/screen.h"
#include "balance/study.h"
#include "console/output.h"
#include "console/terminal.h"

namespace {

enum { DONE = 0, NO_BALANCE = 1, USAGE_ERROR = 2 };

// One design, or a fit's band: each point balanced, on the screen or as
// CSV. Every point must balance.
int runDesign(const Request& request) {
  const Design& design = request.base;
  const bool band = !design.fit.empty();
  std::vector<Point> points;
  Refusal why;
  if (!calculatePoints(design, request.csv ? View::CSV : View::SCREEN, points, &why)) {
    tellError("%s", refusalText(why, request.language).c_str());
    return USAGE_ERROR;
  }
  for (const Point& point : points)
    if (!point.balanced) {
      tellNoBalance(point, request.language);
      return NO_BALANCE;
    }
  if (!request.csv) {
    if (band)
      printBandScreen(points);
    else
      printScreen(points[0]);
    return DONE;
  }
  writeOutputAsIs();
  const CsvLayout layout{false,
                         request.gives(opt::GRADE) || request.gives(opt::VI),
                         request.gives(opt::COOLING),
                         band,
                         request.gives(opt::COEFFICIENTS) || request.gives(opt::THRESHOLD_SPEED),
                         request.gives(opt::THRESHOLD_SPEED),
                         request.givesBore(),
                         request.units};
  printCsvHeader(layout);
  const std::string verdict = band ? verdictText(failedAtAny(points)) : "";
  for (const Point& point : points) printCsvRow(pointRow(point, verdict), layout);
  return DONE;
}

int runRequest(Request& request) {
  int status = DONE;
  if (request.help || request.version) {
    printText(request.help ? usageText().c_str() : "palimo-balance " PALIMO_VERSION "\n");
  } else if (request.isStudy()) {
    writeOutputAsIs();
    status = runStudy(request);
  } else {
    status = runDesign(request);
  }
  flushOutput();
  return status;
}

// The arguments of the page, one a line, as argv for the command line.
std::vector<char*> argumentsOf(std::string& lines) {
  std::vector<char*> argv{const_cast<char*>("palimo-balance")};
  for (std::size_t at = 0; at < lines.size();) {
    const std::size_t end = lines.find('\n', at);
    argv.push_back(&lines[at]);
    if (end == std::string::npos) break;
    lines[end] = '\0';
    at = end + 1;
  }
  return argv;
}

// A text for the page to take: the page frees it.
char* forThePage(const std::string& text) {
  char* copy = static_cast<char*>(std::malloc(text.size() + 1));
  if (copy) std::memcpy(copy, text.c_str(), text.size() + 1);
  return copy;
}

// The locale that names the messages' language, as POSIX orders them.
const char* messageLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value && *value) return value;
  }
  return nullptr;
}

}  // namespace

int runPalimoBalance(int argc, char** argv) {
  Request request;
  request.language = messageLanguage(messageLocale());
  Refusal why;
  int status = USAGE_ERROR;
  if (readCommandLine(argc, argv, request, &why))
    status = runRequest(request);
  else
    tellError("%s", refusalText(why, request.language).c_str());
  // The page runs the program again and again: the case file is closed on
  // every way out.
  closeCaseFile(request.cases);
  return status;
}

extern "C" char* palimoBalanceOptions() { return forThePage(optionTableJson()); }

extern "C" char* palimoBalanceRefusal(const char* arguments) {
  std::string lines = arguments;
  std::vector<char*> argv = argumentsOf(lines);
  Request request;
  Refusal why;
  const bool taken = readCommandLine(static_cast<int>(argv.size()), argv.data(), request, &why);
  closeCaseFile(request.cases);
  return forThePage(taken ? "" : refusalJson(why));
}
