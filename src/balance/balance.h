// palimo-balance as a function, for the console program and the web page.
#pragma once

// Runs palimo-balance with its command line: prints to standard output
// and tells failures on standard error. Returns the exit status: 0 done
// (a balanced point or a study), 1 no balanced point, 2 a wrong command
// line.
int runBalance(int argc, char** argv);
