// Fuzz target: palimo-balance's case files, the fuzzed bytes as the file of
// a study of the ISO VG 46 oil. Every file must end the study without a
// crash, a sanitizer finding or a hang; with the rotor's coefficients or
// the threshold speed, which take time a row, it is passed over.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <string>

#include "balance/program.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // The output is not looked at; messages go to standard error, which
  // libFuzzer's reports share.
  if (!std::freopen("/dev/null", "w", stdout)) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The rotor's coefficients solve the film some sixteen times a row, a
  // bore's heat balance some forty: a file that may ask for them is passed
  // over for time.
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (const char* slow : {"coefficients", "threshold", "bore", "lobe", "preload"})
    if (bytes.find(slow) != std::string::npos) return 0;
  char path[] = "/tmp/palimo-case-fuzz-XXXXXX";
  const int fd = mkstemp(path);
  std::FILE* file = fd >= 0 ? fdopen(fd, "wb") : nullptr;
  if (!file) return 0;
  std::fwrite(data, 1, size, file);
  std::fclose(file);
  std::string words[] = {"palimo-balance", "--nu40", "46", "--nu100", "6.8", "--cases", path};
  char* argv[] = {&words[0][0], &words[1][0], &words[2][0], &words[3][0],
                  &words[4][0], &words[5][0], &words[6][0], nullptr};
  runPalimoBalance(7, argv);
  std::remove(path);
  return 0;
}
