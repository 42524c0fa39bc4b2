// 进制, driven as a user runs it.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using testing_support::run;
using testing_support::same_bytes;

const std::string kPrompt = "请输入一个十进制数：";

// The output lines of one run, the prompt taken off the first.
std::vector<std::string> lines_for(const std::string& input) {
  auto outcome = run(u8"进制", input);
  EXPECT_TRUE(outcome.exited_cleanly()) << input;
  std::string out = outcome.out;
  EXPECT_EQ(out.rfind(kPrompt, 0), 0u) << input;
  out.erase(0, kPrompt.size());
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = out.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(out.substr(start, end - start));
  }
  EXPECT_EQ(start, out.size()) << "text after the last line break: " << input;
  return lines;
}

// The line of one base; bases 2 to 9 carry a leading blank.
std::string line_of(const std::vector<std::string>& lines, int base) {
  std::string head = base < 10 ? " " : "";
  head += std::to_string(base);
  head += "进制：";
  for (const std::string& line : lines) {
    if (line.rfind(head, 0) == 0) return line.substr(head.size());
  }
  return "(no line for base " + std::to_string(base) + ")";
}

// Bases 2 to 8 lie beyond what the 32-bit digit reading holds for this value,
// so they show the true digits in full; 9 and up are within range.
TEST(radix, WholeRunForMinusThreeHundredMillion) {
  auto outcome = run(u8"进制", "-300000000\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out,
                         "请输入一个十进制数： 2进制：-10001111000011010001100000000.000000\n"
                         " 3进制：-202220111120122010.000000\n"
                         " 4进制：-101320122030000.000000\n"
                         " 5进制：-1103300000000.000000\n"
                         " 6进制：-45434012520.000000\n"
                         " 7进制：-10301646366.000000\n"
                         " 8进制：-2170321400.000000\n"
                         " 9进制：-686446563.000000\n"
                         "11进制：-144384493.0000000000\n"
                         "12进制：-84577140.0000000000\n"
                         "13进制：-4A1CAAC1.0000000000\n"
                         "14进制：-2BBB3636.0000000000\n"
                         "15进制：-1B50DD50.0000000000\n"
                         "16进制：-11E1A300.0000000000\n"
                         "17进制：-C74F84E.0000000000\n"
                         "18进制：-8EDE5GC.0000000000\n"
                         "19进制：-67302HD.0000000000\n"
                         "20进制：-4DF0000.0000000000\n"
                         "21进制：-3A9BJ26.0000000000\n"
                         "22进制：-2E4E6FE.0000000000\n"
                         "23进制：-20E0JH6.0000000000\n"
                         "24进制：-1DG5980.0000000000\n"
                         "25进制：-15I0000.0000000000\n"
                         "26进制：-P6CIPE.0000000000\n"
                         "27进制：-KODFH3.0000000000\n"
                         "28进制：-HC251K.0000000000\n"
                         "29进制：-EI4I5H.0000000000\n"
                         "30进制：-CAB3A0.0000000000\n"
                         "31进制：-AEQ4PB.0000000000\n"
                         "32进制：-8U38O0.0000000000\n"
                         "33进制：-7LVV33.0000000000\n"
                         "34进制：-6KGRJE.0000000000\n"
                         "35进制：-5OW2XK.0000000000\n"
                         "36进制：-4YM1HC.0000000000\n"));
}

TEST(radix, CutDigitsSignsAndTheMissingLeadingZero) {
  struct Case {
    const char* input;
    int base;
    const char* shown;
  } cases[] = {
      {"10.5", 2, "1010.100000"},
      {"10.5", 3, "101.111111"},
      {"10.5", 9, "11.444444"},
      {"10.5", 11, "A.5555555555"},
      {"10.5", 16, "A.8000000000"},
      {"10.5", 36, "A.I000000000"},
      {"255.75", 2, "11111111.110000"},
      {"255.75", 7, "513.515152"},  // nine cut digits rounded to six on output
      {"255.75", 9, "313.666667"},
      {"255.75", 13, "168.9999999999"},  // cut digits never carry
      {"255.75", 16, "FF.C000000000"},
      {"255.75", 32, "7V.O000000000"},
      {"255.75", 36, "73.R000000000"},
      {"0.5", 2, "0.100000"},
      {"0.5", 11, ".5555555555"},
      {"-5.5", 2, "-101.100000"},
      {"-5.5", 16, "-5.8000000000"},
      {"-0.25", 2, "-0.010000"},
      {"-0.25", 11, "-.2828282828"},
      {"-0", 2, "0.000000"},
      {"-0", 11, ".0000000000"},
      {"1023.5", 2, "1111111111.100000"},  // the largest integer part base 2 reads in range
      {"841031062", 9, "2147483647.000000"},
      {"2147483647.75", 36, "ZIK0ZJ.R000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(line_of(lines_for(c.input), c.base), c.shown) << c.input << " base " << c.base;
  }
}

TEST(radix, ZeroShowsZerosInEveryBase) {
  auto lines = lines_for("0");
  for (int base = 2; base <= 9; ++base)
    EXPECT_EQ(line_of(lines, base), "0.000000") << base;
  for (int base = 11; base <= 36; ++base)
    EXPECT_EQ(line_of(lines, base), ".0000000000") << base;
}

// Beyond the 32-bit range, and beyond what the digit reading of bases 2 to 9
// holds, every line still shows the value's true digits.
TEST(radix, ValuesBeyondTheIntRangeShowTheirTrueDigits) {
  struct Case {
    const char* input;
    int base;
    std::string shown;
  } cases[] = {
      {"1024.5", 2, "10000000000.100000"},
      {"841031063", 9, "2147483648.000000"},
      {"-2147483648.5", 2, "-10000000000000000000000000000000.100000"},
      {"-2147483648.5", 16, "-80000000.8000000000"},
      {"4294967296.25", 36, "1Z141Z4.9000000000"},
      {"1e20", 2, "1010110101111000111010111100010110101100011000100000000000000000000.000000"},
      {"1e20", 9, "820218515128278060321.000000"},
      {"1e20", 16, "56BC75E2D63100000.0000000000"},
      {"-1e20", 36, "-L3R41IFS0Q5TS.0000000000"},
      // The largest double: (2^53 - 1) * 2^971.
      {"-inf", 2, "-inf"},  // no digits at all: written as they are
      {"-inf", 36, "-inf"},
      {"nan", 16, "nan"},
      {"1.7976931348623157e308", 32, "FVVVVVVVVVU" + std::string(194, '0') + ".0000000000"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(line_of(lines_for(c.input), c.base), c.shown) << c.input << " base " << c.base;
  }
}

TEST(radix, EveryRunWritesThirtyFourLinesWithoutABaseTen) {
  for (const char* input : {"10.5", "0", "-300000000", "1e300", "inf", "-nan", "abc", "7x"}) {
    auto lines = lines_for(input);
    EXPECT_EQ(lines.size(), 34u) << input;
    EXPECT_EQ(
        std::count_if(lines.begin(), lines.end(),
                      [](const std::string& l) { return l.find("10进制") != std::string::npos; }),
        0)
        << input;
  }
}

TEST(radix, AnUnreadableNumberCountsAsZeroAndEndOfInputWritesNothing) {
  EXPECT_EQ(line_of(lines_for("abc"), 11), ".0000000000");
  EXPECT_EQ(line_of(lines_for("12abc"), 11), "11.0000000000");
  auto outcome = run(u8"进制", "  \n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kPrompt));
}

}  // namespace
