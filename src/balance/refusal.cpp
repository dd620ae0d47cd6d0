// Every refusal of palimo-balance in words, made here and nowhere else.
#include "balance/refusal.h"

#include "balance/options.h"
#include "text/spell.h"

namespace {

// How a refusal's words are put together.
enum class Form {
  VALUE,   // --NAME: 'VALUE' TEXT
  OPTION,  // --NAME TEXT
  WORD,    // VALUE TEXT
  FILE,    // WHERE: TEXT
  COLUMN,  // WHERE: column 'VALUE' TEXT
  LINE,    // WHERE: line N: TEXT
};

// A reason: how it is worded, its code for the page, and its words in
// English and German, where {points} stands for the most points of a
// study and {jobs} for the most jobs; nullptr where the option's table gives them (its choices,
// what it needs, the option it stands in for).
struct Wording {
  Reason reason;
  Form form;
  const char* code;
  const char* english;
  const char* german;
};

const Wording WORDINGS[] = {
    {Reason::NO_NUMBER_OR_RANGE, Form::VALUE, "no-number-or-range",
     "is no number and no range FROM:TO:COUNT", "ist keine Zahl und kein Bereich VON:BIS:ANZAHL"},
    {Reason::BAD_COUNT, Form::VALUE, "bad-count",
     "has a COUNT that is no whole number from 1 to {points}",
     "hat keine ANZAHL von 1 bis {points}"},
    {Reason::NOT_FINITE, Form::VALUE, "not-finite", "is beyond the largest number, 1.8e308",
     "ist groesser als die groesste Zahl, 1.8e308"},
    {Reason::NO_COOLING, Form::VALUE, "no-cooling", "is no cooling: oil, housing or both",
     "ist keine Kuehlung: oil, housing oder both"},
    {Reason::HALF_FIT, Form::VALUE, "half-fit", "is half a fit: BORE/SHAFT, such as H7/f7",
     "ist eine halbe Passung: BOHRUNG/WELLE, etwa H7/f7"},
    {Reason::FIT_SLASHES, Form::VALUE, "fit-slashes",
     "has more than one '/': BORE/SHAFT, such as H7/f7",
     "hat mehr als einen '/': BOHRUNG/WELLE, etwa H7/f7"},
    {Reason::FIT_BLANK, Form::VALUE, "fit-blank",
     "has a blank inside: BORE/SHAFT without blanks, such as H7/f7",
     "hat ein Leerzeichen: BOHRUNG/WELLE ohne Leerzeichen, etwa H7/f7"},
    {Reason::NO_BORE, Form::VALUE, "no-bore", "has no bore H (or LOWER..UPPER in um)",
     "hat keine Bohrung H (oder UNTEN..OBEN in um)"},
    {Reason::NO_SHAFT, Form::VALUE, "no-shaft",
     "has no shaft d, e, f, g or h (or LOWER..UPPER in um)",
     "hat keine Welle d, e, f, g oder h (oder UNTEN..OBEN in um)"},
    {Reason::NO_GRADE, Form::VALUE, "no-grade",
     "has a class without its grade, IT5 ... IT11 (H7, f7)",
     "hat eine Toleranzklasse ohne Grad, IT5 ... IT11 (H7, f7)"},
    {Reason::GRADE_NOT_WHOLE, Form::VALUE, "grade-not-whole",
     "has a grade that is no whole number, IT5 ... IT11 (H7, f7)",
     "hat einen Grad, der keine ganze Zahl ist, IT5 ... IT11 (H7, f7)"},
    {Reason::GRADE_OUTSIDE, Form::VALUE, "grade-outside", "has a grade outside IT5 ... IT11",
     "hat einen Grad ausserhalb IT5 ... IT11"},
    {Reason::DEVIATIONS_NOT_NUMBERS, Form::VALUE, "deviations-not-numbers",
     "has deviations that are no numbers (LOWER..UPPER in um)",
     "hat Abmasse, die keine Zahlen sind (UNTEN..OBEN in um)"},
    {Reason::DEVIATIONS_REVERSED, Form::VALUE, "deviations-reversed",
     "has a lower deviation above its upper one", "hat ein unteres Abmass ueber dem oberen"},
    {Reason::FIT_DIAMETER, Form::VALUE, "fit-diameter",
     "needs a diameter over 3 up to 500 mm, where ISO 286-2's tables are",
     "braucht einen Durchmesser ueber 3 bis 500 mm, wo die Tabellen der ISO 286-2 gelten"},
    {Reason::FIT_INTERFERENCE, Form::VALUE, "fit-interference",
     "leaves no clearance: its largest is not above 0 mm at 20 C",
     "laesst kein Spiel: das groesste ist bei 20 C nicht ueber 0 mm"},
    {Reason::NO_ISO_GRADE, Form::VALUE, "no-iso-grade",
     "is no ISO 3448 grade: VG2, VG3, VG5, VG7, VG10, VG15, VG22, VG32, VG46, VG68, VG100, VG150, "
     "VG220, VG320, VG460, VG680, VG1000, VG1500, VG2200 or VG3200",
     "ist keine Viskositaetsklasse der ISO 3448: VG2, VG3, VG5, VG7, VG10, VG15, VG22, VG32, VG46, "
     "VG68, VG100, VG150, VG220, VG320, VG460, VG680, VG1000, VG1500, VG2200 oder VG3200"},
    {Reason::NO_BORE_TYPE, Form::VALUE, "no-bore-type",
     "is no bore: plain, two-groove, partial, lemon, three-lobe, four-lobe or offset-halves",
     "ist keine Bohrungsform: plain, two-groove, partial, lemon, three-lobe, four-lobe oder "
     "offset-halves"},
    {Reason::NOT_A_CHOICE, Form::OPTION, "not-a-choice", nullptr, nullptr},
    {Reason::REQUIRED, Form::OPTION, "required", nullptr, nullptr},
    {Reason::VISCOSITY_TOO_LOW, Form::OPTION, "viscosity-too-low", "must be above 0.3 mm2/s",
     "muss ueber 0.3 mm2/s liegen"},
    {Reason::NU40_NOT_ABOVE_NU100, Form::OPTION, "nu40-not-above-nu100", "must be above --nu100",
     "muss ueber --nu100 liegen"},
    {Reason::PRESSURE_NEGATIVE, Form::OPTION, "pressure-negative", "must not be negative",
     "darf nicht negativ sein"},
    {Reason::SUPPLY_TOO_WIDE, Form::OPTION, "supply-too-wide",
     "must be below --width: the hole or groove lies inside the bearing",
     "muss unter --width liegen: Bohrung oder Nut liegen im Lager"},
    {Reason::AREA_MISSING, Form::OPTION, "area-missing",
     "must be given, above 0 m2, with --cooling housing or both",
     "muss mit --cooling housing oder both gegeben sein, ueber 0 m2"},
    {Reason::TRANSFER_NOT_POSITIVE, Form::OPTION, "transfer-not-positive",
     "must be above 0 W/(m2 K)", "muss ueber 0 W/(m2 K) liegen"},
    {Reason::BELOW_ABSOLUTE_ZERO, Form::OPTION, "below-absolute-zero",
     "must not lie below absolute zero, -273.15 C",
     "darf nicht unter dem absoluten Nullpunkt liegen, -273.15 C"},
    {Reason::TEMP_TOO_HIGH, Form::OPTION, "temp-too-high", "must be at most 1e15 C",
     "darf hoechstens 1e15 C sein"},
    {Reason::MASS_NOT_POSITIVE, Form::OPTION, "mass-not-positive", "must be above 0 kg",
     "muss ueber 0 kg liegen"},
    {Reason::LOBES_OUTSIDE, Form::OPTION, "lobes-outside", "must be a whole number from 1 to 6",
     "muss eine ganze Zahl von 1 bis 6 sein"},
    {Reason::LOBE_ARC_OUTSIDE, Form::OPTION, "lobe-arc-outside",
     "must be above 0 and at most 360/N degrees, N the lobes",
     "muss ueber 0 und hoechstens 360/N Grad sein, N die Segmente"},
    {Reason::PRELOAD_OUTSIDE, Form::OPTION, "preload-outside",
     "must be at least 0 and below 1: at 1 the lobes would touch the shaft",
     "muss mindestens 0 und unter 1 sein: bei 1 beruehrten die Segmente die Welle"},
    {Reason::OFFSET_OUTSIDE, Form::OPTION, "offset-outside", "must lie within 0 ... 1",
     "muss zwischen 0 und 1 liegen"},
    {Reason::CLEARANCE_NOT_POSITIVE, Form::OPTION, "clearance-not-positive",
     "must be above 0 mm: at 20 C the shaft would be seized in its bore",
     "muss ueber 0 mm liegen: bei 20 C saesse die Welle in ihrer Bohrung fest"},
    {Reason::EXCLUDES, Form::OPTION, "excludes", nullptr, nullptr},
    {Reason::NO_OIL_OF_INDEX, Form::OPTION, "no-oil-of-index",
     "gives no oil: no nu100 of 2 mm2/s or more, below nu40, has that index by ASTM D2270",
     "gibt kein Oel: kein nu100 ab 2 mm2/s, unter nu40, hat diesen Index nach ASTM D2270"},
    {Reason::ROTOR_FILE_STUDY, Form::WORD, "rotor-file-study",
     "needs a study over --speed alone, with --coefficients and no --cases",
     "braucht eine Studie ueber --speed allein, mit --coefficients und ohne --cases"},
    {Reason::ROTOR_FILE_NAME, Form::VALUE, "rotor-file-name",
     "needs a name ending in .json or .toml, which gives its format",
     "braucht einen Namen auf .json oder .toml, der sein Format gibt"},
    {Reason::NEEDS_ROTOR_FILE, Form::WORD, "needs-rotor-file", "needs --rotor-file",
     "braucht --rotor-file"},
    {Reason::NO_NODE, Form::VALUE, "no-node", "is no node: a whole number from 0",
     "ist kein Knoten: eine ganze Zahl ab 0"},
    {Reason::NO_PART, Form::VALUE, "no-part",
     "is no part K/N: whole numbers, 1 <= K <= N <= {points}",
     "ist kein Teil K/N: ganze Zahlen, 1 <= K <= N <= {points}"},
    {Reason::NO_JOBS, Form::VALUE, "no-jobs", "is no number of jobs: a whole number, 1 ... {jobs}",
     "ist keine Zahl von Jobs: eine ganze Zahl, 1 ... {jobs}"},
    {Reason::PART_NEEDS_STUDY, Form::WORD, "part-needs-study", "needs a study (a range or --cases)",
     "braucht eine Studie (einen Bereich oder --cases)"},
    {Reason::PART_NEEDS_FILE, Form::WORD, "part-needs-file",
     "needs a case file that can be read twice, not standard input",
     "braucht eine Falldatei, die sich zweimal lesen laesst, nicht die Standardeingabe"},
    {Reason::PART_AND_ROTOR_FILE, Form::WORD, "part-and-rotor-file",
     "and --rotor-file exclude each other: a part has part of the speeds",
     "und --rotor-file schliessen einander aus: ein Teil hat nur einen Teil der Drehzahlen"},
    {Reason::TAKES_NO_VALUE, Form::WORD, "takes-no-value", "takes no value", "nimmt keinen Wert"},
    {Reason::NEEDS_VALUE, Form::WORD, "needs-value", "needs a value", "braucht einen Wert"},
    {Reason::GIVEN_TWICE, Form::WORD, "given-twice", "is given twice", "ist zweimal gegeben"},
    {Reason::NO_OPTION, Form::WORD, "no-option", "is no option (see --help)",
     "ist keine Option (siehe --help)"},
    {Reason::STUDY_TOO_LARGE, Form::WORD, "study-too-large", "of more than {points} points",
     "von mehr als {points} Punkten"},
    {Reason::CANNOT_READ, Form::FILE, "cannot-read", "cannot be read", "ist nicht lesbar"},
    {Reason::READ_ERROR, Form::FILE, "read-error", "read error", "Lesefehler"},
    {Reason::NO_HEADER, Form::FILE, "no-header", "no CSV (no header line)",
     "kein CSV (keine Kopfzeile)"},
    {Reason::COLUMN_NO_OPTION, Form::COLUMN, "column-no-option", "is no option (see --help)",
     "ist keine Option (siehe --help)"},
    {Reason::COLUMN_TWICE, Form::COLUMN, "column-twice", "comes twice", "kommt zweimal"},
    {Reason::HEADER_ALONE, Form::FILE, "header-alone", "no case (a header alone)",
     "kein Fall (nur die Kopfzeile)"},
    {Reason::ZERO_BYTE, Form::LINE, "zero-byte", "no CSV (a zero byte)",
     "kein CSV (ein Null-Byte)"},
    {Reason::RECORD_TOO_LONG, Form::LINE, "record-too-long", "no case (longer than 65536 bytes)",
     "kein Fall (laenger als 65536 Bytes)"},
    {Reason::QUOTE_NOT_CLOSED, Form::LINE, "quote-not-closed",
     "no CSV (a quote that is not closed)",
     "kein CSV (ein Anfuehrungszeichen, das nicht schliesst)"},
    {Reason::FIELD_COUNT, Form::LINE, "field-count", nullptr, nullptr},
    {Reason::CANNOT_WRITE, Form::FILE, "cannot-write", "cannot be written", "ist nicht schreibbar"},
    {Reason::ROTOR_FILE_GAPS, Form::FILE, "rotor-file-gaps", nullptr, nullptr},
};

const Wording& wording(Reason reason) {
  for (const Wording& w : WORDINGS)
    if (w.reason == reason) return w;
  return WORDINGS[0];  // every reason has its row
}

// "must be 1, 2 or 3": the choices of an option.
std::string choicesText(const Option& o, bool german) {
  std::string text = german ? "muss" : "must be";
  const char* const last = german ? " oder " : " or ";
  for (int c = o.firstChoice; c <= o.lastChoice; ++c)
    text += (c == o.firstChoice ? " " : c == o.lastChoice ? last : ", ") + std::to_string(c);
  return german ? text + " sein" : text;
}

}  // namespace

Language messageLanguage(const char* locale) {
  return locale && locale[0] == 'd' && locale[1] == 'e' && (locale[2] == '\0' || locale[2] == '_')
             ? Language::GERMAN
             : Language::ENGLISH;
}

std::string refusalReason(const Refusal& r, Language language) {
  const bool german = language == Language::GERMAN;
  const Wording& w = wording(r.reason);
  std::string text = (german ? w.german : w.english) ? (german ? w.german : w.english) : "";
  const Option* o = r.option >= 0 ? &OPTIONS[r.option] : nullptr;
  if (r.reason == Reason::NOT_A_CHOICE) text = choicesText(*o, german);
  if (r.reason == Reason::REQUIRED)
    text = german ? std::string("ist noetig: ") + o->label : o->whenMissing;
  if (r.reason == Reason::EXCLUDES) {
    const std::string other = OPTIONS[o->standsFor].name;
    text = german ? "und --" + other + " schliessen einander aus"
                  : "and --" + other + " exclude each other: " + o->gives;
  }
  if (r.reason == Reason::ROTOR_FILE_GAPS)
    text = german ? "nicht geschrieben: bei n= " + r.speeds +
                        " 1/min fehlt die Bilanz oder das Gleichgewicht des Films"
                  : "not written: at n= " + r.speeds +
                        " 1/min the point has no balance or its film no equilibrium";
  if (r.reason == Reason::FIELD_COUNT)
    text = german ? "hat " + std::to_string(r.fields) + (r.fields == 1 ? " Feld" : " Felder") +
                        ", die Kopfzeile " + std::to_string(r.headerFields)
                  : "has " + std::to_string(r.fields) + (r.fields == 1 ? " field" : " fields") +
                        ", the header " + std::to_string(r.headerFields);
  const std::size_t points = text.find("{points}");
  if (points != std::string::npos) text.replace(points, 8, std::to_string(MOST_STUDY_POINTS));
  const std::size_t jobs = text.find("{jobs}");
  if (jobs != std::string::npos) text.replace(jobs, 6, std::to_string(MOST_JOBS));
  return text;
}

std::string refusalText(const Refusal& r, Language language) {
  const bool german = language == Language::GERMAN;
  const Wording& w = wording(r.reason);
  std::string name = r.option >= 0 ? std::string("--") + OPTIONS[r.option].name : r.value;
  if (german && r.reason == Reason::STUDY_TOO_LARGE) name = "eine Studie";
  const std::string where = german && r.where == "standard input" ? "Standardeingabe" : r.where;
  const std::string text = refusalReason(r, language);
  switch (w.form) {
    case Form::VALUE:  // an option's value, or a word's, the word in where
      return (r.option >= 0 ? name : r.where) + ": '" + r.value + "' " + text;
    case Form::OPTION:
    case Form::WORD:
      return name + " " + text;
    case Form::FILE:
      return where + ": " + text;
    case Form::COLUMN:
      return where + (german ? ": Spalte '" : ": column '") + r.value + "' " + text;
    case Form::LINE:
      break;
  }
  const std::string at = where + (german ? ": Zeile " : ": line ") + std::to_string(r.line);
  return r.reason == Reason::FIELD_COUNT ? at + " " + text : at + ": " + text;
}

std::string refusalJson(const Refusal& r) {
  return std::string("{\"option\":") + quotedText(r.option >= 0 ? OPTIONS[r.option].name : "") +
         ",\"reason\":" + quotedText(wording(r.reason).code) + ",\"value\":" + quotedText(r.value) +
         ",\"german\":" + quotedText(refusalReason(r, Language::GERMAN)) + "}";
}
