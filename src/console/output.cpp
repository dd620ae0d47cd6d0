// Standard output through the program's own buffer, so that every write is
// the program's own and a failed one is reported with its own reason.
#include "console/output.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "console/terminal.h"

namespace {

char pending[4096];
std::size_t used = 0;

void put(const char* text, std::size_t size) {
  while (size > 0) {
    if (used == sizeof pending) flushOutput();
    const std::size_t n = std::min(size, sizeof pending - used);
    std::memcpy(pending + used, text, n);
    used += n;
    text += n;
    size -= n;
  }
}

}  // namespace

void printText(const char* text) { put(text, std::strlen(text)); }

void printFormatted(const char* format, ...) {
  char line[256];
  std::va_list arguments;
  va_start(arguments, format);
  std::va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(line, sizeof line, format, arguments);
  va_end(arguments);
  if (length >= 0 && static_cast<std::size_t>(length) < sizeof line) {
    put(line, static_cast<std::size_t>(length));
  } else if (length > 0) {  // longer than a screen line: format it once more in full
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, again);
    put(text.data(), static_cast<std::size_t>(length));
  }
  va_end(again);
}

void flushOutput() {
  for (std::size_t done = 0; done < used;) {
    const long n = writeOutput(pending + done, used - done);
    if (n <= 0) failWith("write error", n < 0 ? errno : EIO);
    done += static_cast<std::size_t>(n);
  }
  used = 0;
}

const char* programName = "palimo";

void tellError(const char* format, ...) {
  std::va_list arguments;
  va_start(arguments, format);
  std::fprintf(stderr, "%s: ", programName);
  std::vfprintf(stderr, format, arguments);
  std::fputc('\n', stderr);
  va_end(arguments);
}

void failWith(const char* what, int error) {
  std::fprintf(stderr, "%s: %s: %s\n", programName, what, std::strerror(error));
  std::_Exit(1);
}
