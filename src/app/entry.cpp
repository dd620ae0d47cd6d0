// The entry commands: each asks for its group of values in a fixed order and
// stores every answer straight into the data set.
#include "app/entry.h"

#include "console/input.h"
#include "console/output.h"

namespace {

void askReal(const char* prompt, double& target) {
  printText(prompt);
  readNumber(target);
}

bool inRange(int value, int lo, int hi) { return value >= lo && value <= hi; }

// Asks until the field holds a value in lo..hi; the answer is stored before
// it is tested. Text that is no number leaves the field as it was. When the
// input ends the field gets back its value from before the question, or lo
// if that was not valid either.
void askChoice(const char* prompt, int& field, int lo, int hi) {
  const int before = field;
  for (;;) {
    printText(prompt);
    const NumberRead read = readNumber(field);
    if (inRange(field, lo, hi)) return;
    if (read == NumberRead::END_OF_INPUT) {
      field = inRange(before, lo, hi) ? before : lo;
      return;
    }
  }
}

}  // namespace

void enterLoadAndSpeed(BearingData& data) {
  askReal("Kraft[N]= ", data.load);
  askReal("\nDrehzahl[1/min]= ", data.speed);
}

void enterGeometry(BearingData& data) {
  askReal("Durchmesser[mm]= ", data.diameter);
  askReal("\nBreite[mm]= ", data.width);
  askReal("\nh0 lim[mm]= ", data.h0Limit);
}

void enterClearanceAndViscosity(BearingData& data) {
  askReal("Lagerspiel[mm]= ", data.clearance);
  askReal("\ndyn.Vis.[mPa*s]= ", data.viscosity);
}

void enterOilSupply(BearingData& data) {
  askReal("Oeldruck[bar]=", data.supplyPressure);
  printText("\nOelzufuehrung:\n");
  printText("1:S-Loch entgegen Last\n");
  printText("2:S-Loch 90 Grad zur Last\n");
  printText("3:Ringnut\n");
  askChoice("\nFall [1~3]:", data.supplyCase, SUPPLY_HOLE_OPPOSITE, SUPPLY_GROOVE);
  // Hole diameter in cases 1 and 2, groove width in case 3.
  askReal("\ndH bzw. bG[mm]= ", data.supplySize);
}

void enterTemperatures(BearingData& data) {
  askReal("OelEinT[GradC]=", data.oilInletTemp);
  askReal("\nOelAusT[GradC]=", data.oilOutletTemp);
  printFormatted("\n\nalpha Welle[1/K]=%g", data.alphaShaft);
  printFormatted("\nalpha Lager[1/K]=%g", data.alphaBearing);
  int change = -1;  // no answer yet: text that is no number asks again
  askChoice("\naendern? nein=0/ja=1:", change, 0, 1);
  if (change == 1) {
    askReal("\nalpha Welle[1/K]=", data.alphaShaft);
    askReal("\nalpha Lager[1/K]=", data.alphaBearing);
  }
  updateFilmTemp(data);
}

void enterEpsMode(BearingData& data) {
  askChoice("\neps iterativ=0/direkt=1:", data.epsMode, EPS_ITERATIVE, EPS_DIRECT);
}
