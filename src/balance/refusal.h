// Why palimo-balance refuses what it is given: one record for every
// refusal, of a value, an option, the command line or a case file, and one
// place that words it. The page receives the record, not the words.
#pragma once

#include <string>

enum class Reason {
  // A value as typed: "--load: 'x' is no number and no range FROM:TO:COUNT".
  NO_NUMBER_OR_RANGE,
  BAD_COUNT,
  NOT_FINITE,
  NO_COOLING,
  HALF_FIT,
  FIT_SLASHES,
  FIT_BLANK,
  NO_BORE,
  NO_SHAFT,
  NO_GRADE,
  GRADE_NOT_WHOLE,
  GRADE_OUTSIDE,
  DEVIATIONS_NOT_NUMBERS,
  DEVIATIONS_REVERSED,
  FIT_DIAMETER,
  FIT_INTERFERENCE,
  NO_ISO_GRADE,
  NO_BORE_TYPE,
  // An option: "--supply-case must be 1, 2 or 3".
  NOT_A_CHOICE,
  REQUIRED,
  VISCOSITY_TOO_LOW,
  NU40_NOT_ABOVE_NU100,
  PRESSURE_NEGATIVE,
  SUPPLY_TOO_WIDE,
  AREA_MISSING,
  TRANSFER_NOT_POSITIVE,
  BELOW_ABSOLUTE_ZERO,
  TEMP_TOO_HIGH,
  CLEARANCE_NOT_POSITIVE,
  EXCLUDES,
  NO_OIL_OF_INDEX,
  ROTOR_FILE_STUDY,
  ROTOR_FILE_NAME,
  NEEDS_ROTOR_FILE,
  NO_NODE,
  NO_PART,
  NO_JOBS,
  MASS_NOT_POSITIVE,
  LOBES_OUTSIDE,
  LOBE_ARC_OUTSIDE,
  PRELOAD_OUTSIDE,
  OFFSET_OUTSIDE,
  PART_NEEDS_STUDY,
  PART_NEEDS_FILE,
  PART_AND_ROTOR_FILE,
  TAKES_NO_VALUE,
  NEEDS_VALUE,
  GIVEN_TWICE,
  // A word of the command line, the option's text as typed: "--x is no
  // option (see --help)".
  NO_OPTION,
  STUDY_TOO_LARGE,
  // A case file, named by where (and line): "standard input: line 3: ...".
  CANNOT_READ,
  READ_ERROR,
  NO_HEADER,
  COLUMN_NO_OPTION,
  COLUMN_TWICE,
  HEADER_ALONE,
  ZERO_BYTE,
  RECORD_TOO_LONG,
  QUOTE_NOT_CLOSED,
  FIELD_COUNT,
  // A rotor file: named by where, and the speeds without a value.
  CANNOT_WRITE,
  ROTOR_FILE_GAPS,
};

struct Refusal {
  Reason reason = Reason::NO_OPTION;
  int option = -1;    // the option it concerns, by the table's index; -1 for none
  std::string value;  // the value or word as typed, or a case file's column
  std::string where;  // a case file: its path, or "standard input"; a word of the command line
  long line = 0;      // a case file's line; 0 for none
  long fields = 0;    // FIELD_COUNT: the record's fields and the header's
  long headerFields = 0;
  std::string speeds;  // ROTOR_FILE_GAPS: the speeds without a balance or an equilibrium
};

// The languages of the program's messages: English, or German where the
// locale is a German one.
enum class Language { ENGLISH, GERMAN };

// The language of a locale's name as LANG gives it: GERMAN for "de" and
// "de_...", ENGLISH for any other and for none.
Language messageLanguage(const char* locale);

// The refusal in words, as standard error shows it after "palimo-balance: ".
std::string refusalText(const Refusal& refusal, Language language = Language::ENGLISH);

// Its reason alone, without the option and the value it concerns: "is no
// number and no range FROM:TO:COUNT".
std::string refusalReason(const Refusal& refusal, Language language);

// The refusal as the page reads it: {"option": NAME, "reason": CODE,
// "value": VALUE, "german": its reason in German}, CODE a lower-case word
// such as "no-number-or-range".
std::string refusalJson(const Refusal& refusal);
