// The digits, exponent and value of a numeral, and a whole text as a number.
#include "text/numeral.h"

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>

namespace {

// A decimal exponent beyond this gives an infinity or zero in any case.
constexpr long long EXPONENT_LIMIT = 1000;

long long addSaturated(long long a, long long b) {
  const long long sum = a + b;  // both are within COUNT_LIMIT, so no overflow
  return sum > COUNT_LIMIT ? COUNT_LIMIT : sum < -COUNT_LIMIT ? -COUNT_LIMIT : sum;
}

template <typename Target>
bool parse(const char* text, NumberKind kind, Target& value, Target (*valueOf)(const Numeral&)) {
  const auto charAt = [&](std::size_t i) {
    return text[i] == '\0' ? EOF : static_cast<unsigned char>(text[i]);
  };
  std::size_t at = 0;
  const auto next = [&] { return text[at] == '\0' ? EOF : charAt(++at); };
  Numeral n;
  bool valid = false;
  if (scanNumeral(kind, n, charAt(0), next, valid) != EOF || !valid) return false;
  value = valueOf(n);
  return true;
}

}  // namespace

// Leading zeros are not significant: before the point they are skipped,
// after it they move the point.
void takeDigit(Numeral& n, int c, bool afterPoint) {
  n.anyDigit = true;
  if (n.kept == 0 && !n.sticky && c == '0') {
    if (afterPoint) n.pointExponent = addSaturated(n.pointExponent, -1);
    return;
  }
  if (n.kept < KEPT_DIGITS)
    n.digits[n.kept++] = static_cast<char>(c);
  else if (c != '0')
    n.sticky = true;
  if (!afterPoint) n.pointExponent = addSaturated(n.pointExponent, 1);
}

void addExponent(Numeral& n, long long exponent) {
  n.pointExponent = addSaturated(n.pointExponent, exponent);
}

double realValue(const Numeral& n) {
  // A short normalized form, 0.DIGITS[1]eEXP, that every C library converts
  // the same; the program never sets a locale, so strtod reads a point.
  char text[KEPT_DIGITS + 32];
  long long exponent = n.pointExponent;
  if (exponent > EXPONENT_LIMIT) exponent = EXPONENT_LIMIT;
  if (exponent < -EXPONENT_LIMIT) exponent = -EXPONENT_LIMIT;
  std::snprintf(text, sizeof text, "%s0.%s%se%lld", n.negative ? "-" : "", n.digits,
                n.sticky ? "1" : "", n.kept == 0 ? 0 : exponent);
  return std::strtod(text, nullptr);
}

int intValue(const Numeral& n) {
  // More digits than any int has saturate at once.
  long long value = LLONG_MAX;
  if (n.kept <= 10) {
    value = 0;
    for (int i = 0; i < n.kept; ++i) value = value * 10 + (n.digits[i] - '0');
  }
  if (n.negative) value = -value;
  return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

bool parseNumber(const char* text, double& value) {
  return parse(text, NumberKind::REAL, value, realValue);
}

bool parseNumber(const char* text, int& value) {
  return parse(text, NumberKind::INTEGER, value, intValue);
}
