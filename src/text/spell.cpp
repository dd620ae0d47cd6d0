// Numbers as text, the same on every platform.
#include "text/spell.h"

#include <cmath>
#include <cstdio>

Spelled spell(double value, const char* format) {
  Spelled spelled;
  if (std::isnan(value))
    std::snprintf(spelled.text, sizeof spelled.text, "nan");
  else if (std::isinf(value))
    std::snprintf(spelled.text, sizeof spelled.text, value > 0 ? "inf" : "-inf");
  else
    std::snprintf(spelled.text, sizeof spelled.text, format, value);
  return spelled;
}

std::string quotedText(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) {
    if (c == '"' || c == '\\') {
      out += std::string("\\") + c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", c);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

Spelled spellCell(double value, const char* format) {
  return spell(value == 0 ? 0 : value, format);
}
