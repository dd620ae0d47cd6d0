// The displays: the current data set on two pages, and the three result
// blocks of a calculation run.
#include "console/display.h"

#include <cstdio>

#include "calc/stages.h"
#include "console/input.h"

void showCurrentValues(const BearingData& data) {
  std::fputs("momentan def. Werte 1:\n", stdout);
  std::printf("Kraft   = %g N\n", data.load);
  std::printf("Drehzahl= %g 1/min\n", data.speed);
  std::printf("Durchm. = %g mm\n", data.diameter);
  std::printf("Breite  = %g mm\n", data.width);
  std::printf("Lagersp.= %g mm\n", data.clearance);
  std::printf("dyn.Vis.= %g mPa*s\n", data.viscosity);
  std::printf("Oeldruck= %g bar\n", data.supplyPressure);
  std::printf("Oelzufu.= Fall %d\n", data.supplyCase);
  // "Oelbohr." also stands for the groove width of case 3.
  std::printf("Oelbohr.= %g mm\n", data.supplySize);
  pauseForKey();

  std::fputs("\nmomentan def. Werte 2:\n", stdout);  // "\n" ends the pause prompt's line
  std::printf("OelEinT= %g GradC\n", data.oilInletTemp);
  std::printf("OelAusT= %g GradC\n", data.oilOutletTemp);
  std::printf("S-FilmT= %g GradC\n", data.filmTemp);
  std::printf("al.Wel.= %g 1/K\n", data.alphaShaft);
  std::printf("al.Lag.= %g 1/K\n", data.alphaBearing);
  // The limit film thickness, entered with 'b', is shown on this page.
  std::printf("h0lim  = %g mm\n", data.h0Limit);
  pauseForKey();
}

void printCharacteristics(const BearingResults& results) {
  std::fputs("Ergebnisse 1.Teil\n", stdout);
  std::printf("B/D= %g\n", results.widthRatio);
  std::printf("u  = %g m/s\n", results.u);
  std::printf("p  = %g N/mm2\n", results.pressure);
  std::printf("psi= %g\n", results.psi);
  std::printf("So = %g\n", results.so);
}

void printWidthRatioError() {
  std::fputs("B/D zu klein/gross\n", stdout);
  std::fputs("0.125 >= B/D <= 1\n", stdout);
}

void printFilmGeometry(const BearingData& data, const BearingResults& results) {
  std::printf("eps(%d)= %g\n", results.passes, results.eps);
  std::printf("beta = %g Grad\n", results.beta);
  // Printed one above the other for the user to compare; no verdict.
  std::printf("h0   = %g mm\n", results.h0);
  std::printf("h0lim= %g mm\n", data.h0Limit);
}

void printFlowAndHeat(const BearingResults& results) {
  std::fputs("\n", stdout);  // closes the line of the previous pause prompt
  std::fputs(
      reynoldsConditionHolds(results) ? "Reynolds-Bed. erfuellt\n" : "Rey.Bed. nicht erfuellt\n",
      stdout);
  std::printf("Re     = %g\n", results.re);
  std::printf("my/psi = %g\n", results.frictionChar);
  std::printf("Po     = %g W\n", results.frictionPower);
  std::printf("Q1     = %g cm3/s\n", results.q1);
  std::printf("Q2     = %g cm3/s\n", results.q2);
  std::printf("Q      = %g cm3/s\n", results.q);
  std::printf("OelAusT= %g Grad C\n", results.outletTempCalc);
  std::printf("eps ue = %g \n", results.epsTransition);
  std::printf("So ue  = %g \n", results.soTransition);
}
