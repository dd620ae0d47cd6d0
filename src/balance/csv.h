// palimo-balance's CSV: one list of columns, each a name and what a row
// shows in it, from which the header and every row are written.
#pragma once

#include <string>

#include "balance/point.h"

// Which columns a CSV has beyond the design's and the results': a study's
// status, the oil's grade and index, the housing's cooling and heat flows,
// a fit's band, the rotor's.
struct CsvLayout {
  bool study = false;
  bool oil = false;
  bool cooling = false;
  bool fits = false;
  bool coefficients = false;
  bool threshold = false;  // the threshold speed and the rotor's mass
  bool bore = false;       // the bore's name and values
  bool units = false;      // a second line with each column's unit
};

// A case's cell that is no value of its option, shown in its row as it
// stands, and the row's status where it is more than a bad value of it.
struct RawCell {
  int option = -1;
  std::string text;
  std::string status;  // "" where the row's own status says it
};

// One row: a calculated point, or a design refused before it was
// calculated (point null), with the band's verdict, a raw cell and a
// study's status.
struct CsvRow {
  const Design* design = nullptr;  // the point's, or the refused one as shown
  const Point* point = nullptr;
  int bandEnd = -1;        // which end of a fit's band the row is; -1 without one
  std::string fitVerdict;  // the failed checks of the band's three rows
  RawCell raw;
  const char* status = nullptr;  // a study's; nullptr outside one
};

// The header line of the CSV, and with units the line of units.
void printCsvHeader(const CsvLayout& layout);

// The row of a calculated point, with the band's verdict.
CsvRow pointRow(const Point& point, const std::string& fitVerdict);

// One row of the CSV as text, its line end included; it touches nothing
// else, so that threads may write rows side by side.
std::string csvRowText(const CsvRow& row, const CsvLayout& layout);

// One row of the CSV.
void printCsvRow(const CsvRow& row, const CsvLayout& layout);
