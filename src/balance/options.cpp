// The table of palimo-balance's options, and what is read off it: the help
// text, the page's copy, and the values a design takes.
#include "balance/options.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <iterator>

#include "balance/fit.h"
#include "calc/viscosity_index.h"
#include "text/numeral.h"

namespace {

using G = OptionGroup;

const char* const COOLING_WORDS[] = {"oil", "housing", "both"};  // by CoolingMode

const TextField FIT_TEXT = {[](Design& d, const std::string& text, Reason* why) {
                              Fit fit;
                              if (!parseFit(text, fit, why)) return false;
                              d.fit = text;
                              return true;
                            },
                            [](const Design& d) { return d.fit; }, "", "H7/f7"};

// "VG46" or "46" (any case): an ISO 3448 grade, whose midpoint is nu40.
const TextField GRADE_TEXT = {
    [](Design& d, const std::string& text, Reason* why) {
      const bool vg = text.size() > 2 && (text[0] == 'V' || text[0] == 'v') &&
                      (text[1] == 'G' || text[1] == 'g');
      int grade = 0;
      const double midpoint =
          parseNumber(text.c_str() + (vg ? 2 : 0), grade) ? gradeMidpoint(grade) : NAN;
      if (std::isnan(midpoint)) {
        *why = Reason::NO_ISO_GRADE;
        return false;
      }
      d.grade = "VG" + std::to_string(grade);
      d.oil.nu40 = midpoint;
      return true;
    },
    [](const Design& d) { return d.grade; }, "", "VG46"};

const TextField COOLING_TEXT = {
    [](Design& d, const std::string& text, Reason* why) {
      for (int mode = 0; mode < 3; ++mode)
        if (text == COOLING_WORDS[mode]) {
          d.cooling.mode = static_cast<CoolingMode>(mode);
          return true;
        }
      *why = Reason::NO_COOLING;
      return false;
    },
    [](const Design& d) { return std::string(COOLING_WORDS[static_cast<int>(d.cooling.mode)]); },
    "oil housing both", "oil"};

const TextField BORE_TEXT = {[](Design& d, const std::string& text, Reason* why) {
                               if (!findBore(text.c_str())) {
                                 *why = Reason::NO_BORE_TYPE;
                                 return false;
                               }
                               d.boreName = text;
                               return true;
                             },
                             [](const Design& d) { return d.boreName; },
                             "plain two-groove partial lemon three-lobe four-lobe offset-halves",
                             "plain"};

// The rows by kind: NAME, CSV COLUMN, VALUE in --help, HELP, UNIT, GROUP,
// and the design's field that it sets.
// clang-format off
#define NUMBER(name, column, label, value, help, unit, group, field)                            \
  {name, column, label, value, help, unit, group, Kind::NUMBER,                                 \
   [](Design& d) -> double& { return d.field; }, nullptr, 0, 0, nullptr, nullptr,        \
   nullptr, nullptr, -1, nullptr}
#define REQUIRED(name, column, label, value, help, unit, group, field, missing)                 \
  {name, column, label, value, help, unit, group, Kind::NUMBER,                                 \
   [](Design& d) -> double& { return d.field; }, nullptr, 0, 0, nullptr, nullptr,        \
   nullptr, missing, -1, nullptr}
#define STANDS_IN(name, column, label, value, help, unit, group, field, standsFor, gives)       \
  {name, column, label, value, help, unit, group, Kind::NUMBER,                                 \
   [](Design& d) -> double& { return d.field; }, nullptr, 0, 0, nullptr, nullptr,        \
   nullptr, nullptr, opt::standsFor, gives}
#define CHOICE(name, column, label, value, help, group, field, first, last)                    \
  {name, column, label, value, help, "", group, Kind::CHOICE,                                   \
   nullptr, [](Design& d) -> int& { return d.field; }, first, last, nullptr, nullptr,    \
   nullptr, nullptr, -1, nullptr}
#define FLAG(name, column, label, help, group, on, turnOn)                                      \
  {name, column, label, "", help, "", group, Kind::FLAG,                                        \
   nullptr, nullptr, 0, 1, [](const Design& d) { return on; },                           \
   [](Design& d, bool set) { turnOn; }, nullptr, nullptr, -1, nullptr}
#define TEXT(name, column, label, value, help, group, field, standsFor, gives)                  \
  {name, column, label, value, help, "", group, Kind::TEXT,                                     \
   nullptr, nullptr, 0, 0, nullptr, nullptr, &(field), nullptr, standsFor, gives}
// clang-format on

}  // namespace

// In the order of --help and the page, the order of opt::Id.
const Option OPTIONS[] = {
    REQUIRED("nu40", "nu40", "Viskositaet nu40 bei 40 C [mm2/s]", "NU",
             "kinematic viscosity at 40 C", "mm2/s", G::OIL, oil.nu40,
             "is required: the viscosity at 40 C in mm2/s"),
    REQUIRED("nu100", "nu100", "Viskositaet nu100 bei 100 C [mm2/s]", "NU",
             "kinematic viscosity at 100 C", "mm2/s", G::OIL, oil.nu100,
             "is required: the viscosity at 100 C in mm2/s"),
    TEXT("grade", "grade", "Viskositaetsklasse ISO VG", "VG",
         "ISO 3448 viscosity grade, VG2 ... VG3200, instead\n"
         "                        of --nu40: nu40 is its midpoint",
         G::OIL, GRADE_TEXT, opt::NU40, "the grade gives nu40"),
    STANDS_IN("vi", "viscosityIndex", "Viskositaetsindex VI", "VI",
              "viscosity index instead of --nu100: nu100 by\n"
              "                        ASTM D2270 (ISO 2909)",
              "", G::OIL, vi, NU100, "the viscosity index gives nu100"),
    NUMBER("density", "density15", "Dichte rho15 bei 15 C [g/cm3]", "RHO", "density at 15 C",
           "g/cm3", G::OIL, oil.density15),
    NUMBER("load", "load", "Last F [N]", "F", "", "N", G::BEARING, data.load),
    NUMBER("speed", "speed", "Drehzahl n [1/min]", "N", "", "1/min", G::BEARING, data.speed),
    NUMBER("diameter", "diameter", "Durchmesser D [mm]", "D", "", "mm", G::BEARING, data.diameter),
    NUMBER("width", "width", "Breite B [mm]", "B", "", "mm", G::BEARING, data.width),
    NUMBER("clearance", "clearance", "Lagerspiel s bei 20 C [mm]", "S",
           "diametral clearance at 20 C", "mm", G::BEARING, data.clearance),
    TEXT("fit", "fit", "Passung", "FIT",
         "bore and shaft, BORE/SHAFT: an ISO 286 class each\n"
         "                        (H5 ... H11 / d5 ... h11, say H7/f7) or its limit\n"
         "                        deviations in um, LOWER..UPPER (0..25/-50..-25);\n"
         "                        the smallest, mean and largest clearance instead\n"
         "                        of --clearance",
         G::BEARING, FIT_TEXT, opt::CLEARANCE, "the fit gives the clearance"),
    TEXT("bore", "bore", "Bohrungsform", "NAME",
         "plain (DIN 31652's closed forms), or by the film\n"
         "                        of its lobes: two-groove, partial, lemon,\n"
         "                        three-lobe, four-lobe, offset-halves; each value\n"
         "                        below overrides the name's",
         G::BEARING, BORE_TEXT, -1, nullptr),
    NUMBER("lobes", "lobes", "Segmente N", "N", "lobes, 1 ... 6, an axial groove between two", "",
           G::BEARING, lobes),
    NUMBER("lobe-arc", "lobeArc", "Segmentbogen Omega [Grad]", "DEG",
           "each lobe's arc, at most 360/N", "degree", G::BEARING, lobeArc),
    NUMBER("preload", "preload", "Vorspannung m", "M",
           "preload, 0 <= m < 1: the clearance given is the\n"
           "                        assembled one, the lobes' own over 1 - m",
           "", G::BEARING, preload),
    NUMBER("offset", "offset", "Versatz a", "A",
           "where on the lobe its centre of curvature lies,\n"
           "                        0 ... 1, 0.5 symmetric",
           "", G::BEARING, offset),
    NUMBER("lobe-angle", "lobeAngle", "Lage Segment 0 theta0 [Grad]", "DEG",
           "lobe 0's middle from the load, in the sense of\n"
           "                        rotation",
           "degree", G::BEARING, lobeAngle),
    NUMBER("supply-pressure", "supplyPressure", "Zulaufdruck p_en [bar]", "P", "", "bar",
           G::BEARING, data.supplyPressure),
    CHOICE("supply-case", "supplyCase", "Oelzufuehrung", "K",
           "1 hole opposite the load, 2 hole at 90 degrees,\n"
           "                        3 circumferential groove",
           G::BEARING, data.supplyCase, SUPPLY_HOLE_OPPOSITE, SUPPLY_GROOVE),
    NUMBER("supply-size", "supplySize", "Bohrung oder Nut d_L [mm]", "S",
           "hole diameter or groove width", "mm", G::BEARING, data.supplySize),
    NUMBER("inlet", "oilInletTemp", "Zulauftemperatur T_en [C]", "T", "oil inlet temperature", "C",
           G::BEARING, data.oilInletTemp),
    NUMBER("alpha-shaft", "alphaShaft", "Ausdehnung Welle alpha_W [1/K]", "A",
           "expansion coefficient of the shaft", "1/K", G::BEARING, data.alphaShaft),
    NUMBER("alpha-bearing", "alphaBearing", "Ausdehnung Lager alpha_L [1/K]", "A",
           "expansion coefficient of the bearing", "1/K", G::BEARING, data.alphaBearing),
    FLAG("direct", "epsMode", "Exzentrizitaet", "the eccentricity by the direct approximation",
         G::BEARING, d.data.epsMode == EPS_DIRECT,
         d.data.epsMode = set ? EPS_DIRECT : EPS_ITERATIVE),
    TEXT("cooling", "cooling", "Kuehlung", "HOW",
         "how the friction heat leaves: oil, by the oil\n"
         "                        flowing through; housing, by the housing to the\n"
         "                        air; both",
         G::BEARING, COOLING_TEXT, -1, nullptr),
    NUMBER("ambient", "ambientTemp", "Umgebungstemperatur T_amb [C]", "T",
           "air temperature around the housing", "C", G::BEARING, cooling.ambientTemp),
    NUMBER("housing-area", "housingArea", "Gehaeuseflaeche A [m2]", "A",
           "surface of the housing that gives heat off (needed\n"
           "                        with housing and both)",
           "m2", G::BEARING, cooling.housingArea),
    NUMBER("heat-transfer", "heatTransfer", "Waermeuebergang K [W/(m2 K)]", "K",
           "its heat transfer coefficient", "W/(m2 K)", G::BEARING, cooling.heatTransfer),
    NUMBER("h0-limit", "h0Limit", "kleinste Spaltdicke h0lim [mm]", "H",
           "smallest permissible film thickness", "mm", G::LIMITS, data.h0Limit),
    NUMBER("temp-limit", "tempLimit", "hoechste Temperatur T_lim [C]", "T",
           "highest outlet temperature", "C", G::LIMITS, limits.outletTemp),
    NUMBER("load-limit", "loadLimit", "hoechste Flaechenpressung p_lim [N/mm2]", "P",
           "highest specific load", "N/mm2", G::LIMITS, limits.load),
    FLAG("coefficients", "coefficients", "Steifigkeit und Daempfung",
         "the film's eight stiffness and damping coefficients\n"
         "                        (Reynolds equation, 360 degrees) and the\n"
         "                        stability threshold of a rigid rotor",
         G::ROTOR, d.coefficients, d.coefficients = set),
    FLAG("threshold-speed", "thresholdSpeed", "Grenzdrehzahl der Stabilitaet",
         "the speed at which the rigid rotor loses stability,\n"
         "                        the heat balance closed at each speed, sought\n"
         "                        from a tenth of --speed to ten times it (with\n"
         "                        --coefficients)",
         G::ROTOR, d.thresholdSpeed,
         (d.thresholdSpeed = set, d.coefficients = d.coefficients || set)),
    NUMBER("rotor-mass", "rotorMass", "Rotormasse am Lager m [kg]", "M",
           "the bearing's share of the rotor's mass, for\n"
           "                        --threshold-speed (the load over g)",
           "kg", G::ROTOR, rotorMass),
};
static_assert(std::size(OPTIONS) == OPTION_COUNT, "a row of the table for every opt::Id");

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
  switch (o.kind) {
    case Kind::NUMBER:
      return o.number(d);
    case Kind::CHOICE:
      return o.choice(d);
    case Kind::FLAG:
      return o.isOn(design) ? 1 : 0;
    case Kind::TEXT:
      break;
  }
  return NAN;
}

std::string optionText(const Design& design, int option) {
  if (OPTIONS[option].kind == Kind::TEXT) return OPTIONS[option].text->get(design);
  const double value = optionValue(design, option);
  if (std::isnan(value)) return "";
  char text[40];
  std::snprintf(text, sizeof text, "%.10g", value);
  return text;
}

bool setOption(Design& design, int option, double value) {
  const Option& o = OPTIONS[option];
  switch (o.kind) {
    case Kind::NUMBER:
      o.number(design) = value;
      return true;
    case Kind::FLAG:
      if (value != 0 && value != 1) return false;
      o.turn(design, value == 1);
      return true;
    case Kind::CHOICE:
      for (int choice = o.firstChoice; choice <= o.lastChoice; ++choice)
        if (value == choice) {
          o.choice(design) = choice;
          return true;
        }
      return false;
    case Kind::TEXT:
      break;
  }
  return false;
}

std::string withoutBlanksAround(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return "";
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool setOptionText(Design& design, int option, const std::string& given, Reason* why) {
  const Option& o = OPTIONS[option];
  const std::string text = withoutBlanksAround(given);
  if (o.kind == Kind::TEXT) return o.text->set(design, text, why);
  double value = 0;
  *why = Reason::NO_NUMBER_OR_RANGE;
  if (!parseNumber(text.c_str(), value)) return false;
  *why = Reason::NOT_FINITE;
  if (!std::isfinite(value)) return false;
  *why = Reason::NOT_A_CHOICE;
  return setOption(design, option, value);
}

namespace {

// An option's value in the default design, as %g prints it; "" where it
// has none (a limit not checked).
std::string startText(int option) {
  const Option& o = OPTIONS[option];
  if (o.kind == Kind::TEXT) return o.text->get(Design());
  const double value = optionValue(Design(), option);
  if (o.required() || std::isnan(value)) return "";
  char text[32];
  std::snprintf(text, sizeof text, "%g", value);
  return text;
}

// An option's default as --help states it; "" for a flag.
std::string defaultText(int option) {
  const Option& o = OPTIONS[option];
  if (o.required()) {
    for (int other = 0; other < OPTION_COUNT; ++other)
      if (OPTIONS[other].standsFor == option)
        return std::string("this or --") + OPTIONS[other].name;  // one is required
    return "required";
  }
  if (o.kind == Kind::FLAG) return "";
  if (o.kind == Kind::TEXT) return startText(option);
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
    "  --units               a second line of the CSV, with each column's unit\n"
    "  --part K/N            the K-th of N contiguous blocks of a study's points,\n"
    "                        the header in part 1 only\n"
    "  --jobs N              threads that calculate a study's points (the cores\n"
    "                        this process may use), the rows the same for any N\n"
    "\n"
    "The bearing for a rotor model, with a study over --speed and --coefficients:\n"
    "  --rotor-file FILE     its stiffness and damping over the speed as ROSS's\n"
    "                        BearingElement, FILE.json or FILE.toml\n"
    "  --rotor-node N        the rotor model's node it sits at (0)\n"
    "  --rotor-tag TAG       its tag (FILE's name)\n"
    "\n"
    "  --help                this text\n"
    "  --version             the version\n"
    "Any --OPTION VALUE may be written --OPTION=VALUE. Numbers are written with a\n"
    "decimal point. Status: 0 balanced, or a study run; 1 no balance (or B/D\n"
    "outside 0.125 ... 1); 2 a wrong command line or case file.\n";

const char* groupName(OptionGroup group) {
  const char* const names[] = {"oil", "bearing", "limits", "rotor"};
  return names[static_cast<int>(group)];
}

// A text of the table as a JSON string: ASCII, with line ends.
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
    const bool flag = o.kind == Kind::FLAG;
    std::string call = std::string("--") + o.name + (flag ? "" : " ") + o.valueName;
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

std::string optionTableJson() {
  std::string json = "[";
  for (int i = 0; i < OPTION_COUNT; ++i) {
    const Option& o = OPTIONS[i];
    json += std::string(i ? ",\n" : "") + "{\"name\":" + quoted(o.name) +
            ",\"column\":" + quoted(o.column) + ",\"label\":" + quoted(o.label) +
            ",\"unit\":" + quoted(o.unit) + ",\"group\":" + quoted(groupName(o.group)) +
            ",\"start\":" + quoted(startText(i)) + ",\"help\":" + quoted(o.help) +
            ",\"flag\":" + (o.kind == Kind::FLAG ? "true" : "false") +
            ",\"required\":" + (o.required() ? "true" : "false") +
            ",\"example\":" + quoted(o.kind == Kind::TEXT ? o.text->example : "") +
            ",\"standsFor\":" + quoted(o.standsFor >= 0 ? OPTIONS[o.standsFor].name : "") +
            ",\"choices\":[";
    const bool choices = o.kind == Kind::CHOICE || o.kind == Kind::FLAG;
    for (int c = o.firstChoice; choices && c <= o.lastChoice; ++c)
      json += (c > o.firstChoice ? "," : "") + std::to_string(c);
    std::string words = o.kind == Kind::TEXT ? o.text->choices : "";
    for (std::size_t at = 0; !words.empty(); at = 0) {
      const std::size_t blank = words.find(' ');
      json += (json.back() == '[' ? "" : ",") + quoted(words.substr(at, blank));
      words = blank == std::string::npos ? "" : words.substr(blank + 1);
    }
    json += "]}";
  }
  return json + "]";
}
