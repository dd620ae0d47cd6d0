// palimo-balance's command line: the options of the table, each one number
// or a range FROM:TO:COUNT, a case file, and the flags.
#pragma once

#include <vector>

#include "balance/case_file.h"
#include "balance/options.h"
#include "balance/refusal.h"
#include "balance/rotor_file.h"

// What an option was given on the command line: count evenly spaced values
// from first to last, both included, each as its row prints it (ten
// digits); one value is a count of 1, taken as given.
struct ValueOrRange {
  double first = 0;
  double last = 0;
  long count = 0;  // 0: not given
  double at(long i) const;
};

// Reads "NUMBER" or "FROM:TO:COUNT". False, with the reason, where it is
// neither.
bool parseValueOrRange(const char* text, ValueOrRange& given, Reason* why);

struct Request {
  Design base;
  ValueOrRange given[OPTION_COUNT];  // by option, as given on the command line
  std::vector<int> ranged;           // the options given as ranges, in the order given
  const char* casesPath = nullptr;
  CaseFile cases;                         // open, its header read, where casesPath is given
  Language language = Language::ENGLISH;  // of the messages, by the locale
  // The rotor file of a study over the speed, nullptr for none; its tag
  // (nullptr: the file's name) and node (-1: node 0), as given.
  const char* rotorFile = nullptr;
  const char* rotorTag = nullptr;
  long rotorNode = -1;
  bool units = false;  // the CSV's second line, of units
  // The part of a study to calculate, the partK-th of partN contiguous
  // blocks of its points; 0 of 0 for the whole study.
  long partK = 0, partN = 0;
  long jobs = 0;  // threads that calculate a study's points; 0: the usable cores
  bool csv = false;
  bool help = false;
  bool version = false;
  // A study: a range, or a case file; it prints CSV, one row a point.
  bool isStudy() const { return !ranged.empty() || casesPath; }
  // Whether the command line (a value, a range or a flag) or the case
  // file's header gives the option.
  bool gives(opt::Id option) const {
    const bool flagged = OPTIONS[option].kind == Kind::FLAG && optionValue(base, option) == 1;
    return given[option].count > 0 || cases.inFile[option] || flagged;
  }
  // Whether the CSV has the bore's columns: a bore other than the plain one
  // is given, by a name or a value of its own, or a case file names one.
  bool givesBore() const {
    for (int option = opt::LOBES; option <= opt::LOBE_ANGLE; ++option)
      if (gives(static_cast<opt::Id>(option))) return true;
    return cases.inFile[opt::BORE] || (given[opt::BORE].count > 0 && byFilm(base));
  }
};

// Reads the command line, and opens the case file it names. False, with
// why, where it names an unknown option, a value an option does not take,
// a study too large, a design outside the closed forms' domain (for one
// point), or a case file that cannot be read.
bool readCommandLine(int argc, char** argv, Request& request, Refusal* why);
