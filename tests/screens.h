// Screen texts that the end-to-end tests expect, byte for byte.
#pragma once

#include <string>

inline const std::string START_TEXT =
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

inline const std::string MENU =
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

inline const std::string PAUSE = "weiter mit bel.Taste..";

// The two screens of 'g' on the built-in data set, each with its pause.
inline const std::string DEFAULT_RUN_FIRST =
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
    PAUSE;

inline const std::string DEFAULT_RUN_SECOND =
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

inline const std::string DEFAULT_RUN = DEFAULT_RUN_FIRST + DEFAULT_RUN_SECOND;

inline const std::string IDENTIFICATION =
    "PALIMO n. DIN 31652 T1/2, Lehrmittelprojekt Maschinenelemente, Stand 12/2026\n";
