// palimo: a hydrodynamic radial plain bearing in steady-state operation,
// calculated at the console. Command-line arguments are ignored.
#include <cstdlib>

#include "app/menu.h"

// Ends by exit() rather than a return: in the browser the dialogue runs on
// after main has first handed control back to the page, and only exit()
// tells the page that the program has ended.
int main() { std::exit(runProgram()); }
