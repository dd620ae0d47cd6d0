// palimo-balance's options in one table: for each its name, the field it
// sets, its unit, its default, its help and its CSV column. The command
// line, the case files, --help, the CSV and the page's form all read it.
#pragma once

#include <cstddef>
#include <string>

#include "calc/checks.h"
#include "calc/heat_balance.h"
#include "data/bearing_data.h"

// Everything one point of a study is calculated for.
struct Design {
  BearingData data = defaultBearingData();
  Oil oil;
  Limits limits = noLimits();
  std::string fit;  // BORE/SHAFT, whose band gives the clearance; "" without one
  Cooling cooling;
  int coefficients = 0;  // 1: the rotor's stiffness and damping at the balanced point
};

// An option whose value is a word or a text: how it is read and shown.
struct TextField {
  // Sets the text; returns nullptr, or why the option does not take it.
  const char* (*set)(Design& design, const std::string& text);
  std::string (*get)(const Design& design);
  const char* choices;  // the words it takes, blank-separated; "" for any text
};

// Where --help and the page show an option.
enum class OptionGroup { OIL, BEARING, LIMITS, ROTOR };

// One option. Exactly one of number, choice and text is set: a real field,
// a whole-number field that takes firstChoice ... lastChoice only, or a
// text (a fit, the cooling) that takes no range.
struct Option {
  const char* name;       // --name on the command line; its column in a case file
  const char* column;     // its column in the CSV
  const char* valueName;  // in --help: --name VALUE
  const char* help;       // in --help, before the unit
  const char* unit;       // "" where it has none
  double& (*number)(Design& design);
  int& (*choice)(Design& design);
  int firstChoice;
  int lastChoice;
  // Where it has no default: the message when neither the command line nor
  // the case file gives it; nullptr where it has one.
  const char* required;
  OptionGroup group;
  // A flag on the command line (--direct, no value, no range); a column of
  // its choice in a case file.
  bool flag;
  const TextField* text;
};

constexpr int OPTION_COUNT = 24;
extern const Option OPTIONS[OPTION_COUNT];

// The option of that name (not NUL-terminated), or -1.
int findOption(const char* name, std::size_t length);
int findOption(const std::string& name);

// An option's value in a design, as a double; not a number for a text.
double optionValue(const Design& design, int option);

// An option's value as a CSV cell or the page shows it: a text as it
// stands, a number as %.10g prints it, "" where it has none.
std::string optionText(const Design& design, int option);

// A value as its CSV cell gives it back: rounded to the ten digits of
// %.10g.
double asPrinted(double value);

// Sets an option's value; false for a value that a choice does not take,
// and for a text option.
bool setOption(Design& design, int option, double value);

// Why a number that overflows a double is no value of any option.
extern const char NOT_FINITE[];

// The text without the blanks and tabs around it.
std::string withoutBlanksAround(const std::string& text);

// Sets an option from its text as given, blanks around it dropped: a
// finite number, or a text option's text. Returns nullptr, or why the
// option does not take it.
const char* setOptionText(Design& design, int option, const std::string& text);

// The text of --help, with every default read from the data set.
std::string usageText();

// The table as JSON for the page: each option's name, column, unit, group,
// start value (its default as --help prints it, "" where it has none),
// help, and its choices or whether it is a flag.
const char* optionTableJson();

// Walther's law takes the logarithm of log10(nu + 0.7): nu must exceed 0.3.
constexpr double LOWEST_VISCOSITY = 0.3;  // mm2/s

// The option whose value lies outside what the closed forms and the
// viscosity law can take, with why in a few words ("must be above ..."),
// or -1.
int refusedValue(const Design& design, const char** why);
