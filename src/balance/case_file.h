// Case files: a header of option names, then a case a record, read as
// spreadsheets write them (RFC 4180 quoting, a UTF-8 byte-order mark, LF or
// CR LF) one record at a time, in memory that does not grow with the file.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "balance/options.h"
#include "balance/refusal.h"

// The longest record taken, bytes: a case of every option with long
// numerals is a few kB; more is no case file.
constexpr std::size_t LONGEST_RECORD = 65536;

struct CaseFile {
  std::FILE* file = nullptr;
  std::string where;               // the path, or "standard input", for messages
  int columns[OPTION_COUNT] = {};  // the option of each column
  int columnCount = 0;
  bool inFile[OPTION_COUNT] = {};  // whether the header names the option
  long line = 0;                   // lines read so far
  long recordLine = 0;             // where the last record read begins
  long headerEnd = 0;              // the offset after the header, for a second reading
  long headerLines = 0;            // and the lines up to there
};

// One case: its cells by option, empty where not given.
struct Case {
  std::array<std::string, OPTION_COUNT> cells;
  std::string& cell(int option) { return cells[static_cast<std::size_t>(option)]; }
  const std::string& cell(int option) const { return cells[static_cast<std::size_t>(option)]; }
};

// Opens the file ("-": standard input) and reads its header. False, with
// why, where it cannot be read, or its header is none or names no option.
bool openCaseFile(const char* path, CaseFile& cases, Refusal* why);

// What readCase found.
enum class Read { CASE, END, FAULT };

// Reads the next case: CASE with a case, END at the end of the file, or
// FAULT with why (a zero byte, an overlong record, a quote not closed, a
// record whose field count is not the header's, a read error).
Read readCase(CaseFile& cases, Case& one, Refusal* why);

// Goes back to the first case, for a second reading of a file (not of
// standard input). False where the file cannot go back.
bool rewindCaseFile(CaseFile& cases);

void closeCaseFile(CaseFile& cases);
