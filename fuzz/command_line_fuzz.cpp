// Fuzz target: palimo-balance's command line, the fuzzed bytes split at
// white space into its arguments, as a stored session's .args file holds
// them. Every command line must end without a crash, a sanitizer finding or
// a hang; a study of more than a few points, or with the rotor's
// coefficients, and the threshold speed's search are passed over for time.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <initializer_list>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "balance/program.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A case file '-' reads an empty standard input; the output is not looked at.
  if (!std::freopen("/dev/null", "r", stdin) || !std::freopen("/dev/null", "w", stdout)) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  std::istringstream text(line);
  std::vector<std::string> words{"palimo-balance"};
  // The rotor's coefficients solve the film some sixteen times a point, a
  // bore's heat balance some forty: with them, one point alone. The threshold speed's search takes some 40
  // such points: passed over.
  if (line.find("threshold") != std::string::npos) return 0;
  bool coefficients = false;
  for (const char* slow : {"coefficients", "bore", "lobe", "preload"})
    coefficients = coefficients || line.find(slow) != std::string::npos;
  for (std::string word; text >> word;) {
    if (coefficients && word.find(':') != std::string::npos) return 0;
    // COUNT of FROM:TO:COUNT: at most 16 points a range.
    const std::size_t second = word.find(':', word.find(':') + 1);
    if (word.find(':') != std::string::npos && second != std::string::npos &&
        std::strtod(word.c_str() + second + 1, nullptr) > 16)
      return 0;
    words.push_back(word);
  }
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  runPalimoBalance(static_cast<int>(words.size()), argv.data());
  return 0;
}
