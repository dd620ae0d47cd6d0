// Start text, main menu and its key dispatch, and the calculation run.
#include "app/menu.h"

#include "app/display.h"
#include "app/entry.h"
#include "calc/bearing_results.h"
#include "calc/stages.h"
#include "console/input.h"
#include "console/output.h"
#include "console/terminal.h"

namespace {

// The ten lines that greet the user once at start.
const char START_TEXT[] =
    "PALIMO ist die PC-Version des gleichnamigen Rechenprogramms\n"
    "fuer programmierbare technisch-wissenschaftliche Taschenrechner.\n"
    "Es hat daher keine Windows-Funktionalitaet, sondern ist\n"
    "auf das Wesentliche reduziert: Eingabe-Rechnen-Ausgabe.\n\n"
    "Das offene Lehrmittelprojekt Maschinenelemente,\n"
    "ein Beispielprojekt, stellt Studenten eine Taschenrechner-\n"
    "Programm-Sammlung fuer Maschinenelemente bereit, die man \n"
    "-weil superkompakt- sozusagen immer dabei haben kann.\n"
    "https://www.example.org/palimo\n"
    "https://maschinenelemente.example.org\n";

// The menu with the line end before it; the F-key labels are printed only.
const char MENU[] =
    "\n"
    "Gleitlagerberech.,i Info\n"
    "F1 a Kraft,Drehzahl\n"
    "F2 b Durchm./Breite/h0lim\n"
    "F3 c Lagersp./dyn.Vis.\n"
    "F4 d Oeldruck/Zufuehrung\n"
    "F5 e Temp./Ausd.koef.\n"
    "F6 w momentan def. Werte\n"
    "   n eps iterativ/direkt\n"
    "F7 g Compute\n"
    "F8 q Exit\n";

void showIdentification() {
  printText(
      "PALIMO n. DIN 31652 T1/2, Lehrmittelprojekt Maschinenelemente, "
      "Stand 12/2026\n");
  pauseForKey();
}

// Shows the menu and dispatches one key after another until 'q' or the end
// of input.
void runMenu(BearingData& data) {
  for (;;) {
    printText(MENU);
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

}  // namespace

void runCalculation(const BearingData& data) {
  BearingResults results;
  const bool widthRatioValid = calculateBearing(data, results);
  printCharacteristics(results);
  if (!widthRatioValid) {
    printWidthRatioError();
    pauseForKey();
    return;
  }
  printFilmGeometry(data, results);
  pauseForKey();
  printOperatingResults(results);
  pauseForKey();
}

int runProgram() {
  openConsole();
  BearingData data = defaultBearingData();
  printText(START_TEXT);
  runMenu(data);
  flushOutput();
  closeConsole();
  return 0;
}
