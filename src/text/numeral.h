// Numerals as palimo reads them, from its input stream or from a text:
// [sign] digits, for a real also [. digits] [e [sign] digits]; a decimal
// point in every locale, any length read in fixed memory and rounded
// correctly, an overflow an infinity.
#pragma once

// Decimal digits kept of a numeral. A halfway point between two doubles has
// at most 767 significant digits, so 800 kept digits and a sticky digit for
// all the others round like the whole numeral.
constexpr int KEPT_DIGITS = 800;
// Digit counts and exponents saturate here, far beyond any double's range.
constexpr long long COUNT_LIMIT = 1000000000000000LL;

// A numeral as read: sign, significant digits (at most KEPT_DIGITS of them
// and whether a non-zero one was dropped), and the decimal exponent of the
// point before the first of them.
struct Numeral {
  bool negative = false;
  char digits[KEPT_DIGITS + 1] = {};
  int kept = 0;
  bool sticky = false;
  long long pointExponent = 0;
  bool anyDigit = false;
};

enum class NumberKind { INTEGER, REAL };

inline bool isDigit(int c) { return c >= '0' && c <= '9'; }

// Adds one digit before or after the point.
void takeDigit(Numeral& n, int c, bool afterPoint);
// Moves the point by a decimal exponent.
void addExponent(Numeral& n, long long exponent);

// Reads the numeral that begins with c, taking each further character from
// next() (EOF at the end). Returns the first character after it; valid
// tells whether it is a number (not a lone sign or point, not "1e").
template <typename Next>
int scanNumeral(NumberKind kind, Numeral& n, int c, Next next, bool& valid) {
  n.negative = c == '-';
  if (c == '+' || c == '-') c = next();
  for (; isDigit(c); c = next()) takeDigit(n, c, false);
  if (kind == NumberKind::REAL && c == '.')
    for (c = next(); isDigit(c); c = next()) takeDigit(n, c, true);
  valid = n.anyDigit;
  if (valid && kind == NumberKind::REAL && (c == 'e' || c == 'E')) {
    c = next();
    const bool negative = c == '-';
    if (c == '+' || c == '-') c = next();
    valid = isDigit(c);
    long long exponent = 0;
    for (; isDigit(c); c = next())
      exponent = exponent >= COUNT_LIMIT ? COUNT_LIMIT : exponent * 10 + (c - '0');
    addExponent(n, negative ? -exponent : exponent);
  }
  return c;
}

// The value of a numeral; an int outside int's range becomes its nearest
// limit.
double realValue(const Numeral& n);
int intValue(const Numeral& n);

// The whole text as one number; false, and value unchanged, if it is not.
bool parseNumber(const char* text, double& value);
bool parseNumber(const char* text, int& value);
