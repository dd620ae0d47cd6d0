// The console in a web page, built with Emscripten: the page's script plays
// the terminal driver. The dialogue stays synchronous; Asyncify suspends it
// while a key or a line is awaited from the page.
#include <emscripten.h>
#include <unistd.h>

#include <climits>

#include "console/terminal.h"

namespace {

// One key press from the page, as its character code. The page's names are
// quoted, so that the closure compiler keeps them.
EM_ASYNC_JS(int, awaitKey, (), { return await Module['palimoTerminal']['readKey'](); });

// Up to size bytes of the line that the page collects with echo, its line
// end included; the rest of a longer line comes with the next call.
EM_ASYNC_JS(int, awaitInput, (char* buffer, int size), {
  const bytes = await Module['palimoTerminal']['readInput'](size);
  HEAPU8.set(bytes, buffer);
  return bytes.length;
});

EM_JS(void, tellEnd, (), { Module['palimoTerminal']['end'](); });

// A file's name and bytes, for the page to offer as a download.
EM_JS(void, handFile, (const char* path, const char* data, int size), {
  if (Module['palimoFile'])
    Module['palimoFile'](UTF8ToString(path), HEAPU8.slice(data, data + size));
});

}  // namespace

void openConsole() {}

void closeConsole() { tellEnd(); }

// The page is always a terminal: keys come one by one, numbers line by line.
bool stdinIsTerminal() { return true; }

int readTerminalKey() { return awaitKey(); }

long readInput(int, char* buffer, std::size_t size) {
  return awaitInput(buffer, size > INT_MAX ? INT_MAX : static_cast<int>(size));
}

void writeOutputAsIs() {}

long writeOutput(const char* data, std::size_t size) { return write(1, data, size); }

// The page has no signals: a run ends by itself.
void catchStopSignals() {}

int stopSignalCaught() { return 0; }

// The page's program runs on the page's one thread.
int usableCores() { return 0; }

bool writeWholeFile(const char* path, const char* data, std::size_t size) {
  if (size > INT_MAX) return false;
  handFile(path, data, static_cast<int>(size));
  return true;
}
