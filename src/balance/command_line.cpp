// The options of palimo-balance, their values and ranges, and case files.
#include "balance/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "console/numeral.h"

// Each option's field; the supply case, an int, has none.
const ValueOption VALUE_OPTIONS[VALUE_OPTION_COUNT] = {
    {"nu40", [](Design& d) -> double& { return d.oil.nu40; }},
    {"nu100", [](Design& d) -> double& { return d.oil.nu100; }},
    {"density", [](Design& d) -> double& { return d.oil.density15; }},
    {"load", [](Design& d) -> double& { return d.data.load; }},
    {"speed", [](Design& d) -> double& { return d.data.speed; }},
    {"diameter", [](Design& d) -> double& { return d.data.diameter; }},
    {"width", [](Design& d) -> double& { return d.data.width; }},
    {"clearance", [](Design& d) -> double& { return d.data.clearance; }},
    {"h0-limit", [](Design& d) -> double& { return d.data.h0Limit; }},
    {"supply-pressure", [](Design& d) -> double& { return d.data.supplyPressure; }},
    {"supply-case", nullptr},
    {"supply-size", [](Design& d) -> double& { return d.data.supplySize; }},
    {"inlet", [](Design& d) -> double& { return d.data.oilInletTemp; }},
    {"alpha-shaft", [](Design& d) -> double& { return d.data.alphaShaft; }},
    {"alpha-bearing", [](Design& d) -> double& { return d.data.alphaBearing; }},
    {"temp-limit", [](Design& d) -> double& { return d.limits.outletTemp; }},
    {"load-limit", [](Design& d) -> double& { return d.limits.load; }},
};

bool setOption(Design& design, int option, double value) {
  if (VALUE_OPTIONS[option].field) {
    VALUE_OPTIONS[option].field(design) = value;
    return true;
  }
  // The SupplyCase values, and no other number.
  const bool valid = value == 1 || value == 2 || value == 3;
  if (valid) design.data.supplyCase = static_cast<int>(value);
  return valid;
}

namespace {

// A study has at most this many points, some minutes of work.
constexpr double MOST_POINTS = 1e7;

int findOption(const char* name, std::size_t length) {
  for (int i = 0; i < VALUE_OPTION_COUNT; ++i)
    if (std::strlen(VALUE_OPTIONS[i].name) == length &&
        std::strncmp(VALUE_OPTIONS[i].name, name, length) == 0)
      return i;
  return -1;
}

int usageError(const char* name, const char* what) {
  std::fprintf(stderr, "palimo-balance: %s %s\n", name, what);
  return 2;
}

// --- Case files -----------------------------------------------------------

// A line of a file without its line end (LF or CR LF); false at the end.
bool readLine(std::FILE* file, std::string& line, bool& binary) {
  line.clear();
  int c;
  while ((c = std::fgetc(file)) != EOF && c != '\n') {
    if (c == '\0') binary = true;
    line += static_cast<char>(c);
  }
  if (!line.empty() && line.back() == '\r') line.pop_back();
  return c != EOF || !line.empty();
}

// The fields of a CSV line, blanks and a pair of double quotes around each
// taken off.
std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> cells(1);
  for (const char c : line) {
    if (c == ',')
      cells.emplace_back();
    else
      cells.back() += c;
  }
  for (std::string& cell : cells) {
    const std::size_t begin = cell.find_first_not_of(" \t");
    const std::size_t end = cell.find_last_not_of(" \t");
    cell = begin == std::string::npos ? "" : cell.substr(begin, end - begin + 1);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"')
      cell = cell.substr(1, cell.size() - 2);
  }
  return cells;
}

// Reads the case file: a header of option names without the dashes, and a
// case a line. Blank lines are skipped; a cell left empty takes the command
// line's value.
int readCases(const char* path, Request& request) {
  const bool standardInput = std::strcmp(path, "-") == 0;
  const char* where = standardInput ? "standard input" : path;
  std::FILE* file = standardInput ? stdin : std::fopen(path, "rb");
  if (!file) {
    std::fprintf(stderr, "palimo-balance: %s: cannot be read\n", path);
    return 2;
  }
  std::string line;
  bool binary = false;
  long number = 0;
  std::vector<int> columns;  // the cell that each column fills
  int status = 0;
  while (status == 0 && readLine(file, line, binary)) {
    ++number;
    if (binary) {
      std::fprintf(stderr, "palimo-balance: %s: line %ld: no CSV (a zero byte)\n", where, number);
      status = 2;
    } else if (line.find_first_not_of(" \t") == std::string::npos) {
      continue;
    } else if (columns.empty()) {
      for (const std::string& name : fields(line)) {
        const int column = name == "direct" ? DIRECT_CELL : findOption(name.data(), name.size());
        const bool twice = std::find(columns.begin(), columns.end(), column) != columns.end();
        if (column < 0 || twice) {
          std::fprintf(stderr, "palimo-balance: %s: column '%s' %s\n", where, name.c_str(),
                       twice ? "comes twice" : "is no option (see --help)");
          status = 2;
          break;
        }
        columns.push_back(column);
      }
    } else {
      const std::vector<std::string> cells = fields(line);
      if (cells.size() != columns.size()) {
        std::fprintf(stderr, "palimo-balance: %s: line %ld has %zu fields, the header %zu\n", where,
                     number, cells.size(), columns.size());
        status = 2;
        break;
      }
      Case one;
      one.line = number;
      for (std::size_t i = 0; i < cells.size(); ++i) one.cells[columns[i]] = cells[i];
      request.cases.push_back(one);
    }
  }
  if (status == 0 && std::ferror(file)) {
    std::fprintf(stderr, "palimo-balance: %s: read error\n", where);
    status = 2;
  }
  if (status == 0 && columns.empty()) {
    std::fprintf(stderr, "palimo-balance: %s: no CSV (no header line)\n", where);
    status = 2;
  }
  if (!standardInput) std::fclose(file);
  for (const int column : columns) request.inCases[column] = true;
  return status;
}

}  // namespace

double Values::at(long i) const {
  if (i == 0) return first;
  if (i == count - 1) return last;
  return first + (last - first) * static_cast<double>(i) / static_cast<double>(count - 1);
}

bool parseValues(const char* text, Values& values) {
  const char* colon = std::strchr(text, ':');
  if (!colon) {
    values.count = 1;
    return parseNumber(text, values.first) && (values.last = values.first, true);
  }
  const char* second = std::strchr(colon + 1, ':');
  if (!second) return false;
  const std::string from(text, colon), to(colon + 1, second);
  int count = 0;
  if (!parseNumber(from.c_str(), values.first) || !parseNumber(to.c_str(), values.last) ||
      !parseNumber(second + 1, count) || count < 1)
    return false;
  values.count = count;
  return true;
}

namespace {

// Stores the value of the option at index, or its range for the study.
int takeValue(Request& request, int index, const char* value) {
  const char* name = VALUE_OPTIONS[index].name;
  Values values;
  if (!parseValues(value, values)) {
    std::fprintf(stderr, "palimo-balance: --%s: '%s' is no number and no range FROM:TO:COUNT\n",
                 name, value);
    return 2;
  }
  Design scratch;
  for (long i = 0; i < values.count; ++i)
    if (!setOption(scratch, index, values.at(i)))
      return usageError(("--" + std::string(name)).c_str(), "must be 1, 2 or 3");
  request.values[index] = values;
  std::vector<int>& ranged = request.ranged;
  for (std::size_t i = 0; i < ranged.size(); ++i)
    if (ranged[i] == index) ranged.erase(ranged.begin() + static_cast<long>(i));
  if (std::strchr(value, ':'))
    ranged.push_back(index);
  else
    setOption(request.base, index, values.first);
  return 0;
}

// Whether a flag, which takes no value, is the argument.
bool isFlag(const char* argument, const char* flag, bool& set) {
  if (std::strcmp(argument, flag) != 0) return false;
  set = true;
  return true;
}

}  // namespace

int readCommandLine(int argc, char** argv, Request& request) {
  bool direct = false;
  for (int i = 1; i < argc; ++i) {
    const char* argument = argv[i];
    if (isFlag(argument, "--help", request.help) || isFlag(argument, "--version", request.version))
      return 0;
    if (isFlag(argument, "--csv", request.csv) || isFlag(argument, "--direct", direct)) continue;
    // --NAME VALUE or --NAME=VALUE
    const char* equals = std::strchr(argument, '=');
    const std::string name = equals ? std::string(argument, equals) : std::string(argument);
    for (const char* flag : {"--help", "--version", "--csv", "--direct"})
      if (name == flag) return usageError(flag, "takes no value");
    const bool cases = name == "--cases";
    const int index = name.rfind("--", 0) == 0 ? findOption(name.c_str() + 2, name.size() - 2) : -1;
    if (!cases && index < 0) return usageError(name.c_str(), "is no option (see --help)");
    if (!equals && i + 1 == argc) return usageError(name.c_str(), "needs a value");
    const char* value = equals ? equals + 1 : argv[++i];
    if (cases)
      request.casesFile = value;
    else if (takeValue(request, index, value) != 0)
      return 2;
  }
  if (direct) request.base.data.epsMode = EPS_DIRECT;
  if (request.casesFile && readCases(request.casesFile, request) != 0) return 2;

  double points = request.cases.empty() ? 1 : static_cast<double>(request.cases.size());
  for (const int index : request.ranged) points *= static_cast<double>(request.values[index].count);
  if (points > MOST_POINTS) return usageError("a study", "of more than 10000000 points");
  const bool nu40 = request.values[0].count > 0 || request.inCases[0];
  const bool nu100 = request.values[1].count > 0 || request.inCases[1];
  if (!nu40) return usageError("--nu40", "is required: the viscosity at 40 C in mm2/s");
  if (!nu100) return usageError("--nu100", "is required: the viscosity at 100 C in mm2/s");
  if (request.isStudy()) return 0;
  const int wrongOil = oilFault(request.base.oil);
  if (wrongOil == 1) return usageError("--nu100", "must be above 0.3 mm2/s");
  if (wrongOil == 0) return usageError("--nu40", "must be above --nu100");
  return 0;
}

int oilFault(const Oil& oil) {
  if (!(oil.nu100 > LOWEST_VISCOSITY)) return 1;
  if (!(oil.nu40 > oil.nu100)) return 0;
  return -1;
}
