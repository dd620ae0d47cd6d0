// The blocks of a calculation as palimo prints them, and palimo-balance
// after its search: the data set as 'w' shows it, and the result blocks.
#pragma once

#include "calc/bearing_results.h"
#include "data/bearing_data.h"

// The two pages of 'w' without their pauses: the load, speed, geometry,
// oil and supply; then the temperatures, coefficients and h0lim.
void printBearingAndOilValues(const BearingData& data);
void printTemperatureValues(const BearingData& data);

// "Ergebnisse 1.Teil": the characteristic numbers.
void printCharacteristics(const BearingResults& results);

// The operating point, directly below the first block: eccentricity with its
// pass count, attitude angle, and the film thickness beside its limit.
void printFilmGeometry(const BearingData& data, const BearingResults& results);

// The whole second screen of a run: Reynolds check, friction, oil flows,
// outlet temperature and the transition to mixed friction; the outlet
// temperature left out where no oil flows through (a housing-cooled bearing).
void printOperatingResults(const BearingResults& results, bool outletTemp = true);
