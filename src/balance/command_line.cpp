// Reading palimo-balance's command line by the option table.
#include "balance/command_line.h"

#include <cmath>
#include <cstring>
#include <string>

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

bool parseValueOrRange(const char* text, ValueOrRange& given, Reason* why) {
  const auto refuse = [&](Reason reason) {
    *why = reason;
    return false;
  };
  const char* colon = std::strchr(text, ':');
  const char* second = colon ? std::strchr(colon + 1, ':') : nullptr;
  if (!colon) {
    if (!parseNumber(text, given.first)) return refuse(Reason::NO_NUMBER_OR_RANGE);
    if (!std::isfinite(given.first)) return refuse(Reason::NOT_FINITE);
    given.last = given.first, given.count = 1;
    return true;
  }
  const std::string from(text, colon);
  const std::string to(colon + 1, second ? second : colon + 1);
  double count = 0;
  if (!second || !parseNumber(from.c_str(), given.first) || !parseNumber(to.c_str(), given.last) ||
      !parseNumber(second + 1, count))
    return refuse(Reason::NO_NUMBER_OR_RANGE);
  if (!std::isfinite(given.first) || !std::isfinite(given.last)) return refuse(Reason::NOT_FINITE);
  if (!(count >= 1 && count <= MOST_STUDY_POINTS && count == std::floor(count)))
    return refuse(Reason::BAD_COUNT);
  given.count = static_cast<long>(count);
  return true;
}

namespace {

// A refusal of the option (-1: of the word as typed) with its value.
bool refuse(Refusal* why, Reason reason, int option, const std::string& value) {
  why->reason = reason;
  why->option = option;
  why->value = value;
  return false;
}

// Stores the value of the option, or its range for the study.
bool takeValue(Request& request, int option, const char* typed, Refusal* why) {
  // Blanks around a value are no part of it, as in a case file's cell.
  const std::string value = withoutBlanksAround(typed);
  const char* text = value.c_str();
  Reason reason{};
  if (OPTIONS[option].kind == Kind::TEXT) {
    if (!setOptionText(request.base, option, text, &reason))
      return refuse(why, reason, option, value);
    request.given[option] = {0, 0, 1};
    return true;
  }
  ValueOrRange given;
  if (!parseValueOrRange(text, given, &reason)) return refuse(why, reason, option, value);
  Design scratch;
  if (OPTIONS[option].kind == Kind::CHOICE)
    for (long i = 0; i < given.count; ++i)
      if (!setOption(scratch, option, given.at(i)))
        return refuse(why, Reason::NOT_A_CHOICE, option, value);
  request.given[option] = given;
  std::vector<int>& ranged = request.ranged;
  for (std::size_t i = 0; i < ranged.size(); ++i)
    if (ranged[i] == option) ranged.erase(ranged.begin() + static_cast<long>(i));
  if (std::strchr(text, ':'))
    ranged.push_back(option);
  else
    setOption(request.base, option, given.first);
  return true;
}

// Reads K/N, whole numbers with 1 <= K <= N <= MOST_STUDY_POINTS.
bool parsePart(const char* text, long& k, long& n) {
  const char* slash = std::strchr(text, '/');
  int wholeK = 0, wholeN = 0;
  if (!slash || !parseNumber(std::string(text, slash).c_str(), wholeK) ||
      !parseNumber(slash + 1, wholeN))
    return false;
  k = wholeK, n = wholeN;
  return k >= 1 && k <= n && n <= MOST_STUDY_POINTS;
}

// Whether a flag, which takes no value, is the argument.
bool isFlag(const char* argument, const char* flag, bool& set) {
  if (std::strcmp(argument, flag) != 0) return false;
  set = true;
  return true;
}

// The checks once every argument is read: the study's size, the required
// options, and for one point its values.
bool checkRequest(Request& request, Refusal* why) {
  double points = 1;
  for (const int option : request.ranged)
    points *= static_cast<double>(request.given[option].count);
  if (points > MOST_STUDY_POINTS) return refuse(why, Reason::STUDY_TOO_LARGE, -1, "a study");
  // An option and the one it stands in for (a fit and the clearance, a
  // grade and nu40) exclude each other; a required one is given by either.
  const auto inRequest = [&](int i) {
    return request.given[i].count > 0 || request.cases.inFile[i];
  };
  for (int i = 0; i < OPTION_COUNT; ++i)
    if (OPTIONS[i].standsFor >= 0 && request.given[i].count &&
        request.given[OPTIONS[i].standsFor].count)
      return refuse(why, Reason::EXCLUDES, i, "");
  for (int i = 0; i < OPTION_COUNT; ++i) {
    bool given = inRequest(i);
    for (int other = 0; other < OPTION_COUNT; ++other)
      given = given || (OPTIONS[other].standsFor == i && inRequest(other));
    if (OPTIONS[i].required() && !given) return refuse(why, Reason::REQUIRED, i, "");
  }
  // A rotor file tabulates the coefficients over the speed: a study of the
  // speed alone, every other option one value.
  const bool overSpeed = request.ranged.size() == 1 && request.ranged[0] == opt::SPEED;
  // A part of a study counts the study's points first: a case file is read
  // twice, which standard input cannot be.
  if (request.partN > 0 && !request.isStudy())
    return refuse(why, Reason::PART_NEEDS_STUDY, -1, "--part");
  if (request.partN > 0 && request.casesPath && std::strcmp(request.casesPath, "-") == 0)
    return refuse(why, Reason::PART_NEEDS_FILE, -1, "--part");
  if (request.partN > 0 && request.rotorFile)
    return refuse(why, Reason::PART_AND_ROTOR_FILE, -1, "--part");
  if (request.rotorFile) {
    if (!overSpeed || request.casesPath || !request.base.coefficients)
      return refuse(why, Reason::ROTOR_FILE_STUDY, -1, "--rotor-file");
    if (!rotorFileFormat(request.rotorFile)) {
      why->where = "--rotor-file";
      return refuse(why, Reason::ROTOR_FILE_NAME, -1, request.rotorFile);
    }
  } else if (request.rotorTag || request.rotorNode >= 0) {
    return refuse(why, Reason::NEEDS_ROTOR_FILE, -1,
                  request.rotorTag ? "--rotor-tag" : "--rotor-node");
  }
  if (request.isStudy()) return true;
  return resolveOil(request.base, why) && inDomain(request.base, why);
}

}  // namespace

bool readCommandLine(int argc, char** argv, Request& request, Refusal* why) {
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (isFlag(argument, "--help", request.help) || isFlag(argument, "--version", request.version))
      return true;
    if (isFlag(argument, "--csv", request.csv) || isFlag(argument, "--units", request.units))
      continue;
    // --NAME VALUE or --NAME=VALUE; a flag of the table alone
    const char* equals = std::strchr(argument, '=');
    const std::string name = equals ? std::string(argument, equals) : std::string(argument);
    const int option = name.rfind("--", 0) == 0 ? findOption(name.substr(2)) : -1;
    if (option >= 0 && OPTIONS[option].kind == Kind::FLAG) {
      if (equals) return refuse(why, Reason::TAKES_NO_VALUE, -1, name);
      setOption(request.base, option, 1);
      continue;
    }
    for (const char* flag : {"--help", "--version", "--csv", "--units"})
      if (name == flag) return refuse(why, Reason::TAKES_NO_VALUE, -1, flag);
    // The command line's own words that take a value, each once.
    const char** word = name == "--cases"        ? &request.casesPath
                        : name == "--rotor-file" ? &request.rotorFile
                        : name == "--rotor-tag"  ? &request.rotorTag
                                                 : nullptr;
    const bool node = name == "--rotor-node", part = name == "--part", jobs = name == "--jobs";
    if (!word && !node && !part && !jobs && option < 0)
      return refuse(why, Reason::NO_OPTION, -1, name);
    if (!equals && i + 1 == argc) return refuse(why, Reason::NEEDS_VALUE, -1, name);
    const char* value = equals ? equals + 1 : argv[++i];
    if ((word && *word) || (node && request.rotorNode >= 0) || (part && request.partN > 0) ||
        (jobs && request.jobs > 0))
      return refuse(why, Reason::GIVEN_TWICE, -1, name);
    if (part && !parsePart(value, request.partK, request.partN)) {
      why->where = name;
      return refuse(why, Reason::NO_PART, -1, value);
    }
    if (part) continue;
    int whole = 0;
    if (jobs) {
      if (!(parseNumber(value, whole) && whole >= 1 && whole <= MOST_JOBS)) {
        why->where = name;
        return refuse(why, Reason::NO_JOBS, -1, value);
      }
      request.jobs = whole;
      continue;
    }
    if (node && !(parseNumber(value, whole) && whole >= 0)) {
      why->where = name;
      return refuse(why, Reason::NO_NODE, -1, value);
    }
    if (word)
      *word = value;
    else if (node)
      request.rotorNode = whole;
    else if (!takeValue(request, option, value, why))
      return false;
  }
  if (request.casesPath && !openCaseFile(request.casesPath, request.cases, why)) return false;
  return checkRequest(request, why);
}
