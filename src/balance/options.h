// palimo-balance's options in one table: for each its name, the field of
// the design it sets, its unit, its default, its help and its CSV column.
// The command line, the case files, --help, the CSV and the page's form all
// read it.
#pragma once

#include <cstddef>
#include <string>

#include "balance/design.h"

// The options by name, in the table's order (that of --help and the page).
namespace opt {
enum Id : int {
  NU40,
  NU100,
  GRADE,
  VI,
  DENSITY,
  LOAD,
  SPEED,
  DIAMETER,
  WIDTH,
  CLEARANCE,
  FIT,
  BORE,
  LOBES,
  LOBE_ARC,
  PRELOAD,
  OFFSET,
  LOBE_ANGLE,
  SUPPLY_PRESSURE,
  SUPPLY_CASE,
  SUPPLY_SIZE,
  INLET,
  ALPHA_SHAFT,
  ALPHA_BEARING,
  DIRECT,
  COOLING,
  AMBIENT,
  HOUSING_AREA,
  HEAT_TRANSFER,
  H0_LIMIT,
  TEMP_LIMIT,
  LOAD_LIMIT,
  COEFFICIENTS,
  THRESHOLD_SPEED,
  ROTOR_MASS,
};
}  // namespace opt
constexpr int OPTION_COUNT = opt::ROTOR_MASS + 1;

// What an option's value is: a real, a whole number that takes firstChoice
// ... lastChoice only, a flag (no value on the command line; 0 or 1 in a
// case file), or a text (a fit, the cooling) that takes no range.
enum class Kind { NUMBER, CHOICE, FLAG, TEXT };

// Where --help and the page show an option.
enum class OptionGroup { OIL, BEARING, LIMITS, ROTOR };

// An option whose value is a text: how it is read and shown.
struct TextField {
  // Sets the text; false, with the reason, where the option does not take it.
  bool (*set)(Design& design, const std::string& text, Reason* why);
  std::string (*get)(const Design& design);
  const char* choices;  // the words it takes, blank-separated; "" for any text
  const char* example;  // a value as the page shows it in an empty field
};

struct Option {
  const char* name;       // --name on the command line; its column in a case file
  const char* column;     // its column in the CSV
  const char* label;      // on the page and in German messages, with symbol and unit
  const char* valueName;  // in --help: --name VALUE
  const char* help;       // in --help, before the unit
  const char* unit;       // "" where it has none; "C" marks a temperature
  OptionGroup group;
  Kind kind;
  double& (*number)(Design& design);      // NUMBER
  int& (*choice)(Design& design);         // CHOICE
  int firstChoice, lastChoice;            // CHOICE; FLAG: 0 and 1
  bool (*isOn)(const Design& design);     // FLAG
  void (*turn)(Design& design, bool on);  // FLAG
  const TextField* text;                  // TEXT
  // Where it has no default, what to give ("is required: ..."); nullptr
  // where it has one. Given the option that stands in for it, it is not
  // required.
  const char* whenMissing;
  // The option it stands in for, which it gives (a fit the clearance, a
  // grade nu40), and how ("the fit gives the clearance"); -1 and nullptr
  // for none. The two exclude each other.
  int standsFor;
  const char* gives;
  bool required() const { return whenMissing != nullptr; }
};

extern const Option OPTIONS[OPTION_COUNT];

// A study has at most this many points by its ranges, some minutes of work.
constexpr long MOST_STUDY_POINTS = 10000000;

// The most threads a study runs (--jobs): more than the cores of the
// machines it runs on, few enough that their stacks fit any of them.
constexpr long MOST_JOBS = 256;

// The option of that name (not NUL-terminated), or -1: for the command
// line's and the case file's words only.
int findOption(const char* name, std::size_t length);
int findOption(const std::string& name);

// An option's value in a design, as a double; not a number for a text.
double optionValue(const Design& design, int option);

// An option's value as a CSV cell or the page shows it: a text as it
// stands, a number as %.10g prints it, "" where it has none.
std::string optionText(const Design& design, int option);

// Sets an option's value; false for a value that a choice or a flag does
// not take, and for a text option.
bool setOption(Design& design, int option, double value);

// The text without the blanks and tabs around it.
std::string withoutBlanksAround(const std::string& text);

// Sets an option from its text as given, blanks around it dropped: a
// finite number, or a text option's text. False, with the reason, where the
// option does not take it; a number that is no number gives
// NO_NUMBER_OR_RANGE.
bool setOptionText(Design& design, int option, const std::string& text, Reason* why);

// The text of --help, with every default read from the data set.
std::string usageText();

// The table as JSON for the page: each option's name, column, label, unit,
// group,
// start value (its default as --help prints it, "" where it has none),
// help, whether it is a flag, required or a text (with an example), the
// option it stands in for ("" for none), and its choices.
std::string optionTableJson();
