// palimo-balance's command line: the bearing, the oil and the limits, each
// value one number or a range FROM:TO:COUNT, and the cases of a CSV file.
#pragma once

#include <string>
#include <vector>

#include "calc/checks.h"
#include "calc/heat_balance.h"
#include "data/bearing_data.h"

// Everything one point of a study is calculated for.
struct Design {
  BearingData data = defaultBearingData();
  Oil oil;
  Limits limits = noLimits();
};

// An option that takes a number, by its name without the dashes, which is
// also its column in a case file, and the field it sets.
struct ValueOption {
  const char* name;
  double& (*field)(Design& design);
};
constexpr int VALUE_OPTION_COUNT = 17;
extern const ValueOption VALUE_OPTIONS[VALUE_OPTION_COUNT];

// Sets an option's value; false for a value that the option does not take
// (a supply case other than 1, 2 or 3).
bool setOption(Design& design, int option, double value);

// The values an option takes: count evenly spaced ones from first to last,
// both included; one value where count is 1.
struct Values {
  double first = 0;
  double last = 0;
  long count = 0;  // 0: not given
  double at(long i) const;
};

// Reads "NUMBER" or "FROM:TO:COUNT"; false if the text is neither.
bool parseValues(const char* text, Values& values);

// One case of a case file: its cells by option, then the cell of the
// eccentricity mode ("direct", 0 or 1); empty where not given.
struct Case {
  std::string cells[VALUE_OPTION_COUNT + 1];
  long line = 0;  // in the file
};
constexpr int DIRECT_CELL = VALUE_OPTION_COUNT;

struct Request {
  Design base;
  Values values[VALUE_OPTION_COUNT];  // by option, as given on the command line
  std::vector<int> ranged;            // the options given as ranges, in the order given
  const char* casesFile = nullptr;
  std::vector<Case> cases;
  bool inCases[VALUE_OPTION_COUNT + 1] = {};  // the columns of the case file
  bool csv = false;
  bool help = false;
  bool version = false;
  // A study: a range, or a case file; it prints CSV, one row a point.
  bool isStudy() const { return !ranged.empty() || casesFile; }
};

// Walther's law takes the logarithm of log10(nu + 0.7): nu must exceed 0.3.
constexpr double LOWEST_VISCOSITY = 0.3;  // mm2/s

// The option of the viscosity that the law cannot take (0 nu40, not above
// nu100; 1 nu100, not above LOWEST_VISCOSITY), or -1.
int oilFault(const Oil& oil);

// Reads the command line, and the case file it names. Returns 0, or 2 after
// a line on standard error that names what is wrong.
int readCommandLine(int argc, char** argv, Request& request);
