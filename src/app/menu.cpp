// Start text, main menu and its key dispatch, and the calculation run.
#include "app/menu.h"

#include <cstdio>

#include "calc/bearing_results.h"
#include "calc/sommerfeld.h"
#include "calc/stages.h"
#include "console/entry.h"
#include "console/keys.h"

void printStartText() {
  std::printf("PALIMO ist die PC-Version des gleichnamigen Rechenprogramms\n");
  std::printf("fuer programmierbare technisch-wissenschaftliche Taschenrechner.\n");
  std::printf("Es hat daher keine Windows-Funktionalitaet, sondern ist\n");
  std::printf("auf das Wesentliche reduziert: Eingabe-Rechnen-Ausgabe.\n\n");
  std::printf("Das offene Lehrmittelprojekt Maschinenelemente,\n");
  std::printf("ein Beispielprojekt, stellt Studenten eine Taschenrechner-\n");
  std::printf("Programm-Sammlung fuer Maschinenelemente bereit, die man \n");
  std::printf("-weil superkompakt- sozusagen immer dabei haben kann.\n");
  std::printf("https://www.example.org/palimo\n");
  std::printf("https://maschinenelemente.example.org\n");
}

void runCalculation(const BearingData& data) {
  BearingResults results;
  if (!computeCharacteristics(data, results)) return;
  solveEps(data, results);
  computeFilmGeometry(data, results);
  computeFriction(data, results);
  computeFlowAndHeat(data, results);
}

namespace {

void printMenu() {
  std::printf("Gleitlagerberech.,i Info\n");
  std::printf("F1 a Kraft,Drehzahl\n");
  std::printf("F2 b Durchm./Breite/h0lim\n");
  std::printf("F3 c Lagersp./dyn.Vis.\n");
  std::printf("F4 d Oeldruck/Zufuehrung\n");
  std::printf("F5 e Temp./Ausd.koef.\n");
  std::printf("F6 w momentan def. Werte\n");
  std::printf("   n eps iterativ/direkt\n");
  std::printf("F7 g Compute\n");
  std::printf("F8 q Exit\n");
}

void showIdentification() {
  std::printf(
      "PALIMO n. DIN 31652 T1/2, Lehrmittelprojekt Maschinenelemente, "
      "Stand 12/2026\n");
  pauseForKey();
}

}  // namespace

void runMenu(BearingData& data) {
  for (;;) {
    std::printf("\n");
    printMenu();
    const int key = readKey();
    switch (key) {
      case KEY_NONE:  // the input has ended: leave as on 'q'
      case 'q':
        return;
      case 'i':
        showIdentification();
        break;
      case 'a':
        enterLoadAndSpeed(data);
        break;
      case 'b':
        enterGeometry(data);
        break;
      case 'c':
        enterClearanceAndViscosity(data);
        break;
      case 'd':
        enterOilSupply(data);
        break;
      case 'e':
        enterTemperatures(data);
        break;
      case 'w':
        showCurrentValues(data);
        break;
      case 'n':
        enterEpsMode(data);
        break;
      case 'g':
        runCalculation(data);
        break;
      default:  // keys without a command, upper case included
        break;
    }
  }
}

int runProgram() {
  BearingData data = defaultBearingData();
  printStartText();
  runMenu(data);
  std::fflush(stdout);
  return 0;
}
