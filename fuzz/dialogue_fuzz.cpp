// Fuzz target: the whole dialogue, from the start text to its end, with the
// fuzzed bytes as everything the user types. Every input must end the
// program without a crash, a sanitizer finding or a hang.
#include <cstddef>
#include <cstdint>
#include <cstdio>

#include "app/menu.h"
#include "console/input_testing.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The screen text is not looked at; only that the dialogue ends.
  if (!std::freopen("/dev/null", "w", stdout)) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::FILE* input = std::tmpfile();
  if (!input) return 0;
  std::fwrite(data, 1, size, input);
  std::rewind(input);
  readInputFrom(fileno(input));
  runProgram();
  readInputFrom(0);
  std::fclose(input);
  return 0;
}
