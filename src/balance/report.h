// What palimo-balance prints: the screen of a balanced point, its checks,
// and rows of CSV.
#pragma once

#include <string>

#include "balance/options.h"
#include "calc/checks.h"
#include "calc/heat_balance.h"

// A number as format prints it, and one that is not a number as nan, inf
// or -inf on every platform.
struct Spelled {
  char text[40];
};
Spelled spell(double value, const char* format = "%g");

// A text as a CSV cell: quoted where it holds a comma, a quote or a line
// end.
std::string csvCell(const std::string& text);

// The search step by step, the balances found, the balanced data set as
// palimo's 'w' shows it, the three result blocks as its 'g' prints them,
// and the checks at the balanced point.
void printScreen(const HeatBalance& balance, const Checks& checks, const Limits& limits);

// The header line of the CSV; a study's has the column "status" too.
void printCsvHeader(bool study);

// A case's cell that is no value of its option, shown in its row as it
// stands.
struct RawCell {
  int option = -1;
  std::string text;
};

// One row: the design, and where balance is given, the balanced point,
// its balances and checks; status ends a study's row.
void printCsvRow(const Design& design, const HeatBalance* balance, const char* status,
                 const RawCell& raw = RawCell());
