// The bearing as rotordynamics programs load it: the stiffness and damping
// of a study over the speed in a rotor model's frame, as a table of ROSS's
// BearingElement, in JSON or TOML.
#pragma once

#include <string>
#include <vector>

#include "balance/point.h"
#include "balance/refusal.h"

// What goes into the file, gathered point by point.
struct RotorFile {
  std::string path;  // its name gives the format: .json or .toml
  std::string tag;   // the element's tag; its name without folders and format by default
  long node = 0;     // the rotor model's node that the bearing sits at
  std::vector<double> frequency;   // the shaft's angular speed, rad/s
  std::vector<double> k[4], c[4];  // xx, xy, yx, yy: N/m and N s/m
  std::string missing;             // the speeds, 1/min, without values
};

// Whether the name ends in .json or .toml.
bool rotorFileFormat(const std::string& path);

// The element's tag that a file of that name takes by default.
std::string defaultRotorTag(const std::string& path);

// Adds the point of a study over the speed, or its speed to the missing.
void addRotorPoint(RotorFile& file, const Point& point);

// Writes the file. False, with why, where a point had no values (nothing
// is written then) or the file cannot be written.
bool writeRotorFile(const RotorFile& file, Refusal* why);
