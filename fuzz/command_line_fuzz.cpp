// Fuzz target: palimo-balance's command line, the fuzzed bytes split at
// white space into its arguments, as a stored session's .args file holds
// them. Every command line must end without a crash, a sanitizer finding or
// a hang; a study of more than a few points, or with the rotor's
// coefficients, the threshold speed's search and a bore's film are passed
// over for time.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
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
  // The rotor's coefficients solve the film some sixteen times a point:
  // with them, one point alone. The threshold speed's search takes some 40
  // such points: passed over. A bore's heat balance takes some 150 films,
  // seconds in this build: its options are read and checked (--version
  // after them), and its film is fuzzed by itself.
  if (line.find("threshold") != std::string::npos) return 0;
  bool bore = false;
  for (const char* name : {"bore", "lobe", "preload", "offset"})
    bore = bore || line.find(name) != std::string::npos;
  const bool coefficients = line.find("coefficients") != std::string::npos;
  for (std::string word; text >> word;) {
    if (coefficients && word.find(':') != std::string::npos) return 0;
    // COUNT of FROM:TO:COUNT: at most 16 points a range.
    const std::size_t second = word.find(':', word.find(':') + 1);
    if (word.find(':') != std::string::npos && second != std::string::npos &&
        std::strtod(word.c_str() + second + 1, nullptr) > 16)
      return 0;
    words.push_back(word);
  }
  if (bore) words.push_back("--version");
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(&word[0]);
  argv.push_back(nullptr);
  runPalimoBalance(static_cast<int>(words.size()), argv.data());
  return 0;
}
