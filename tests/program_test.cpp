// The whole program driven by a script through a pipe, screen text compared
// byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "program_runner.h"

namespace {

const std::string START_TEXT =
    "PALIMO ist die PC-Version des gleichnamigen Rechenprogramms\n"
    "fuer programmierbare technisch-wissenschaftliche Taschenrechner.\n"
    "Es hat daher keine Windows-Funktionalitaet, sondern ist\n"
    "auf das Wesentliche reduziert: Eingabe-Rechnen-Ausgabe.\n"
    "\n"
    "Das offene Lehrmittelprojekt Maschinenelemente,\n"
    "ein Beispielprojekt, stellt Studenten eine Taschenrechner-\n"
    "Programm-Sammlung fuer Maschinenelemente bereit, die man \n"
    "-weil superkompakt- sozusagen immer dabei haben kann.\n"
    "https://www.example.org/palimo\n"
    "https://maschinenelemente.example.org\n";

const std::string MENU =
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

const std::string PAUSE = "weiter mit bel.Taste..";

const std::string DEFAULT_RUN =
    "Ergebnisse 1.Teil\n"
    "B/D= 0.5\n"
    "u  = 12.5664 m/s\n"
    "p  = 5 N/mm2\n"
    "psi= 0.001576\n"
    "So = 2.19614\n"
    "eps(13)= 0.822962\n"
    "beta = 29.2025 Grad\n"
    "h0   = 0.0167407 mm\n"
    "h0lim= 0.005 mm\n" +
    PAUSE +
    "\n"
    "Reynolds-Bed. erfuellt\n"
    "Re     = 39.6092\n"
    "my/psi = 2.7521\n"
    "Po     = 1962.15 W\n"
    "Q1     = 55.4033 cm3/s\n"
    "Q2     = 16.2692 cm3/s\n"
    "Q      = 71.6725 cm3/s\n"
    "OelAusT= 73.2093 Grad C\n"
    "eps ue = 0.947124 \n"
    "So ue  = 13.0805 \n" +
    PAUSE;

const std::string IDENTIFICATION =
    "PALIMO n. DIN 31652 T1/2, Lehrmittelprojekt Maschinenelemente, Stand 12/2026\n";

TEST(ProgramTest, InfoIgnoredKeyCalculationAndQuitShowTheExactScreen) {
  const ProgramRun run = runWithPipedInput("i\n \np\nA x\ng\n\n\n.\n-\nq\n");
  EXPECT_EQ(START_TEXT + MENU + IDENTIFICATION + PAUSE + MENU + MENU + MENU +
                DEFAULT_RUN + MENU,
            run.output);
  EXPECT_TRUE(run.exited);
  EXPECT_EQ(0, run.exitStatus);
}

TEST(ProgramTest, QuitAsFirstKeyEndsAtOnce) {
  const ProgramRun run = runWithPipedInput("q g");
  EXPECT_EQ(START_TEXT + MENU, run.output);
  EXPECT_EQ(0, run.exitStatus);
}

// Wherever the input ends, the program ends as on 'q', with success.
TEST(ProgramTest, InputThatEndsEarlyEndsTheProgramWithSuccess) {
  const struct {
    const char* input;
    std::string screen;
  } cases[] = {
      {"", START_TEXT + MENU},
      {"  \n\t\r\n", START_TEXT + MENU},
      {"i", START_TEXT + MENU + IDENTIFICATION + PAUSE + MENU},
      {"g", START_TEXT + MENU + DEFAULT_RUN.substr(0, DEFAULT_RUN.find(PAUSE) + PAUSE.size()) +
                DEFAULT_RUN.substr(DEFAULT_RUN.find(PAUSE) + PAUSE.size()) + MENU},
      {"g x", START_TEXT + MENU + DEFAULT_RUN + MENU},
  };
  for (const auto& c : cases) {
    const ProgramRun run = runWithPipedInput(c.input, 5000);
    EXPECT_FALSE(run.timedOut) << '"' << c.input << '"';
    EXPECT_TRUE(run.exited) << '"' << c.input << '"';
    EXPECT_EQ(0, run.exitStatus) << '"' << c.input << '"';
    EXPECT_EQ(c.screen, run.output) << '"' << c.input << '"';
  }
}

TEST(ProgramTest, TwoCalculationsInARowPrintTheSame) {
  const ProgramRun run = runWithPipedInput("g..g..q");
  EXPECT_EQ(START_TEXT + MENU + DEFAULT_RUN + MENU + DEFAULT_RUN + MENU, run.output);
}

}  // namespace
