// Fuzz target: palimo-balance's command line, the fuzzed bytes split at
// white space into its arguments, as a stored session's .args file holds
// them. Every command line must end without a crash, a sanitizer finding or
// a hang; a study of more than a few points is passed over for time.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "balance/program.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // A case file '-' reads an empty standard input; the output is not looked at.
  if (!std::freopen("/dev/null", "r", stdin) || !std::freopen("/dev/null", "w", stdout)) return 1;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::string> words{"palimo-balance"};
  std::string word;
  for (std::size_t i = 0; i <= size; ++i) {
    const char c = i < size ? static_cast<char>(data[i]) : ' ';
    if (c == ' ' || c == '\n' || c == '\t') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word += c;
    }
  }
  // COUNT of FROM:TO:COUNT: at most 16 points a range.
  for (const std::string& w : words) {
    const std::size_t second = w.find(':', w.find(':') + 1);
    if (w.find(':') != std::string::npos && second != std::string::npos &&
        std::strtod(w.c_str() + second + 1, nullptr) > 16)
      return 0;
  }
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(&w[0]);
  argv.push_back(nullptr);
  runPalimoBalance(static_cast<int>(words.size()), argv.data());
  return 0;
}
