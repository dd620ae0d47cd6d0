// Test entry: the stages pause for a key, so the suite reads its keys from an
// ended input and every pause returns at once.
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv) {
  if (!std::freopen("/dev/null", "r", stdin)) return 2;
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
