// The 'w' command: the current data set on two pages.
#include "console/display.h"

#include <cstdio>

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
