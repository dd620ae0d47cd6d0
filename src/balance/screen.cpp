// The screens of palimo-balance, from calculated points. The blocks that
// palimo prints are printed by its own printers; the lines of the search,
// the balances and the checks spell a value that is not a number one way
// everywhere.
#include "balance/screen.h"

#include <cmath>
#include <initializer_list>
#include <string>

#include "blocks/blocks.h"
#include "console/output.h"
#include "text/spell.h"

namespace {

const char* holds(bool check) { return check ? "erfuellt" : "nicht erfuellt"; }

// The sought temperature's name, padded to the columns of the screen.
std::string padded(const Cooling& cooling) {
  std::string name = soughtName(cooling);
  name.resize(7, ' ');
  return name;
}

// The oil as used, where a grade or an index gave it: nu40 and nu100, so
// that the --nu options alone give the same point.
void printOil(const Design& design) {
  if (design.grade.empty() && std::isnan(design.vi)) return;
  printFormatted("Oel: nu40= %s mm2/s", spell(design.oil.nu40).text);
  if (!design.grade.empty()) printFormatted(" (ISO %s)", design.grade.c_str());
  printFormatted(", nu100= %s mm2/s", spell(design.oil.nu100, "%.10g").text);
  if (!std::isnan(design.vi)) printFormatted(" (VI %s)", spell(design.vi).text);
  printText("\n");
}

// A bore other than the plain one: its name and values, and that its
// point is its film's.
void printBore(const Design& design) {
  if (!byFilm(design)) return;
  const Bore b = designBore(design);
  printFormatted("Bohrung: %s, %d Segment%s zu %s Grad, theta0= %s Grad, m= %s, a= %s\n",
                 design.boreName.c_str(), b.lobes, b.lobes == 1 ? "" : "e", spell(b.arc).text,
                 spell(b.lobeAngle).text, spell(b.preload).text, spell(b.offset).text);
  printText(
      "eps, beta, h0, Reibung, Q, eps ue, So ue und n ue aus dem Schmierfilm (Reynolds-Gl.)\n");
  // DIN 31652's split of Q holds for the plain bore alone.
  printText("Nuten bei Umgebungsdruck, Q ohne Druckstrom des Zulaufs; Q1, Q2: nan\n");
}

// The search, one line a calculation, headed by the temperature sought.
void printSearch(const HeatBalance& balance, const Cooling& cooling) {
  const char* const titles[] = {"", " ueber das Gehaeuse", " ueber Oel und Gehaeuse"};
  printFormatted("Waermebilanz%s, dyn.Vis. nach Ubbelohde-Walther\n",
                 titles[static_cast<int>(cooling.mode)]);
  printFormatted("Nr. %s    S-FilmT    dyn.Vis.   %s ber.\n", padded(cooling).c_str(),
                 soughtName(cooling));
  printText("    GradC      GradC      mPa*s      GradC\n");
  const int shown = balance.stepCount < MAX_BALANCE_STEPS ? balance.stepCount : MAX_BALANCE_STEPS;
  for (int i = 0; i < shown; ++i) {
    const BalanceStep& step = balance.steps[i];
    printFormatted("%3d %-10s %-10s %-10s %s\n", i + 1, spell(step.assumedOutlet).text,
                   spell(step.filmTemp).text, spell(step.viscosity).text,
                   spell(step.calculatedOutlet).text);
  }
  if (shown < balance.stepCount)
    printFormatted("... %d weitere Rechnungen\n", balance.stepCount - shown);
}

// The balance reported, how far the calculation misses it, and the others;
// where the housing gives heat off, the two heat flows.
void printBalances(const Point& point) {
  const HeatBalance& balance = point.balance;
  const Cooling& cooling = point.design.cooling;
  const BalancePoint& first = balance.balances[0];
  const char* name = soughtName(cooling);
  printFormatted("Bilanz geschlossen: %s= %s GradC%s\n", name, spell(first.outletTemp).text,
                 first.rising ? ", instabil" : "");
  printFormatted("Abweichung: %s ber.-%s= %s K%s\n", name, name, spell(point.found.gap).text,
                 first.jump ? ", Sprung ueber 0.001 K" : "");
  if (cooling.mode != CoolingMode::OIL) {
    printFormatted("Waermestroeme: Gehaeuse= %s W, Oel= %s W\n",
                   spell(point.found.housingHeat).text, spell(point.found.oilHeat).text);
  }
  const int kept = balance.balanceCount < MAX_BALANCES ? balance.balanceCount : MAX_BALANCES;
  for (int i = 1; i < kept; ++i) {
    const BalancePoint& other = balance.balances[i];
    printFormatted("weitere Bilanz: %s= %s GradC, h0= %s mm, %s\n", name,
                   spell(other.outletTemp).text, spell(other.h0).text,
                   other.rising ? "instabil" : "stabil");
  }
  if (kept < balance.balanceCount)
    printFormatted("... %d weitere Bilanzen\n", balance.balanceCount - kept);
}

void printChecks(const Point& point) {
  const BearingData& d = point.found.data;
  const BearingResults& r = point.found.results;
  const Checks& checks = point.found.checks;
  const Limits& limits = point.design.limits;
  const Cooling& cooling = point.design.cooling;
  printText("\nPruefung am Bilanzpunkt:\n");
  printFormatted("h0     = %s mm >= h0lim= %s mm: %s\n", spell(r.h0).text, spell(d.h0Limit).text,
                 holds(checks.film));
  printFormatted("Re     = %s <= Re kr= %s: %s\n", spell(r.re).text, spell(r.reCrit).text,
                 holds(checks.laminar));
  if (!std::isnan(limits.outletTemp))
    printFormatted("%s= %s GradC <= %s GradC: %s\n", padded(cooling).c_str(),
                   spell(d.oilOutletTemp).text, spell(limits.outletTemp).text, holds(checks.temp));
  if (!std::isnan(limits.load))
    printFormatted("p      = %s N/mm2 <= %s N/mm2: %s\n", spell(r.pressure).text,
                   spell(limits.load).text, holds(checks.load));
  printFormatted("n ue   = %s 1/min, n/n ue= %s\n", spell(checks.speedTransition).text,
                 spell(d.speed / checks.speedTransition).text);
}

// Two rows of a 2 x 2 matrix, u and v, each headed by its first column.
void printMatrix(const char* head, const char* letter, const double m[2][2], const char* format) {
  const char* const uv = "uv";
  for (int i = 0; i < 2; ++i)
    printFormatted("%-10s%s%cu= %-13s%s%cv= %s\n", i == 0 ? head : "", letter, uv[i],
                   spell(m[i][0], format).text, letter, uv[i], spell(m[i][1], format).text);
}

// The rotor's block, with DIN 31652's eccentricity and attitude angle
// beside the film's own; a bore's point is its film's, the equilibrium the
// same.
void printRotorBlock(const Design& design, const RotorValues& rotor,
                     const BearingResults& results) {
  const RotorCoefficients& f = rotor.film;
  if (!byFilm(design)) {
    printText("\nSteifigkeit und Daempfung (Reynolds-Gl., 360 Grad, u in Lastrichtung):\n");
  } else {
    printFormatted("\nSteifigkeit und Daempfung (Reynolds-Gl., Bohrung %s, u in Lastrichtung):\n",
                   design.boreName.c_str());
  }
  if (!f.solved && byFilm(design)) {
    printFormatted("kein Gleichgewicht des Films bei So= %s\n", spell(results.so).text);
    return;
  }
  if (!f.solved) {
    printFormatted("kein Gleichgewicht des Films fuer eps von %g bis %g bei So= %s\n",
                   LOWEST_REYNOLDS_EPS, HIGHEST_REYNOLDS_EPS, spell(results.so).text);
    return;
  }
  printFormatted("Gleichgewicht des Films: eps= %s, beta= %s Grad\n", spell(f.eps).text,
                 spell(f.beta).text);
  if (!byFilm(design))
    printFormatted("nach DIN 31652:          eps= %s, beta= %s Grad\n", spell(results.eps).text,
                   spell(results.beta).text);
  printMatrix("K*c/F", "K", f.stiffness, "%g");
  printMatrix("C*c*w/F", "C", f.damping, "%g");
  printMatrix("k[N/m]", "k", rotor.stiffness, "%g");
  printMatrix("d[Ns/m]", "d", rotor.damping, "%g");
  printFormatted("Stabilitaetsgrenze: Wirbel/Drehfrequenz= %s, m*c*w^2/F= %s\n",
                 spell(f.whirlRatio).text, spell(f.stabilityMass).text);
  printFormatted("Grenzmasse= %s kg\n", spell(rotor.thresholdMass).text);
}

// The threshold speed in one line: where the rotor stops being stable, or
// that it is stable, or unstable, over the range sought.
void printThreshold(const Threshold& t) {
  const Spelled lowest = spell(t.lowest), highest = spell(t.highest), mass = spell(t.mass);
  switch (t.outcome) {
    case ThresholdOutcome::FOUND:
      printFormatted("stabil bis n= %s 1/min (Rotormasse am Lager %s kg)\n", spell(t.speed).text,
                     mass.text);
      return;
    case ThresholdOutcome::STABLE:
      printFormatted("stabil von n= %s bis %s 1/min (Rotormasse am Lager %s kg)\n", lowest.text,
                     highest.text, mass.text);
      return;
    case ThresholdOutcome::UNSTABLE:
      printFormatted(
          "instabil schon bei n= %s 1/min, der kleinsten gesuchten Drehzahl "
          "(Rotormasse am Lager %s kg)\n",
          lowest.text, mass.text);
      return;
    case ThresholdOutcome::UNDETERMINED:
      printFormatted(
          "Grenzdrehzahl nicht bestimmt: bei n= %s 1/min keine Bilanz oder kein "
          "Gleichgewicht des Films\n",
          spell(t.speed).text);
      return;
  }
}

// The threshold at the band's ends: the speed, or in words.
const char* thresholdCell(const Threshold& t, Spelled& cell) {
  switch (t.outcome) {
    case ThresholdOutcome::FOUND:
      cell = spell(t.speed);
      return cell.text;
    case ThresholdOutcome::STABLE:
      return "stabil";
    case ThresholdOutcome::UNSTABLE:
      return "instabil";
    case ThresholdOutcome::UNDETERMINED:
      break;
  }
  return "nicht best.";
}

// The rotor's values at the band's three clearances: the film's
// eccentricity, the dimensional coefficients and the threshold. An end
// whose film finds no equilibrium says so in its column, with a note below.
template <typename Line>
void printBandRotor(const std::vector<Point>& band, const Line& line) {
  const auto rotor = [&](int k) -> const RotorValues& {
    return band[static_cast<std::size_t>(k)].found.rotor;
  };
  bool unsolved = false;
  for (int k = 0; k < BAND_CASES; ++k) unsolved = unsolved || !rotor(k).film.solved;
  Spelled cells[BAND_CASES];
  const auto numbers = [&](const char* label, const auto& value) {
    for (int k = 0; k < BAND_CASES; ++k)
      cells[k] = rotor(k).film.solved ? spell(value(k)) : Spelled{"-"};
    line(label, [&](int k) { return cells[k].text; });
  };
  line("eps Film", [&](int k) {
    cells[k] = spell(rotor(k).film.eps);
    return rotor(k).film.solved ? cells[k].text : "kein Gleichg.";
  });
  const char* const uv[] = {"uu", "uv", "vu", "vv"};
  for (int m = 0; m < 8; ++m) {
    const std::string label =
        std::string(m < 4 ? "k" : "d") + uv[m % 4] + (m < 4 ? " N/m" : " Ns/m");
    numbers(label.c_str(), [&](int k) {
      const double(&values)[2][2] = m < 4 ? rotor(k).stiffness : rotor(k).damping;
      return values[m % 4 / 2][m % 2];
    });
  }
  numbers("Wirbelverh.", [&](int k) { return rotor(k).film.whirlRatio; });
  numbers("m*c*w^2/F", [&](int k) { return rotor(k).film.stabilityMass; });
  numbers("Grenzm. kg", [&](int k) { return rotor(k).thresholdMass; });
  if (band[0].design.thresholdSpeed)
    line("n Grenze 1/min", [&](int k) {
      return thresholdCell(band[static_cast<std::size_t>(k)].threshold, cells[k]);
    });
  if (unsolved && byFilm(band[0].design))
    printText("kein Gleichg.: kein Gleichgewicht des Films\n");
  else if (unsolved)
    printFormatted("kein Gleichg.: kein Gleichgewicht des Films fuer eps von %g bis %g\n",
                   LOWEST_REYNOLDS_EPS, HIGHEST_REYNOLDS_EPS);
}

}  // namespace

void printScreen(const Point& point) {
  const Evaluation& found = point.found;
  printOil(point.design);
  printBore(point.design);
  printSearch(point.balance, point.design.cooling);
  printBalances(point);
  printText("\n");
  printBearingAndOilValues(found.data);
  printText("\n");
  printTemperatureValues(found.data);
  printText("\n");
  printCharacteristics(found.results);
  printFilmGeometry(found.data, found.results);
  // With the housing alone the oil only wets the bearing: palimo's outlet
  // temperature of oil flowing through has no meaning there.
  printOperatingResults(found.results, point.design.cooling.mode != CoolingMode::HOUSING);
  printChecks(point);
  if (point.design.coefficients) printRotorBlock(point.design, found.rotor, found.results);
  if (point.design.thresholdSpeed) printThreshold(point.threshold);
}

void printBandScreen(const std::vector<Point>& band) {
  const Design& design = band[0].design;
  const auto found = [&](int k) -> const Evaluation& {
    return band[static_cast<std::size_t>(k)].found;
  };
  printBore(design);
  printFormatted("Passung %s bei D= %s mm, Lagerspiel bei 20 GradC:\n", design.fit.c_str(),
                 spell(design.data.diameter).text);
  const auto line = [](const char* label, const auto& value) {
    printFormatted("%-15s", label);
    for (int k = 0; k < BAND_CASES; ++k)
      printFormatted(k < BAND_CASES - 1 ? "%-15s" : "%s", value(k));
    printText("\n");
  };
  const char* const heads[] = {"kleinstes", "mittleres", "groesstes"};
  line("", [&](int k) { return heads[k]; });
  Spelled cells[BAND_CASES];
  const auto numbers = [&](const char* label, const auto& value) {
    for (int k = 0; k < BAND_CASES; ++k) cells[k] = spell(value(k));
    line(label, [&](int k) { return cells[k].text; });
  };
  numbers("Lagersp. mm", [&](int k) { return found(k).data.clearance; });
  const auto result = [&](const char* label, double BearingResults::*field) {
    numbers(label, [&](int k) { return found(k).results.*field; });
  };
  result("psi", &BearingResults::psi);
  numbers((soughtName(design.cooling) + std::string(" GradC")).c_str(),
          [&](int k) { return found(k).data.oilOutletTemp; });
  result("h0 mm", &BearingResults::h0);
  result("So", &BearingResults::so);
  result("eps", &BearingResults::eps);
  result("Po W", &BearingResults::frictionPower);
  result("Q cm3/s", &BearingResults::q);
  numbers("n ue 1/min", [&](int k) { return found(k).checks.speedTransition; });
  const auto check = [&](const char* label, bool Checks::*member) {
    line(label, [&](int k) { return holds(found(k).checks.*member); });
  };
  check("h0 >= h0lim", &Checks::film);
  check("Re <= Re kr", &Checks::laminar);
  if (!std::isnan(design.limits.outletTemp))
    check((soughtName(design.cooling) + std::string(" <= Gr.")).c_str(), &Checks::temp);
  if (!std::isnan(design.limits.load)) check("p <= Grenze", &Checks::load);
  if (design.coefficients) printBandRotor(band, line);
  const std::string verdict = verdictText(failedAtAny(band));
  printFormatted(
      "Urteil ueber das Spiel: %s%s\n",
      verdict == "ok" ? "erfuellt" : "nicht erfuellt: ", verdict == "ok" ? "" : verdict.c_str());
}

namespace {

// Why a point has no balance, in English and in German; each %s is filled
// in turn.
struct Words {
  const char* english;
  const char* german;
};
const Words BAND_END = {"the fit's %s clearance, %s mm, has no balanced point:",
                        "das %s Spiel der Passung, %s mm, hat keinen Bilanzpunkt:"};
const Words END_NAMES[BAND_CASES] = {
    {"smallest", "kleinste"}, {"mean", "mittlere"}, {"largest", "groesste"}};
const Words WIDTH_RATIO = {"B/D = %s lies outside 0.125 ... 1",
                           "B/D = %s liegt ausserhalb 0.125 ... 1"};
const Words NO_NUMBER = {"the calculation gives no %s (%s= %s) at an assumed %s GradC",
                         "die Rechnung gibt keine %s (%s= %s) bei angenommenen %s GradC"};
const Words SOUGHT[] = {{"outlet temperature", "Austrittstemperatur"},
                        {"bearing temperature", "Lagertemperatur"}};
const Words SEIZED_AT_20 = {
    "no film: the clearance at 20 C, %s mm, is not above zero: the shaft is seized",
    "kein Film: das Spiel bei 20 C, %s mm, ist nicht ueber null: die Welle sitzt fest"};
const Words SEIZED_AT_START = {
    "no film: the effective clearance is not above zero at %s GradC, the %s temperature, "
    "where the bearing starts: the shaft is seized",
    "kein Film: das wirksame Spiel ist bei %s GradC, der %s, wo das Lager beginnt, nicht "
    "ueber null: die Welle sitzt fest"};
const Words STARTS_AT[] = {{"oil's inlet", "Zulauftemperatur des Oels"},
                           {"ambient", "Umgebungstemperatur"}};
const Words NO_FILM = {
    "no film: the effective clearance is not above zero between %s and %s GradC",
    "kein Film: das wirksame Spiel ist zwischen %s und %s GradC nicht ueber null"};
const Words NO_EQUILIBRIUM = {
    "no equilibrium: the bore's film carries the load nowhere between %s and %s GradC",
    "kein Gleichgewicht: der Film der Bohrung traegt die Last zwischen %s und %s GradC "
    "nirgends"};
const Words CLOSES = {
    "the clearance closes at about %s GradC without a heat balance: from %s GradC up to "
    "there the calculated %s stays %s the assumed one",
    "das Spiel schliesst sich bei etwa %s GradC ohne Waermebilanz: von %s GradC bis dort "
    "bleibt die berechnete %s %s der angenommenen"};
const Words NO_BALANCE = {
    "no heat balance between %s and %s GradC: the calculated %s stays %s the assumed one",
    "keine Waermebilanz zwischen %s und %s GradC: die berechnete %s bleibt %s der "
    "angenommenen"};
const Words SIDES[] = {{"below", "unter"}, {"above", "ueber"}};

// The words in the language, each %s filled with the next of the texts.
void tell(const Words& words, Language language, std::initializer_list<std::string> texts) {
  std::string text = language == Language::GERMAN ? words.german : words.english;
  std::size_t at = 0;
  for (const std::string& filler : texts) {
    at = text.find("%s", at);
    if (at == std::string::npos) break;
    text.replace(at, 2, filler);
    at += filler.size();
  }
  tellError("%s", text.c_str());
}

std::string in(const Words& words, Language language) {
  return language == Language::GERMAN ? words.german : words.english;
}

}  // namespace

void tellNoBalance(const Point& point, Language language) {
  const HeatBalance& balance = point.balance;
  const Cooling& cooling = point.design.cooling;
  const BearingData& data = balance.data;
  const bool housing = cooling.mode == CoolingMode::HOUSING;
  const auto number = [](double value) { return std::string(spell(value).text); };
  if (point.bandEnd >= 0)
    tell(BAND_END, language, {in(END_NAMES[point.bandEnd], language), number(data.clearance)});
  const double from = balance.rangeFrom, to = balance.rangeTo;
  const std::string sought = in(SOUGHT[housing ? 1 : 0], language);
  if (balance.outcome == BalanceOutcome::WIDTH_RATIO_OUT_OF_RANGE) {
    tell(WIDTH_RATIO, language, {number(data.width / data.diameter)});
  } else if (balance.outcome == BalanceOutcome::NOT_A_NUMBER) {
    const double calculated = data.oilOutletTemp + balanceResidual(data, balance.results, cooling);
    tell(NO_NUMBER, language,
         {sought, soughtName(cooling), number(calculated), number(data.oilOutletTemp)});
  } else if (balance.outcome == BalanceOutcome::NO_FILM && !(data.clearance > 0)) {
    tell(SEIZED_AT_20, language, {number(data.clearance)});
  } else if (balance.outcome == BalanceOutcome::NO_FILM && balance.closedAtStart) {
    tell(SEIZED_AT_START, language,
         {number(housing ? cooling.ambientTemp : data.oilInletTemp),
          in(STARTS_AT[housing ? 1 : 0], language)});
  } else if (balance.outcome == BalanceOutcome::NO_FILM) {
    tell(NO_FILM, language, {number(from), number(to)});
  } else if (balance.outcome == BalanceOutcome::NO_EQUILIBRIUM) {
    tell(NO_EQUILIBRIUM, language, {number(from), number(to)});
  } else {
    const BalanceStep& first = balance.steps[0];
    const std::string side =
        in(SIDES[first.calculatedOutlet > first.assumedOutlet ? 1 : 0], language);
    if (balance.closesAtTop)
      tell(CLOSES, language, {number(to), number(from), sought, side});
    else
      tell(NO_BALANCE, language, {number(from), number(to), sought, side});
  }
}
