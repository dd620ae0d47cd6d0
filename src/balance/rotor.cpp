// The film's coefficients at a balanced point, in the units of a rotor
// model, and how the screen and the CSV show them.
#include "balance/rotor.h"

#include "balance/report.h"
#include "console/output.h"

RotorValues rotorValues(const BearingData& data, const BearingResults& results) {
  RotorValues v;
  v.film = rotorCoefficients({results.widthRatio, COEFFICIENT_GRID}, results.so, results.eps);
  const double force = data.load;                                   // N
  const double clearance = results.psi * data.diameter / 2 / 1000;  // radial, m
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      v.stiffness[i][j] = v.film.stiffness[i][j] * force / clearance;
      v.damping[i][j] = v.film.damping[i][j] * force / (clearance * results.omega);
    }
  return v;
}

namespace {

// Two rows of a 2 x 2 matrix, u and v, each headed by its first column.
void printMatrix(const char* head, const char* letter, const double m[2][2], const char* format) {
  const char* const uv = "uv";
  for (int i = 0; i < 2; ++i)
    printFormatted("%-10s%s%cu= %-13s%s%cv= %s\n", i == 0 ? head : "", letter, uv[i],
                   spell(m[i][0], format).text, letter, uv[i], spell(m[i][1], format).text);
}

}  // namespace

void printRotorBlock(const RotorValues& rotor, const BearingResults& results) {
  const RotorCoefficients& f = rotor.film;
  printText("\nSteifigkeit und Daempfung (Reynolds-Gl., 360 Grad, u in Lastrichtung):\n");
  if (!f.solved) {
    printFormatted("kein Gleichgewicht des Films fuer eps von %g bis %g bei So= %s\n",
                   LOWEST_REYNOLDS_EPS, HIGHEST_REYNOLDS_EPS, spell(results.so).text);
    return;
  }
  printFormatted("Gleichgewicht des Films: eps= %s, beta= %s Grad\n", spell(f.eps).text,
                 spell(f.beta).text);
  printFormatted("nach DIN 31652:          eps= %s, beta= %s Grad\n", spell(results.eps).text,
                 spell(results.beta).text);
  printMatrix("K*c/F", "K", f.stiffness, "%g");
  printMatrix("C*c*w/F", "C", f.damping, "%g");
  printMatrix("k[N/m]", "k", rotor.stiffness, "%g");
  printMatrix("d[Ns/m]", "d", rotor.damping, "%g");
  printFormatted("Stabilitaetsgrenze: Wirbel/Drehfrequenz= %s, m*c*w^2/F= %s\n",
                 spell(f.whirlRatio).text, spell(f.stabilityMass).text);
}

const char ROTOR_COLUMNS[] =
    ",reynoldsEps,reynoldsBeta,stiffUU,stiffUV,stiffVU,stiffVV,dampUU,dampUV,dampVU,dampVV"
    ",kUU,kUV,kVU,kVV,dUU,dUV,dVU,dVV,whirlRatio,stabilityMass";

void printRotorCells(const RotorValues* rotor) {
  if (!rotor || !rotor->film.solved) {
    printText(",,,,,,,,,,,,,,,,,,,,");  // one a column
    return;
  }
  const RotorCoefficients& f = rotor->film;
  // Six digits: the grid holds the coefficients to about 1 %, and six
  // are the same on every platform.
  auto cell = [](double value) {
    printFormatted(",%s", spell(value == 0 ? 0 : value, "%.6g").text);
  };
  cell(f.eps), cell(f.beta);
  for (const auto* m : {&f.stiffness, &f.damping, &rotor->stiffness, &rotor->damping})
    for (int i = 0; i < 2; ++i)
      for (int j = 0; j < 2; ++j) cell((*m)[i][j]);
  cell(f.whirlRatio), cell(f.stabilityMass);
}
