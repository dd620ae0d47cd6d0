// ISO 286-2's standard tolerances and the shafts' fundamental deviations,
// as its tables give them, and the clearance band of a fit.
#include "balance/fit.h"

#include <cstring>

#include "text/numeral.h"

const char* const BAND_CASE_NAMES[BAND_CASES] = {"min", "mean", "max"};

namespace {

// The nominal size ranges: over one bound up to and including the next, mm.
constexpr int RANGES = 12;
const double RANGE_TOPS[RANGES] = {6, 10, 18, 30, 50, 80, 120, 180, 250, 315, 400, 500};
constexpr double SMALLEST = 3;  // the first range starts above it

// Standard tolerances IT5 ... IT11 by range, um (ISO 286-1's table, which
// part 2 uses).
const int STANDARD_TOLERANCE[7][RANGES] = {
    {5, 6, 8, 9, 11, 13, 15, 18, 20, 23, 25, 27},                 // IT5
    {8, 9, 11, 13, 16, 19, 22, 25, 29, 32, 36, 40},               // IT6
    {12, 15, 18, 21, 25, 30, 35, 40, 46, 52, 57, 63},             // IT7
    {18, 22, 27, 33, 39, 46, 54, 63, 72, 81, 89, 97},             // IT8
    {30, 36, 43, 52, 62, 74, 87, 100, 115, 130, 140, 155},        // IT9
    {48, 58, 70, 84, 100, 120, 140, 160, 185, 210, 230, 250},     // IT10
    {75, 90, 110, 130, 160, 190, 220, 250, 290, 320, 360, 400}};  // IT11
constexpr int LOWEST_GRADE = 5, HIGHEST_GRADE = 11;

// The upper deviation es of the shafts d ... h by range, um; the lower one
// is es less the standard tolerance.
const char SHAFT_LETTERS[] = "defgh";
const int UPPER_DEVIATION[5][RANGES] = {
    {-30, -40, -50, -65, -80, -100, -120, -145, -170, -190, -210, -230},  // d
    {-20, -25, -32, -40, -50, -60, -72, -85, -100, -110, -125, -135},     // e
    {-10, -13, -16, -20, -25, -30, -36, -43, -50, -56, -62, -68},         // f
    {-4, -5, -6, -7, -9, -10, -12, -14, -15, -17, -18, -20},              // g
    {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}};                                // h

// Reads one side: a class such as H7 or f7 (letters is what the side
// takes), or LOWER..UPPER in um.
const char* parseSide(const std::string& text, const char* letters, FitSide& side) {
  const std::size_t dots = text.find("..");
  if (dots != std::string::npos) {
    if (!parseNumber(text.substr(0, dots).c_str(), side.lower) ||
        !parseNumber(text.substr(dots + 2).c_str(), side.upper))
      return "has deviations that are no numbers (LOWER..UPPER in um)";
    if (!(side.lower <= side.upper)) return "has a lower deviation above its upper one";
    return nullptr;
  }
  if (text.empty() || !std::strchr(letters, text[0])) return nullptr;  // told by the caller
  side.letter = text[0];
  if (text.size() == 1) return "has a class without its grade, IT5 ... IT11 (H7, f7)";
  if (!parseNumber(text.c_str() + 1, side.grade))
    return "has a grade that is no whole number, IT5 ... IT11 (H7, f7)";
  if (side.grade < LOWEST_GRADE || side.grade > HIGHEST_GRADE)
    return "has a grade outside IT5 ... IT11";
  return nullptr;
}

// The side's lower and upper deviation at a range, um.
void deviations(const FitSide& side, int range, double& lower, double& upper) {
  if (!side.letter) {
    lower = side.lower, upper = side.upper;
    return;
  }
  const int tolerance = STANDARD_TOLERANCE[side.grade - LOWEST_GRADE][range];
  if (side.letter == 'H') {
    lower = 0, upper = tolerance;
  } else {
    upper = UPPER_DEVIATION[std::strchr(SHAFT_LETTERS, side.letter) - SHAFT_LETTERS][range];
    lower = upper - tolerance;
  }
}

}  // namespace

const char* parseFit(const std::string& text, Fit& fit) {
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return "is half a fit: BORE/SHAFT, such as H7/f7";
  if (text.find('/', slash + 1) != std::string::npos)
    return "has more than one '/': BORE/SHAFT, such as H7/f7";
  if (text.find_first_of(" \t") != std::string::npos)
    return "has a blank inside: BORE/SHAFT without blanks, such as H7/f7";
  const std::string bore = text.substr(0, slash), shaft = text.substr(slash + 1);
  fit = Fit();
  const char* wrong = parseSide(bore, "H", fit.bore);
  if (!wrong && !fit.bore.letter && bore.find("..") == std::string::npos)
    wrong = "has no bore H (or LOWER..UPPER in um)";
  if (wrong) return wrong;
  wrong = parseSide(shaft, SHAFT_LETTERS, fit.shaft);
  if (!wrong && !fit.shaft.letter && shaft.find("..") == std::string::npos)
    wrong = "has no shaft d, e, f, g or h (or LOWER..UPPER in um)";
  return wrong;
}

const char* clearanceBand(const Fit& fit, double diameter, double band[BAND_CASES]) {
  int range = 0;
  while (range < RANGES && !(diameter <= RANGE_TOPS[range])) ++range;
  const bool iso = fit.bore.letter || fit.shaft.letter;
  if (iso && !(diameter > SMALLEST && range < RANGES))
    return "needs a diameter over 3 up to 500 mm, where ISO 286-2's tables are";
  double boreLower, boreUpper, shaftLower, shaftUpper;
  deviations(fit.bore, range, boreLower, boreUpper);
  deviations(fit.shaft, range, shaftLower, shaftUpper);
  // The clearance is the bore less the shaft; um to mm.
  band[0] = (boreLower - shaftUpper) / 1000;
  band[2] = (boreUpper - shaftLower) / 1000;
  band[1] = (band[0] + band[2]) / 2;
  // An interference fit: the shaft is pressed into its bore, no bearing.
  if (!(band[2] > 0)) return "leaves no clearance: its largest is not above 0 mm at 20 C";
  return nullptr;
}
