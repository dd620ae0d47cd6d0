// palimo-balance: one bearing, its heat balance closed with the oil's own
// viscosity and its balanced point checked, or a study of many; see
// balance/program.h.
#include "balance/program.h"
#include "console/output.h"
#include "console/terminal.h"

int main(int argc, char** argv) {
  programName = "palimo-balance";
  openConsole();
  return runPalimoBalance(argc, argv);
}
