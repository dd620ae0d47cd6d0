// Case files: a header of option names, then a case a record, read as
// spreadsheets write them (RFC 4180 quoting, a UTF-8 byte-order mark, LF or
// CR LF) one record at a time, in memory that does not grow with the file.
#pragma once

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "balance/options.h"

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
};

// One case: its cells by option, empty where not given, and the line it
// begins on.
struct Case {
  std::array<std::string, OPTION_COUNT> cells;
  long line = 0;
  std::string& cell(int option) { return cells[static_cast<std::size_t>(option)]; }
  const std::string& cell(int option) const { return cells[static_cast<std::size_t>(option)]; }
};

// Opens the file ("-": standard input) and reads its header. Returns 0, or
// 2 after a line on standard error that names what is wrong.
int openCaseFile(const char* path, CaseFile& cases);

// Reads the next case. Returns 1 with a case, 0 at the end of the file, or
// 2 after a line on standard error (a zero byte, an overlong record, a
// record whose field count is not the header's, a read error).
int readCase(CaseFile& cases, Case& one);

void closeCaseFile(CaseFile& cases);
