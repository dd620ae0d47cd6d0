// The display of the current data set.
#pragma once

#include "data/bearing_data.h"

// 'w': every value but the eccentricity mode, on two pages.
void showCurrentValues(const BearingData& data);
