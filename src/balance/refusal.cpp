// Every refusal of palimo-balance in words, made here and nowhere else.
#include "balance/refusal.h"

#include <cstdio>

#include "balance/options.h"

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

// A reason: its code for the page, how it is worded, and its words, where
// {points} stands for the most points of a study; nullptr where the
// option's table gives them (its choices, what it needs).
struct Wording {
  Reason reason;
  const char* code;
  Form form;
  const char* text;
};

const Wording WORDINGS[] = {
    {Reason::NO_NUMBER_OR_RANGE, "no-number-or-range", Form::VALUE,
     "is no number and no range FROM:TO:COUNT"},
    {Reason::BAD_COUNT, "bad-count", Form::VALUE,
     "has a COUNT that is no whole number from 1 to {points}"},
    {Reason::NOT_FINITE, "not-finite", Form::VALUE, "is beyond the largest number, 1.8e308"},
    {Reason::NO_COOLING, "no-cooling", Form::VALUE, "is no cooling: oil, housing or both"},
    {Reason::HALF_FIT, "half-fit", Form::VALUE, "is half a fit: BORE/SHAFT, such as H7/f7"},
    {Reason::FIT_SLASHES, "fit-slashes", Form::VALUE,
     "has more than one '/': BORE/SHAFT, such as H7/f7"},
    {Reason::FIT_BLANK, "fit-blank", Form::VALUE,
     "has a blank inside: BORE/SHAFT without blanks, such as H7/f7"},
    {Reason::NO_BORE, "no-bore", Form::VALUE, "has no bore H (or LOWER..UPPER in um)"},
    {Reason::NO_SHAFT, "no-shaft", Form::VALUE,
     "has no shaft d, e, f, g or h (or LOWER..UPPER in um)"},
    {Reason::NO_GRADE, "no-grade", Form::VALUE,
     "has a class without its grade, IT5 ... IT11 (H7, f7)"},
    {Reason::GRADE_NOT_WHOLE, "grade-not-whole", Form::VALUE,
     "has a grade that is no whole number, IT5 ... IT11 (H7, f7)"},
    {Reason::GRADE_OUTSIDE, "grade-outside", Form::VALUE, "has a grade outside IT5 ... IT11"},
    {Reason::DEVIATIONS_NOT_NUMBERS, "deviations-not-numbers", Form::VALUE,
     "has deviations that are no numbers (LOWER..UPPER in um)"},
    {Reason::DEVIATIONS_REVERSED, "deviations-reversed", Form::VALUE,
     "has a lower deviation above its upper one"},
    {Reason::FIT_DIAMETER, "fit-diameter", Form::VALUE,
     "needs a diameter over 3 up to 500 mm, where ISO 286-2's tables are"},
    {Reason::FIT_INTERFERENCE, "fit-interference", Form::VALUE,
     "leaves no clearance: its largest is not above 0 mm at 20 C"},
    {Reason::NO_ISO_GRADE, "no-iso-grade", Form::VALUE,
     "is no ISO 3448 grade: VG2, VG3, VG5, VG7, VG10, VG15, VG22, VG32, VG46, VG68, VG100, "
     "VG150, VG220, VG320, VG460, VG680, VG1000, VG1500, VG2200 or VG3200"},
    {Reason::NOT_A_CHOICE, "not-a-choice", Form::OPTION, nullptr},
    {Reason::REQUIRED, "required", Form::OPTION, nullptr},
    {Reason::VISCOSITY_TOO_LOW, "viscosity-too-low", Form::OPTION, "must be above 0.3 mm2/s"},
    {Reason::NU40_NOT_ABOVE_NU100, "nu40-not-above-nu100", Form::OPTION, "must be above --nu100"},
    {Reason::PRESSURE_NEGATIVE, "pressure-negative", Form::OPTION, "must not be negative"},
    {Reason::SUPPLY_TOO_WIDE, "supply-too-wide", Form::OPTION,
     "must be below --width: the hole or groove lies inside the bearing"},
    {Reason::AREA_MISSING, "area-missing", Form::OPTION,
     "must be given, above 0 m2, with --cooling housing or both"},
    {Reason::TRANSFER_NOT_POSITIVE, "transfer-not-positive", Form::OPTION,
     "must be above 0 W/(m2 K)"},
    {Reason::BELOW_ABSOLUTE_ZERO, "below-absolute-zero", Form::OPTION,
     "must not lie below absolute zero, -273.15 C"},
    {Reason::TEMP_TOO_HIGH, "temp-too-high", Form::OPTION, "must be at most 1e15 C"},
    {Reason::CLEARANCE_NOT_POSITIVE, "clearance-not-positive", Form::OPTION,
     "must be above 0 mm: at 20 C the shaft would be seized in its bore"},
    {Reason::EXCLUDES, "excludes", Form::OPTION, nullptr},
    {Reason::NO_OIL_OF_INDEX, "no-oil-of-index", Form::OPTION,
     "gives no oil: no nu100 of 2 mm2/s or more, below nu40, has that index by ASTM D2270"},
    {Reason::TAKES_NO_VALUE, "takes-no-value", Form::WORD, "takes no value"},
    {Reason::NEEDS_VALUE, "needs-value", Form::WORD, "needs a value"},
    {Reason::GIVEN_TWICE, "given-twice", Form::WORD, "is given twice"},
    {Reason::NO_OPTION, "no-option", Form::WORD, "is no option (see --help)"},
    {Reason::STUDY_TOO_LARGE, "study-too-large", Form::WORD, "of more than {points} points"},
    {Reason::CANNOT_READ, "cannot-read", Form::FILE, "cannot be read"},
    {Reason::READ_ERROR, "read-error", Form::FILE, "read error"},
    {Reason::NO_HEADER, "no-header", Form::FILE, "no CSV (no header line)"},
    {Reason::COLUMN_NO_OPTION, "column-no-option", Form::COLUMN, "is no option (see --help)"},
    {Reason::COLUMN_TWICE, "column-twice", Form::COLUMN, "comes twice"},
    {Reason::HEADER_ALONE, "header-alone", Form::FILE, "no case (a header alone)"},
    {Reason::ZERO_BYTE, "zero-byte", Form::LINE, "no CSV (a zero byte)"},
    {Reason::RECORD_TOO_LONG, "record-too-long", Form::LINE, "no case (longer than 65536 bytes)"},
    {Reason::QUOTE_NOT_CLOSED, "quote-not-closed", Form::LINE,
     "no CSV (a quote that is not closed)"},
    {Reason::FIELD_COUNT, "field-count", Form::LINE, nullptr},
};

const Wording& wording(Reason reason) {
  for (const Wording& w : WORDINGS)
    if (w.reason == reason) return w;
  return WORDINGS[0];  // every reason has its row
}

// "must be 1, 2 or 3": the choices of an option.
std::string choicesText(const Option& o) {
  std::string text = "must be";
  for (int c = o.firstChoice; c <= o.lastChoice; ++c)
    text += (c == o.firstChoice ? " " : c == o.lastChoice ? " or " : ", ") + std::to_string(c);
  return text;
}

// A text as a JSON string: the texts are typed by a user, so every
// control character is escaped.
std::string quoted(const std::string& text) {
  std::string json = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      json += std::string("\\") + c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      json += escape;
    } else {
      json += c;
    }
  }
  return json + "\"";
}

}  // namespace

std::string refusalText(const Refusal& r) {
  const Wording& w = wording(r.reason);
  const std::string name = r.option >= 0 ? std::string("--") + OPTIONS[r.option].name : r.value;
  std::string text = w.text ? w.text : "";
  if (r.reason == Reason::NOT_A_CHOICE) text = choicesText(OPTIONS[r.option]);
  if (r.reason == Reason::REQUIRED) text = OPTIONS[r.option].whenMissing;
  if (r.reason == Reason::EXCLUDES)
    text = std::string("and --") + OPTIONS[OPTIONS[r.option].standsFor].name +
           " exclude each other: " + OPTIONS[r.option].gives;
  const std::size_t points = text.find("{points}");
  if (points != std::string::npos) text.replace(points, 8, std::to_string(MOST_STUDY_POINTS));
  switch (w.form) {
    case Form::VALUE:
      return name + ": '" + r.value + "' " + text;
    case Form::OPTION:
    case Form::WORD:
      return name + " " + text;
    case Form::FILE:
      return r.where + ": " + text;
    case Form::COLUMN:
      return r.where + ": column '" + r.value + "' " + text;
    case Form::LINE:
      break;
  }
  const std::string at = r.where + ": line " + std::to_string(r.line);
  if (r.reason == Reason::FIELD_COUNT)
    return at + " has " + std::to_string(r.fields) + (r.fields == 1 ? " field" : " fields") +
           ", the header " + std::to_string(r.headerFields);
  return at + ": " + text;
}

std::string refusalJson(const Refusal& r) {
  return std::string("{\"option\":") + quoted(r.option >= 0 ? OPTIONS[r.option].name : "") +
         ",\"reason\":" + quoted(wording(r.reason).code) + ",\"value\":" + quoted(r.value) + "}";
}
