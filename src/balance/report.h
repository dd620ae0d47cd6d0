// What palimo-balance prints: the screen of a balanced point, its checks,
// and rows of CSV.
#pragma once

#include "balance/command_line.h"
#include "calc/checks.h"
#include "calc/heat_balance.h"

// A number as format prints it, and one that is not a number as nan, inf
// or -inf on every platform.
struct Spelled {
  char text[40];
};
Spelled spell(double value, const char* format = "%g");

// The search step by step, the balances found, the balanced data set as
// palimo's 'w' shows it, the three result blocks as its 'g' prints them,
// and the checks at the balanced point.
void printScreen(const HeatBalance& balance, const Checks& checks, const Limits& limits);

// The header line of the CSV; a study's has the column "status" too.
void printCsvHeader(bool study);

// One row: the design, and where balance is given, the balanced point,
// its balances and checks; status ends a study's row.
void printCsvRow(const Design& design, const HeatBalance* balance, const char* status);
