// The rotor file: ROSS's BearingElement table, written by hand as JSON or
// TOML; a few keys and arrays need no library.
#include "balance/rotor_file.h"

#include "console/terminal.h"
#include "text/spell.h"

namespace {

bool endsWith(const std::string& text, const char* end) {
  const std::string tail = end;
  return text.size() > tail.size() &&
         text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

// An array of numbers, six digits for the coefficients as the CSV has them.
std::string array(const std::vector<double>& values, const char* format) {
  std::string text = "[";
  for (std::size_t i = 0; i < values.size(); ++i)
    text += (i ? ", " : "") + std::string(spellCell(values[i], format).text);
  return text + "]";
}

const char* const MATRIX_KEYS[4] = {"xx", "xy", "yx", "yy"};

}  // namespace

bool rotorFileFormat(const std::string& path) {
  return endsWith(path, ".json") || endsWith(path, ".toml");
}

std::string defaultRotorTag(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  return name.substr(0, name.rfind('.'));
}

void addRotorPoint(RotorFile& file, const Point& point) {
  const RotorValues& rotor = point.row.rotor;
  if (!point.balanced || !rotor.film.solved) {
    file.missing += (file.missing.empty() ? "" : ", ") +
                    std::string(spell(point.design.data.speed, "%.10g").text);
    return;
  }
  double k[2][2], c[2][2];
  toRotorFrame(rotor.stiffness, k);
  toRotorFrame(rotor.damping, c);
  file.frequency.push_back(point.row.results.omega);
  for (int m = 0; m < 4; ++m) {
    file.k[m].push_back(k[m / 2][m % 2]);
    file.c[m].push_back(c[m / 2][m % 2]);
  }
}

bool writeRotorFile(const RotorFile& file, Refusal* why) {
  why->where = file.path;
  why->option = -1;
  if (!file.missing.empty()) {
    why->reason = Reason::ROTOR_FILE_GAPS;
    why->speeds = file.missing;
    return false;
  }
  const bool json = endsWith(file.path, ".json");
  const std::string table = "BearingElement_" + file.tag;
  std::string text = json ? "{\n  " + quotedText(table) + ": {\n" : "[" + quotedText(table) + "]\n";
  const auto key = [&](const std::string& name, const std::string& value, bool last = false) {
    text += json ? "    " + quotedText(name) + ": " + value + (last ? "\n" : ",\n")
                 : name + " = " + value + "\n";
  };
  key("n", std::to_string(file.node));
  for (int m = 0; m < 4; ++m) key(std::string("k") + MATRIX_KEYS[m], array(file.k[m], "%.6g"));
  for (int m = 0; m < 4; ++m) key(std::string("c") + MATRIX_KEYS[m], array(file.c[m], "%.6g"));
  key("frequency", array(file.frequency, "%.10g"));
  key("tag", quotedText(file.tag));
  key("scale_factor", "1", true);
  if (json) text += "  }\n}\n";
  if (writeWholeFile(file.path.c_str(), text.data(), text.size())) return true;
  why->reason = Reason::CANNOT_WRITE;
  return false;
}
