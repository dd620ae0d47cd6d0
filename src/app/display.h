// palimo's displays: the current data set on its two pages, and the end of
// a run whose B/D is out of range; the blocks themselves are in blocks/.
#pragma once

#include "blocks/blocks.h"

// 'w': every value but the eccentricity mode, on two pages.
void showCurrentValues(const BearingData& data);

// The two lines that end a run whose B/D lies outside 0.125 ... 1.
void printWidthRatioError();
