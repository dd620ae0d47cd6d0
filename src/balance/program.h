// palimo-balance as a function, for the console program and the page.
#pragma once

// Runs palimo-balance with its command line: prints to standard output
// and tells failures on standard error. Returns the exit status: 0 done
// (a balanced point or a study), 1 no balanced point, 2 a wrong command
// line or case file, 128 plus the signal for a study ended by SIGINT or
// SIGTERM.
int runPalimoBalance(int argc, char** argv);

// For the page; each returns a text that the page frees (malloc'd).
// The option table as JSON, for the page's form.
extern "C" char* palimoBalanceOptions();
// Why the command line of the arguments (one a line) is refused, as
// refusalJson gives it; "" where it is taken.
extern "C" char* palimoBalanceRefusal(const char* arguments);
