// The data set's two pages and the three result blocks, fixed to the byte.
#include "blocks/blocks.h"

#include "calc/stages.h"
#include "console/output.h"

void printBearingAndOilValues(const BearingData& data) {
  printText("momentan def. Werte 1:\n");
  printFormatted("Kraft   = %g N\n", data.load);
  printFormatted("Drehzahl= %g 1/min\n", data.speed);
  printFormatted("Durchm. = %g mm\n", data.diameter);
  printFormatted("Breite  = %g mm\n", data.width);
  printFormatted("Lagersp.= %g mm\n", data.clearance);
  printFormatted("dyn.Vis.= %g mPa*s\n", data.viscosity);
  printFormatted("Oeldruck= %g bar\n", data.supplyPressure);
  printFormatted("Oelzufu.= Fall %d\n", data.supplyCase);
  // "Oelbohr." also stands for the groove width of case 3.
  printFormatted("Oelbohr.= %g mm\n", data.supplySize);
}

void printTemperatureValues(const BearingData& data) {
  printText("momentan def. Werte 2:\n");
  printFormatted("OelEinT= %g GradC\n", data.oilInletTemp);
  printFormatted("OelAusT= %g GradC\n", data.oilOutletTemp);
  printFormatted("S-FilmT= %g GradC\n", data.filmTemp);
  printFormatted("al.Wel.= %g 1/K\n", data.alphaShaft);
  printFormatted("al.Lag.= %g 1/K\n", data.alphaBearing);
  // The limit film thickness, entered with 'b', is shown on this page.
  printFormatted("h0lim  = %g mm\n", data.h0Limit);
}

void printCharacteristics(const BearingResults& results) {
  printText("Ergebnisse 1.Teil\n");
  printFormatted("B/D= %g\n", results.widthRatio);
  printFormatted("u  = %g m/s\n", results.u);
  printFormatted("p  = %g N/mm2\n", results.pressure);
  printFormatted("psi= %g\n", results.psi);
  printFormatted("So = %g\n", results.so);
}

void printFilmGeometry(const BearingData& data, const BearingResults& results) {
  printFormatted("eps(%d)= %g\n", results.passes, results.eps);
  printFormatted("beta = %g Grad\n", results.beta);
  // Printed one above the other for the user to compare; no verdict.
  printFormatted("h0   = %g mm\n", results.h0);
  printFormatted("h0lim= %g mm\n", data.h0Limit);
}

void printOperatingResults(const BearingResults& results, bool outletTemp) {
  printText("\n");  // closes the line of the previous pause prompt
  printText(reynoldsConditionHolds(results) ? "Reynolds-Bed. erfuellt\n"
                                            : "Rey.Bed. nicht erfuellt\n");
  printFormatted("Re     = %g\n", results.re);
  printFormatted("my/psi = %g\n", results.frictionChar);
  printFormatted("Po     = %g W\n", results.frictionPower);
  printFormatted("Q1     = %g cm3/s\n", results.q1);
  printFormatted("Q2     = %g cm3/s\n", results.q2);
  printFormatted("Q      = %g cm3/s\n", results.q);
  if (outletTemp) printFormatted("OelAusT= %g Grad C\n", results.outletTempCalc);
  printFormatted("eps ue = %g \n", results.epsTransition);
  printFormatted("So ue  = %g \n", results.soTransition);
}
