// Defaults and the derived effective film temperature of the bearing data.
#include "data/bearing_data.h"

BearingData defaultBearingData() {
  BearingData data;
  updateFilmTemp(data);
  return data;
}

void updateFilmTemp(BearingData& data) {
  data.filmTemp = (data.oilOutletTemp + data.oilInletTemp) * 0.5;
}
