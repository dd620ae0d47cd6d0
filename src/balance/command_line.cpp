// Reading palimo-balance's command line by the option table.
#include "balance/command_line.h"

#include <cmath>
#include <cstring>
#include <string>

#include "console/output.h"
#include "text/numeral.h"

double ValueOrRange::at(long i) const {
  if (count == 1) return first;
  const double t = static_cast<double>(i) / static_cast<double>(count - 1);
  double value = i == 0 ? first : i == count - 1 ? last : first + (last - first) * t;
  // Ends so far apart that their difference overflows: weigh each end.
  if (!std::isfinite(value)) value = (1 - t) * first + t * last;
  // A point is the design its row prints: 120.00000000000001, printed as
  // 120, would look a fit's band up in ISO 286's next diameter step.
  return asPrinted(value);
}

const char* parseValueOrRange(const char* text, ValueOrRange& given) {
  const char* colon = std::strchr(text, ':');
  const char* second = colon ? std::strchr(colon + 1, ':') : nullptr;
  if (!colon) {
    if (!parseNumber(text, given.first)) return "is no number and no range FROM:TO:COUNT";
    if (!std::isfinite(given.first)) return NOT_FINITE;
    given.last = given.first, given.count = 1;
    return nullptr;
  }
  const std::string from(text, colon);
  const std::string to(colon + 1, second ? second : colon + 1);
  double count = 0;
  if (!second || !parseNumber(from.c_str(), given.first) || !parseNumber(to.c_str(), given.last) ||
      !parseNumber(second + 1, count))
    return "is no number and no range FROM:TO:COUNT";
  if (!std::isfinite(given.first) || !std::isfinite(given.last)) return NOT_FINITE;
  if (!(count >= 1 && count <= MOST_POINTS && count == std::floor(count)))
    return "has a COUNT that is no whole number from 1 to 10000000";
  given.count = static_cast<long>(count);
  return nullptr;
}

namespace {

int refuse(const char* name, const char* what) {
  tellError("%s %s", name, what);
  return 2;
}

// "must be 1, 2 or 3": the choices of an option.
std::string choicesText(const Option& o) {
  std::string text = "must be";
  for (int c = o.firstChoice; c <= o.lastChoice; ++c)
    text += (c == o.firstChoice ? " " : c == o.lastChoice ? " or " : ", ") + std::to_string(c);
  return text;
}

// Stores the value of the option, or its range for the study.
int takeValue(Request& request, int option, const char* typed) {
  const std::string name = std::string("--") + OPTIONS[option].name;
  // Blanks around a value are no part of it, as in a case file's cell.
  const std::string value = withoutBlanksAround(typed);
  const char* text = value.c_str();
  if (OPTIONS[option].text) {
    if (const char* wrong = setOptionText(request.base, option, text)) {
      tellError("%s: '%s' %s", name.c_str(), text, wrong);
      return 2;
    }
    request.given[option] = {0, 0, 1};
    return 0;
  }
  ValueOrRange given;
  if (const char* wrong = parseValueOrRange(text, given)) {
    tellError("%s: '%s' %s", name.c_str(), text, wrong);
    return 2;
  }
  Design scratch;
  if (OPTIONS[option].choice)
    for (long i = 0; i < given.count; ++i)
      if (!setOption(scratch, option, given.at(i)))
        return refuse(name.c_str(), choicesText(OPTIONS[option]).c_str());
  request.given[option] = given;
  std::vector<int>& ranged = request.ranged;
  for (std::size_t i = 0; i < ranged.size(); ++i)
    if (ranged[i] == option) ranged.erase(ranged.begin() + static_cast<long>(i));
  if (std::strchr(text, ':'))
    ranged.push_back(option);
  else
    setOption(request.base, option, given.first);
  return 0;
}

// Whether a flag, which takes no value, is the argument.
bool isFlag(const char* argument, const char* flag, bool& set) {
  if (std::strcmp(argument, flag) != 0) return false;
  set = true;
  return true;
}

// The checks once every argument is read: the study's size, the required
// options, and for one point its values.
int checkRequest(Request& request) {
  double points = 1;
  for (const int option : request.ranged)
    points *= static_cast<double>(request.given[option].count);
  if (points > MOST_POINTS) return refuse("a study", "of more than 10000000 points");
  // A fit gives the clearance.
  const int fit = findOption("fit"), clearance = findOption("clearance");
  if (request.given[fit].count && request.given[clearance].count)
    return refuse("--fit", "and --clearance exclude each other: the fit gives the clearance");
  for (int i = 0; i < OPTION_COUNT; ++i)
    if (OPTIONS[i].required && request.given[i].count == 0 && !request.cases.inFile[i])
      return refuse((std::string("--") + OPTIONS[i].name).c_str(), OPTIONS[i].required);
  if (request.isStudy()) return 0;
  const char* why = nullptr;
  const int refused = refusedValue(request.base, &why);
  if (refused >= 0) return refuse((std::string("--") + OPTIONS[refused].name).c_str(), why);
  return 0;
}

}  // namespace

int readCommandLine(int argc, char** argv, Request& request) {
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (isFlag(argument, "--help", request.help) || isFlag(argument, "--version", request.version))
      return 0;
    if (isFlag(argument, "--csv", request.csv)) continue;
    // --NAME VALUE or --NAME=VALUE; a flag of the table alone
    const char* equals = std::strchr(argument, '=');
    const std::string name = equals ? std::string(argument, equals) : std::string(argument);
    const int option = name.rfind("--", 0) == 0 ? findOption(name.substr(2)) : -1;
    if (option >= 0 && OPTIONS[option].flag) {
      if (equals) return refuse(name.c_str(), "takes no value");
      setOption(request.base, option, OPTIONS[option].lastChoice);
      continue;
    }
    for (const char* flag : {"--help", "--version", "--csv"})
      if (name == flag) return refuse(flag, "takes no value");
    const bool cases = name == "--cases";
    if (!cases && option < 0) return refuse(name.c_str(), "is no option (see --help)");
    if (!equals && i + 1 == argc) return refuse(name.c_str(), "needs a value");
    const char* value = equals ? equals + 1 : argv[++i];
    if (cases && request.casesPath) return refuse("--cases", "is given twice");
    if (cases)
      request.casesPath = value;
    else if (takeValue(request, option, value) != 0)
      return 2;
  }
  if (request.casesPath && openCaseFile(request.casesPath, request.cases) != 0) return 2;
  return checkRequest(request);
}
