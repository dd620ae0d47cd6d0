// The table of palimo-balance's options, and what is read off it: the help
// text, the page's copy, and the values a design takes.
#include "balance/options.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "balance/fit.h"
#include "text/numeral.h"

namespace {

constexpr double KELVIN = 273.15;      // 0 C in K
constexpr double HIGHEST_TEMP = 1e15;  // C

using G = OptionGroup;
constexpr auto NO_NUMBER = nullptr;
constexpr auto NO_CHOICE = nullptr;
constexpr const char* OPTIONAL = nullptr;
constexpr auto NO_TEXT = nullptr;

const char* const COOLING_WORDS[] = {"oil", "housing", "both"};  // by CoolingMode

const TextField FIT = {[](Design& d, const std::string& text) -> const char* {
                         Fit fit;
                         if (const char* wrong = parseFit(text, fit)) return wrong;
                         d.fit = text;
                         return nullptr;
                       },
                       [](const Design& d) { return d.fit; }, ""};

const TextField COOLING = {
    [](Design& d, const std::string& text) -> const char* {
      for (int mode = 0; mode < 3; ++mode)
        if (text == COOLING_WORDS[mode]) {
          d.cooling.mode = static_cast<CoolingMode>(mode);
          return nullptr;
        }
      return "is no cooling: oil, housing or both";
    },
    [](const Design& d) { return std::string(COOLING_WORDS[static_cast<int>(d.cooling.mode)]); },
    "oil housing both"};

}  // namespace

// In the order of --help and the page.
const Option OPTIONS[OPTION_COUNT] = {
    {"nu40", "nu40", "NU", "kinematic viscosity at 40 C", "mm2/s",
     [](Design& d) -> double& { return d.oil.nu40; }, NO_CHOICE, 0, 0,
     "is required: the viscosity at 40 C in mm2/s", G::OIL, false, NO_TEXT},
    {"nu100", "nu100", "NU", "kinematic viscosity at 100 C", "mm2/s",
     [](Design& d) -> double& { return d.oil.nu100; }, NO_CHOICE, 0, 0,
     "is required: the viscosity at 100 C in mm2/s", G::OIL, false, NO_TEXT},
    {"density", "density15", "RHO", "density at 15 C", "g/cm3",
     [](Design& d) -> double& { return d.oil.density15; }, NO_CHOICE, 0, 0, OPTIONAL, G::OIL, false,
     NO_TEXT},
    {"load", "load", "F", "", "N", [](Design& d) -> double& { return d.data.load; }, NO_CHOICE, 0,
     0, OPTIONAL, G::BEARING, false, NO_TEXT},
    {"speed", "speed", "N", "", "1/min", [](Design& d) -> double& { return d.data.speed; },
     NO_CHOICE, 0, 0, OPTIONAL, G::BEARING, false, NO_TEXT},
    {"diameter", "diameter", "D", "", "mm", [](Design& d) -> double& { return d.data.diameter; },
     NO_CHOICE, 0, 0, OPTIONAL, G::BEARING, false, NO_TEXT},
    {"width", "width", "B", "", "mm", [](Design& d) -> double& { return d.data.width; }, NO_CHOICE,
     0, 0, OPTIONAL, G::BEARING, false, NO_TEXT},
    {"clearance", "clearance", "S", "diametral clearance at 20 C", "mm",
     [](Design& d) -> double& { return d.data.clearance; }, NO_CHOICE, 0, 0, OPTIONAL, G::BEARING,
     false, NO_TEXT},
    {"fit", "fit", "FIT",
     "bore and shaft, BORE/SHAFT: an ISO 286 class each\n"
     "                        (H5 ... H11 / d5 ... h11, say H7/f7) or its limit\n"
     "                        deviations in um, LOWER..UPPER (0..25/-50..-25);\n"
     "                        the smallest, mean and largest clearance instead\n"
     "                        of --clearance",
     "", NO_NUMBER, NO_CHOICE, 0, 0, OPTIONAL, G::BEARING, false, &FIT},
    {"supply-pressure", "supplyPressure", "P", "", "bar",
     [](Design& d) -> double& { return d.data.supplyPressure; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"supply-case", "supplyCase", "K",
     "1 hole opposite the load, 2 hole at 90 degrees,\n"
     "                        3 circumferential groove",
     "", NO_NUMBER, [](Design& d) -> int& { return d.data.supplyCase; }, SUPPLY_HOLE_OPPOSITE,
     SUPPLY_GROOVE, OPTIONAL, G::BEARING, false, NO_TEXT},
    {"supply-size", "supplySize", "S", "hole diameter or groove width", "mm",
     [](Design& d) -> double& { return d.data.supplySize; }, NO_CHOICE, 0, 0, OPTIONAL, G::BEARING,
     false, NO_TEXT},
    {"inlet", "oilInletTemp", "T", "oil inlet temperature", "C",
     [](Design& d) -> double& { return d.data.oilInletTemp; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"alpha-shaft", "alphaShaft", "A", "expansion coefficient of the shaft", "1/K",
     [](Design& d) -> double& { return d.data.alphaShaft; }, NO_CHOICE, 0, 0, OPTIONAL, G::BEARING,
     false, NO_TEXT},
    {"alpha-bearing", "alphaBearing", "A", "expansion coefficient of the bearing", "1/K",
     [](Design& d) -> double& { return d.data.alphaBearing; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"direct", "epsMode", "", "the eccentricity by the direct approximation", "", NO_NUMBER,
     [](Design& d) -> int& { return d.data.epsMode; }, EPS_ITERATIVE, EPS_DIRECT, OPTIONAL,
     G::BEARING, true, NO_TEXT},
    {"cooling", "cooling", "HOW",
     "how the friction heat leaves: oil, by the oil\n"
     "                        flowing through; housing, by the housing to the\n"
     "                        air; both",
     "", NO_NUMBER, NO_CHOICE, 0, 0, OPTIONAL, G::BEARING, false, &COOLING},
    {"ambient", "ambientTemp", "T", "air temperature around the housing", "C",
     [](Design& d) -> double& { return d.cooling.ambientTemp; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"housing-area", "housingArea", "A",
     "surface of the housing that gives heat off (needed\n"
     "                        with housing and both)",
     "m2", [](Design& d) -> double& { return d.cooling.housingArea; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"heat-transfer", "heatTransfer", "K", "its heat transfer coefficient", "W/(m2 K)",
     [](Design& d) -> double& { return d.cooling.heatTransfer; }, NO_CHOICE, 0, 0, OPTIONAL,
     G::BEARING, false, NO_TEXT},
    {"h0-limit", "h0Limit", "H", "smallest permissible film thickness", "mm",
     [](Design& d) -> double& { return d.data.h0Limit; }, NO_CHOICE, 0, 0, OPTIONAL, G::LIMITS,
     false, NO_TEXT},
    {"temp-limit", "tempLimit", "T", "highest outlet temperature", "C",
     [](Design& d) -> double& { return d.limits.outletTemp; }, NO_CHOICE, 0, 0, OPTIONAL, G::LIMITS,
     false, NO_TEXT},
    {"load-limit", "loadLimit", "P", "highest specific load", "N/mm2",
     [](Design& d) -> double& { return d.limits.load; }, NO_CHOICE, 0, 0, OPTIONAL, G::LIMITS,
     false, NO_TEXT},
    {"coefficients", "coefficients", "",
     "the film's eight stiffness and damping coefficients\n"
     "                        (Reynolds equation, 360 degrees) and the\n"
     "                        stability threshold of a rigid rotor",
     "", NO_NUMBER, [](Design& d) -> int& { return d.coefficients; }, 0, 1, OPTIONAL, G::ROTOR,
     true, NO_TEXT},
};

int findOption(const char* name, std::size_t length) {
  for (int i = 0; i < OPTION_COUNT; ++i)
    if (std::strlen(OPTIONS[i].name) == length && std::strncmp(OPTIONS[i].name, name, length) == 0)
      return i;
  return -1;
}

int findOption(const std::string& name) { return findOption(name.data(), name.size()); }

double optionValue(const Design& design, int option) {
  // The accessors take a design to write; reading one changes nothing.
  Design& d = const_cast<Design&>(design);
  const Option& o = OPTIONS[option];
  if (o.number) return o.number(d);
  if (o.choice) return o.choice(d);
  return NAN;  // a text
}

std::string optionText(const Design& design, int option) {
  if (OPTIONS[option].text) return OPTIONS[option].text->get(design);
  const double value = optionValue(design, option);
  if (std::isnan(value)) return "";
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

double asPrinted(double value) {
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  const double printed = std::strtod(text, nullptr);
  return std::isfinite(printed) ? printed : value;  // near the largest double, ten digits overflow
}

bool setOption(Design& design, int option, double value) {
  const Option& o = OPTIONS[option];
  if (o.text) return false;
  if (o.number) {
    o.number(design) = value;
    return true;
  }
  for (int choice = o.firstChoice; choice <= o.lastChoice; ++choice)
    if (value == choice) {
      o.choice(design) = choice;
      return true;
    }
  return false;
}

const char NOT_FINITE[] = "is beyond the largest number, 1.8e308";

std::string withoutBlanksAround(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

const char* setOptionText(Design& design, int option, const std::string& given) {
  const Option& o = OPTIONS[option];
  const std::string text = withoutBlanksAround(given);
  if (o.text) return o.text->set(design, text);
  double value = 0;
  if (!parseNumber(text.c_str(), value)) return "is no number";
  if (!std::isfinite(value)) return NOT_FINITE;
  return setOption(design, option, value) ? nullptr : "is no choice of the option";
}

namespace {

// An option's value in the default design, as %g prints it; "" where it
// has none (a limit not checked).
std::string startText(int option) {
  if (OPTIONS[option].text) return OPTIONS[option].text->get(Design());
  const double value = optionValue(Design(), option);
  if (OPTIONS[option].required || std::isnan(value)) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// An option's default as --help states it; "" for a flag.
std::string defaultText(int option) {
  const Option& o = OPTIONS[option];
  if (o.required) return "required";
  if (o.flag) return "";
  if (o.text) return startText(option);
  // A limit without a default is not checked; another option, such as the
  // housing's area, says in its help when it is needed.
  const std::string start = startText(option);
  return start.empty() && o.group == G::LIMITS ? "not checked" : start;
}

const char USAGE_HEAD[] =
    "Usage: palimo-balance --nu40 NU --nu100 NU [--OPTION VALUE]... [--direct] [--csv]\n"
    "       palimo-balance ... --OPTION FROM:TO:COUNT ... | --cases FILE\n"
    "Closes the heat balance of a hydrodynamic radial plain bearing (DIN 31652)\n"
    "with the oil's viscosity at the film temperature (Ubbelohde-Walther), and\n"
    "checks the balanced point against its limits.\n"
    "\n";
const char* const GROUP_HEADINGS[] = {
    "The oil:\n",
    "The bearing, in palimo's units and with its defaults:\n",
    "The limits, checked at the balanced point:\n",
    "The rotor, at the balanced point:\n",
};
const char USAGE_TAIL[] =
    "The laminar flow of palimo's Reynolds condition is always checked.\n"
    "\n"
    "A study, printed as CSV with a row a point and its status:\n"
    "  --OPTION FROM:TO:COUNT  COUNT evenly spaced values, both ends included;\n"
    "                        several ranges give every combination, the\n"
    "                        first varying slowest\n"
    "  --cases FILE          a case a line of a CSV file ('-' standard input),\n"
    "                        its header naming options without the dashes;\n"
    "                        an option not in the file is the command line's\n"
    "\n"
    "  --csv                 a header line and one line of values\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "Any --OPTION VALUE may be written --OPTION=VALUE. Numbers are written with a\n"
    "decimal point. Status: 0 balanced, or a study run; 1 no balance (or B/D\n"
    "outside 0.125 ... 1); 2 a wrong command line or case file.\n";

const char* groupName(OptionGroup group) {
  const char* const names[] = {"oil", "bearing", "limits", "rotor"};
  return names[static_cast<int>(group)];
}

// A text as a JSON string: the table's texts are ASCII, with line ends.
std::string quoted(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '\n')
      json += "\\n";
    else if (c == '"' || c == '\\')
      json += std::string("\\") + c;
    else
      json += c;
  }
  return json + "\"";
}

}  // namespace

std::string usageText() {
  std::string text = USAGE_HEAD;
  for (int i = 0; i < OPTION_COUNT; ++i) {
    const Option& o = OPTIONS[i];
    if (i == 0 || o.group != OPTIONS[i - 1].group)
      text += GROUP_HEADINGS[static_cast<int>(o.group)];
    std::string call = std::string("--") + o.name + (o.flag ? "" : " ") + o.valueName;
    call.resize(call.size() < 22 ? 22 : call.size() + 1, ' ');
    std::string what = o.help;
    if (*o.help && *o.unit) what += ", ";
    what += o.unit;
    const std::string byDefault = defaultText(i);
    if (!byDefault.empty()) what += " (" + byDefault + ")";
    text.append("  ").append(call).append(what).append("\n");
  }
  return text + USAGE_TAIL;
}

const char* optionTableJson() {
  static std::string json;
  if (!json.empty()) return json.c_str();
  json = "[";
  for (int i = 0; i < OPTION_COUNT; ++i) {
    const Option& o = OPTIONS[i];
    json += std::string(i ? ",\n" : "") + "{\"name\":" + quoted(o.name) +
            ",\"column\":" + quoted(o.column) + ",\"unit\":" + quoted(o.unit) +
            ",\"group\":" + quoted(groupName(o.group)) + ",\"start\":" + quoted(startText(i)) +
            ",\"help\":" + quoted(o.help) + ",\"flag\":" + (o.flag ? "true" : "false") +
            ",\"required\":" + (o.required ? "true" : "false") + ",\"choices\":[";
    for (int c = o.firstChoice; o.choice && c <= o.lastChoice; ++c)
      json += (c > o.firstChoice ? "," : "") + std::to_string(c);
    std::string words = o.text ? o.text->choices : "";
    for (std::size_t at = 0; !words.empty(); at = 0) {
      const std::size_t blank = words.find(' ');
      json += (json.back() == '[' ? "" : ",") + quoted(words.substr(at, blank));
      words = blank == std::string::npos ? "" : words.substr(blank + 1);
    }
    json += "]}";
  }
  json += "]";
  return json.c_str();
}

int refusedValue(const Design& design, const char** why) {
  const Oil& oil = design.oil;
  const BearingData& data = design.data;
  // Every temperature of the table, by its unit: none lies below absolute
  // zero, and above 1e15 C the search's 250 K hold too few doubles (one
  // every 0.125 K there) to search.
  for (int i = 0; i < OPTION_COUNT; ++i) {
    if (std::strcmp(OPTIONS[i].unit, "C") != 0) continue;
    const double temp = optionValue(design, i);
    if (temp < -KELVIN) *why = "must not lie below absolute zero, -273.15 C";
    if (temp > HIGHEST_TEMP) *why = "must be at most 1e15 C";
    if (temp < -KELVIN || temp > HIGHEST_TEMP) return i;
  }
  // A clearance not above zero at 20 C is a shaft seized in its bore.
  if (design.fit.empty() && !(data.clearance > 0)) {
    *why = "must be above 0 mm: at 20 C the shaft would be seized in its bore";
    return findOption("clearance");
  }
  if (!(oil.nu100 > LOWEST_VISCOSITY)) {
    *why = "must be above 0.3 mm2/s";
    return findOption("nu100");
  }
  if (!(oil.nu40 > oil.nu100)) {
    *why = "must be above --nu100";
    return findOption("nu40");
  }
  // The pressure flow's closed forms take a supply element narrower than
  // the bearing (log(B/dH), B - bG) and oil pushed in, not drawn out: else
  // the oil flow can change its sign, where the heat balance has a pole.
  if (data.supplyPressure < 0) {
    *why = "must not be negative";
    return findOption("supply-pressure");
  }
  if (data.supplySize >= data.width) {
    *why = "must be below --width: the hole or groove lies inside the bearing";
    return findOption("supply-size");
  }
  // The housing's heat flow K A (T - T_amb) needs a surface and a
  // coefficient above zero.
  const Cooling& cooling = design.cooling;
  if (cooling.mode != CoolingMode::OIL && !(cooling.housingArea > 0)) {
    *why = "must be given, above 0 m2, with --cooling housing or both";
    return findOption("housing-area");
  }
  if (!(cooling.heatTransfer > 0)) {
    *why = "must be above 0 W/(m2 K)";
    return findOption("heat-transfer");
  }
  return -1;
}
