// palimo: a hydrodynamic radial plain bearing in steady-state operation,
// calculated at the console. Command-line arguments are ignored.
#include "app/menu.h"

int main() { return runProgram(); }
