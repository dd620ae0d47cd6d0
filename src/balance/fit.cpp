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
// takes), or LOWER..UPPER in um. False, with the reason, where it is
// neither; a side of another letter is told by the caller.
bool parseSide(const std::string& text, const char* letters, FitSide& side, Reason* why) {
  const auto refuse = [&](Reason reason) {
    *why = reason;
    return false;
  };
  const std::size_t dots = text.find("..");
  if (dots != std::string::npos) {
    if (!parseNumber(text.substr(0, dots).c_str(), side.lower) ||
        !parseNumber(text.substr(dots + 2).c_str(), side.upper))
      return refuse(Reason::DEVIATIONS_NOT_NUMBERS);
    if (!(side.lower <= side.upper)) return refuse(Reason::DEVIATIONS_REVERSED);
    return true;
  }
  if (text.empty() || !std::strchr(letters, text[0])) return true;
  side.letter = text[0];
  if (text.size() == 1) return refuse(Reason::NO_GRADE);
  if (!parseNumber(text.c_str() + 1, side.grade)) return refuse(Reason::GRADE_NOT_WHOLE);
  if (side.grade < LOWEST_GRADE || side.grade > HIGHEST_GRADE) return refuse(Reason::GRADE_OUTSIDE);
  return true;
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

bool parseFit(const std::string& text, Fit& fit, Reason* why) {
  const auto refuse = [&](Reason reason) {
    *why = reason;
    return false;
  };
  const std::size_t slash = text.find('/');
  if (slash == std::string::npos) return refuse(Reason::HALF_FIT);
  if (text.find('/', slash + 1) != std::string::npos) return refuse(Reason::FIT_SLASHES);
  if (text.find_first_of(" \t") != std::string::npos) return refuse(Reason::FIT_BLANK);
  const std::string bore = text.substr(0, slash), shaft = text.substr(slash + 1);
  fit = Fit();
  if (!parseSide(bore, "H", fit.bore, why)) return false;
  if (!fit.bore.letter && bore.find("..") == std::string::npos) return refuse(Reason::NO_BORE);
  if (!parseSide(shaft, SHAFT_LETTERS, fit.shaft, why)) return false;
  if (!fit.shaft.letter && shaft.find("..") == std::string::npos) return refuse(Reason::NO_SHAFT);
  return true;
}

bool clearanceBand(const Fit& fit, double diameter, double band[BAND_CASES], Reason* why) {
  int range = 0;
  while (range < RANGES && !(diameter <= RANGE_TOPS[range])) ++range;
  const bool iso = fit.bore.letter || fit.shaft.letter;
  if (iso && !(diameter > SMALLEST && range < RANGES)) {
    *why = Reason::FIT_DIAMETER;
    return false;
  }
  double boreLower, boreUpper, shaftLower, shaftUpper;
  deviations(fit.bore, range, boreLower, boreUpper);
  deviations(fit.shaft, range, shaftLower, shaftUpper);
  // The clearance is the bore less the shaft; um to mm.
  band[0] = (boreLower - shaftUpper) / 1000;
  band[2] = (boreUpper - shaftLower) / 1000;
  band[1] = (band[0] + band[2]) / 2;
  // An interference fit: the shaft is pressed into its bore, no bearing.
  if (!(band[2] > 0)) {
    *why = Reason::FIT_INTERFERENCE;
    return false;
  }
  return true;
}
