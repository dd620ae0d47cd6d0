// The menu commands that change the data set.
#pragma once

#include "data/bearing_data.h"

// 'a': load and speed.
void enterLoadAndSpeed(BearingData& data);
// 'b': diameter, width and smallest permissible film thickness.
void enterGeometry(BearingData& data);
// 'c': bearing clearance and oil viscosity.
void enterClearanceAndViscosity(BearingData& data);
// 'd': supply pressure, supply case and the size of the supply element.
void enterOilSupply(BearingData& data);
// 'e': oil temperatures and, on request, the expansion coefficients; then
// the effective film temperature follows.
void enterTemperatures(BearingData& data);
// 'n': iterative or direct relative eccentricity.
void enterEpsMode(BearingData& data);
