// 积分, driven as a user runs it.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using testing_support::run;
using testing_support::same_bytes;

const std::string kMenu = "请输入积分类型：sinx输入1，cosx输入2，e^x输入3,退出输入4：";
const std::string kBounds = "请输入积分上下限：";

// One turn that writes a result line.
std::string turn(const std::string& result_line) {
  return kMenu + kBounds + result_line;
}

TEST(integral, QuotedResultsWithTheirThreeLineFormats) {
  struct Case {
    const char* input;
    const char* line;
  } cases[] = {
      {"1\n0 1000\n", "sinx从0.000000积到1000.000000为0.437256\n"},
      {"2\n0 1000\n", "cosx从0.000000积到1000.0000000.826190\n"},
      {"1\n0 1\n", "sinx从0.000000积到1.000000为0.459698\n"},
      {"2\n0 1\n", "cosx从0.000000积到1.0000000.841471\n"},
      {"3\n0 1\n", "e^x从0.000000积到1.0000001.718282\n"},
      {"3\n1 0\n", "e^x从1.000000积到0.000000-1.718282\n"},
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"积分", std::string(c.input) + "4\n");
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, turn(c.line) + kMenu)) << c.input;
  }
}

TEST(integral, EqualBoundsGiveAPositiveZeroForEveryIntegrand) {
  // cos 2 and every value of exp are negative or positive alike: no -0.000000.
  auto outcome = run(u8"积分", "1 3 3\n2 2 2\n3 -1 -1\n2 -2 -2\n4\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, turn("sinx从3.000000积到3.000000为0.000000\n") +
                                          turn("cosx从2.000000积到2.0000000.000000\n") +
                                          turn("e^x从-1.000000积到-1.0000000.000000\n") +
                                          turn("cosx从-2.000000积到-2.0000000.000000\n") + kMenu));
}

TEST(integral, UnknownChoicesReadTwoBoundsAndWriteNothing) {
  auto outcome = run(u8"积分", "5 1 2\n0 3 4\n-1 5 6\n1 0 1\n4\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kMenu + kBounds + kMenu + kBounds + kMenu + kBounds +
                                          turn("sinx从0.000000积到1.000000为0.459698\n") + kMenu));
}

TEST(integral, ChoiceFourEndsAtOnceWithoutTheBoundsPrompt) {
  auto outcome = run(u8"积分", "4\n1 0 1\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kMenu));
}

TEST(integral, UnreadableNumbersAreConsumedAndCountAsZero) {
  // "abc" as a choice is the unknown choice 0; "x" as a bound is the bound 0;
  // "9999999999" overflows an int and is unknown too.
  auto outcome = run(u8"积分", "abc 1 2\n1 x 1\n9999999999 1 1\n3 1 y\n4\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out,
                         kMenu + kBounds + turn("sinx从0.000000积到1.000000为0.459698\n") + kMenu +
                             kBounds + turn("e^x从1.000000积到0.000000-1.718282\n") + kMenu));
}

TEST(integral, EndOfInputEndsTheProgramWhereverItComes) {
  struct Case {
    const char* input;
    std::string out;
  } cases[] = {
      {"", kMenu},
      {"1", kMenu + kBounds},
      {"2 0", kMenu + kBounds},
      {"abc def ghi", kMenu + kBounds + kMenu},
      {"3 0 1", turn("e^x从0.000000积到1.0000001.718282\n") + kMenu},
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"积分", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, c.out)) << c.input;
  }
}

}  // namespace
