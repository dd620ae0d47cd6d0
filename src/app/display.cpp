// palimo's displays: the current data set on two pages, with a pause after
// each, and the end of a run whose B/D is out of range.
#include "app/display.h"

#include "console/input.h"
#include "console/output.h"

void showCurrentValues(const BearingData& data) {
  printBearingAndOilValues(data);
  pauseForKey();
  printText("\n");  // ends the pause prompt's line
  printTemperatureValues(data);
  pauseForKey();
}

void printWidthRatioError() {
  printText("B/D zu klein/gross\n");
  printText("0.125 >= B/D <= 1\n");
}
