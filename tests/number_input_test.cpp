// Numeric entries read from a stream as formatted input reads them, without
// undefined conversions, and with the rest of the input left as it must be.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "console/input.h"
#include "console/input_testing.h"
#include "program_runner.h"
#include "text/numeral.h"

namespace {

// Feeds text as the program's input for the length of one test.
class InputText {
 public:
  explicit InputText(const std::string& text) {
    stream_ = std::tmpfile();
    std::fputs(text.c_str(), stream_);
    std::rewind(stream_);
    readInputFrom(fileno(stream_));
  }
  ~InputText() {
    readInputFrom(0);
    std::fclose(stream_);
  }
  std::string rest() {
    std::string left;
    for (int c = nextInputChar(); c != EOF; c = nextInputChar()) left += static_cast<char>(c);
    return left;
  }

 private:
  std::FILE* stream_;
};

// One entry: the input, how the read goes, the target afterwards and the
// input left.
template <typename Target>
struct EntryCase {
  std::string input;
  NumberRead read;
  Target value;
  const char* rest;
};

template <typename Target>
void expectEntries(Target start, const std::vector<EntryCase<Target>>& cases) {
  for (const EntryCase<Target>& c : cases) {
    InputText input(c.input);
    Target target = start;
    const std::string shown = '"' + c.input.substr(0, 60) + '"';
    EXPECT_EQ(static_cast<int>(c.read), static_cast<int>(readNumber(target))) << shown;
    EXPECT_EQ(c.value, target) << shown;
    EXPECT_EQ(c.rest, input.rest()) << shown;
  }
}

const std::string LONG_ZEROS_THEN_1E20000 = "0." + std::string(20000, '0') + "1e20000";
const std::string HALFWAY_ABOVE_1 = "1.00000000000000011102230246251565404236316680908203125";

// Reals; the target starts at -7.
TEST(ReadNumberTest, RealEntries) {
  const double inf = HUGE_VAL;
  expectEntries<double>(-7, {
                                {"  \n\t 12.5 rest", NumberRead::CONVERTED, 12.5, " rest"},
                                {"\r\n\n3\n", NumberRead::CONVERTED, 3, "\n"},
                                {"1,5\n7", NumberRead::CONVERTED, 1, "7"},
                                {"-1.5e-3x", NumberRead::CONVERTED, -0.0015, ""},
                                {"+2E2 9", NumberRead::CONVERTED, 200, " 9"},
                                {".5", NumberRead::CONVERTED, 0.5, ""},
                                {"5.", NumberRead::CONVERTED, 5, ""},
                                {"7 8", NumberRead::CONVERTED, 7, " 8"},
                                {"1e400", NumberRead::CONVERTED, inf, ""},
                                {"-1e400\n", NumberRead::CONVERTED, -inf, "\n"},
                                {"1e-400", NumberRead::CONVERTED, 0, ""},
                                {"0.000011", NumberRead::CONVERTED, 0.000011, ""},
                                {"abc def\n7", NumberRead::NOT_A_NUMBER, -7, "7"},
                                {".\n7", NumberRead::NOT_A_NUMBER, -7, "7"},
                                {"-\n5", NumberRead::NOT_A_NUMBER, -7, "5"},
                                {"+ 1\n2", NumberRead::NOT_A_NUMBER, -7, "2"},
                                {"1e\n3", NumberRead::NOT_A_NUMBER, -7, "3"},
                                {"1e+ 4\n5", NumberRead::NOT_A_NUMBER, -7, "5"},
                                {",5 6\n\n8", NumberRead::NOT_A_NUMBER, -7, "\n8"},
                                {"", NumberRead::END_OF_INPUT, -7, ""},
                                {" \n\t ", NumberRead::END_OF_INPUT, -7, ""},
                                {"1e", NumberRead::END_OF_INPUT, -7, ""},
                                {"-", NumberRead::END_OF_INPUT, -7, ""},
                                {"x y", NumberRead::END_OF_INPUT, -7, ""},
                                {"12", NumberRead::CONVERTED, 12, ""},
                                // Any length in fixed memory, correctly rounded: 1 + 2^-53 lies
                                // halfway between two doubles, and a far non-zero digit decides.
                                {LONG_ZEROS_THEN_1E20000, NumberRead::CONVERTED, 0.1, ""},
                                {std::string(100000, '0') + "5 6", NumberRead::CONVERTED, 5, " 6"},
                                {"1" + std::string(400, '0'), NumberRead::CONVERTED, inf, ""},
                                {HALFWAY_ABOVE_1, NumberRead::CONVERTED, 1, ""},
                                {HALFWAY_ABOVE_1 + std::string(1000, '0') + "1",
                                 NumberRead::CONVERTED, std::nextafter(1.0, 2.0), ""},
                            });
}

// A numeral of any length is read in fixed memory.
// Its 200 MB are written to a file in pieces, so that the test process, whose
// memory the child shares until it starts the program, stays small.
TEST(ReadNumberTest, HugeNumeralTakesNoMoreMemory) {
  char path[] = "/tmp/palimo-numeral-XXXXXX";
  std::FILE* file = fdopen(mkstemp(path), "w");
  ASSERT_NE(nullptr, file);
  std::fputs("a ", file);
  const std::string piece(1 << 20, '7');
  for (int i = 0; i < 200; ++i) std::fputs(piece.c_str(), file);
  std::fputs(" 6 q", file);
  std::fclose(file);
  const ProgramRun small = runWithPipedInput("a 5 6 q");
  const ProgramRun huge = runWithPipedInput("", 60000, {(std::string("< ") + path).c_str()});
  std::remove(path);
  EXPECT_EQ(0, huge.exitStatus);
  EXPECT_LT(huge.peakMemoryKb, small.peakMemoryKb + 1024);
}

// Integers, one outside int's range becoming its nearest limit; the target
// starts at 1.
TEST(ReadNumberTest, IntegerEntries) {
  expectEntries<int>(
      1, {
             {" 2\n", NumberRead::CONVERTED, 2, "\n"},
             {"+0", NumberRead::CONVERTED, 0, ""},
             {"-1", NumberRead::CONVERTED, -1, ""},
             {"2.5\n4", NumberRead::CONVERTED, 2, "4"},
             {"3x", NumberRead::CONVERTED, 3, ""},
             {"-0000000000000000000000000000000000000000000000007", NumberRead::CONVERTED, -7, ""},
             {"2147483647", NumberRead::CONVERTED, INT_MAX, ""},
             {"2147483648", NumberRead::CONVERTED, INT_MAX, ""},
             {"99999999999", NumberRead::CONVERTED, INT_MAX, ""},
             {"99999999999999999999999999", NumberRead::CONVERTED, INT_MAX, ""},
             {"-2147483648", NumberRead::CONVERTED, INT_MIN, ""},
             {"-2147483649", NumberRead::CONVERTED, INT_MIN, ""},
             {"abc\n3", NumberRead::NOT_A_NUMBER, 1, "3"},
             {".5\n3", NumberRead::NOT_A_NUMBER, 1, "3"},
             {"-\n3", NumberRead::NOT_A_NUMBER, 1, "3"},
             {"", NumberRead::END_OF_INPUT, 1, ""},
             {"+", NumberRead::END_OF_INPUT, 1, ""},
         });
}

TEST(ReadNumberTest, EndOfInputStaysEnded) {
  InputText input("4");
  double target = 0;
  EXPECT_EQ(NumberRead::CONVERTED, readNumber(target));
  EXPECT_EQ(NumberRead::END_OF_INPUT, readNumber(target));
  EXPECT_EQ(NumberRead::END_OF_INPUT, readNumber(target));
  EXPECT_EQ(4, target);
}

}  // namespace

// A whole text as one number, as a command-line value is read: the grammar
// of the entries, and nothing before or after it.
TEST(ParseNumberTest, WholeTextIsOneNumber) {
  const struct {
    const char* text;
    bool number;
    double value;  // the target afterwards; it starts at -7
  } cases[] = {
      {"5", true, 5},     {"-2.5e3", true, -2500}, {".5", true, 0.5},   {"1e400", true, HUGE_VAL},
      {"1,5", false, -7}, {" 5", false, -7},       {"5 ", false, -7},   {"", false, -7},
      {"1e", false, -7},  {"inf", false, -7},      {"0x10", false, -7}, {"-", false, -7},
  };
  for (const auto& c : cases) {
    double target = -7;
    EXPECT_EQ(c.number, parseNumber(c.text, target)) << '"' << c.text << '"';
    EXPECT_EQ(c.value, target) << '"' << c.text << '"';
  }
  int choice = 1;
  EXPECT_FALSE(parseNumber("2.5", choice));
  EXPECT_TRUE(parseNumber("3", choice));
  EXPECT_EQ(3, choice);
}
