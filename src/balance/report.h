// What palimo-balance prints: the screen of a balanced point, its checks,
// and rows of CSV.
#pragma once

#include <string>

#include "balance/fit.h"
#include "balance/options.h"
#include "calc/checks.h"
#include "calc/heat_balance.h"

// A number as format prints it, and one that is not a number as nan, inf
// or -inf on every platform.
struct Spelled {
  char text[40];
};
Spelled spell(double value, const char* format = "%g");

// The temperature that the heat balance seeks, as the screen names it: the
// bearing's (LagerT) with the housing alone, else the oil's outlet
// temperature (OelAusT).
const char* soughtName(const Cooling& cooling);

// A text as a CSV cell: quoted where it holds a comma, a quote or a line
// end.
std::string csvCell(const std::string& text);

// The search step by step, headed by the temperature sought, the balances
// found (with the heat flows where the housing gives heat off), the
// balanced data set as palimo's 'w' shows it, the three result blocks as
// its 'g' prints them, and the checks at the balanced point against the
// design's limits.
void printScreen(const HeatBalance& balance, const Checks& checks, const Design& design);

// Which columns a CSV has beyond the design's and the results': a study's
// status, the housing's cooling and heat flows, a fit's band.
struct CsvLayout {
  bool study = false;
  bool cooling = false;
  bool fits = false;
  bool coefficients = false;
};

// The header line of the CSV.
void printCsvHeader(const CsvLayout& layout);

// A case's cell that is no value of its option, shown in its row as it
// stands, and the row's status where it is more than a bad value of it.
struct RawCell {
  int option = -1;
  std::string text;
  const char* status = nullptr;
};

// A row's cells of the fit: its text, which end of the band the row is
// (min, mean, max), and the failed checks of the band's three rows.
struct BandCells {
  std::string fit;
  const char* clearanceCase;
  std::string fitVerdict;
};

// One row: the design, and where balance is given, the balanced point,
// its balances and checks; band where the CSV has a fit's columns; status
// ends a study's row.
void printCsvRow(const Design& design, const HeatBalance* balance, const char* status,
                 const CsvLayout& layout, const RawCell& raw = RawCell(),
                 const BandCells* band = nullptr);

// The checks that fail at a point, one bit each in the order h0, laminar,
// temp, load; NOT_BALANCED without a balanced point.
constexpr unsigned NOT_BALANCED = 16;
unsigned failedChecks(const Design& design, const HeatBalance* balance);

// The failed checks joined by '+', "ok" where none fails, "" without a
// balanced point.
std::string verdictText(unsigned failed);

// A fit's band at one point: its three clearances side by side, the
// results that decide the design at each, its checks, and the verdict
// over the band.
void printBandScreen(const Design& design, const double band[BAND_CASES],
                     const HeatBalance balances[BAND_CASES]);
