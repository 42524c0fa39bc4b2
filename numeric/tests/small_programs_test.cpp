// 内积, 阶乘 and 宏, driven as a user runs them.
#include <sys/resource.h>

#include <string>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using testing_support::run;
using testing_support::same_bytes;

const std::string kDimension = "请输入向量维度：";
const std::string kFirst = "请输入第一个向量的坐标:";
const std::string kSecond = "请输入第二个向量的坐标:";

TEST(dot_product, SumsInSinglePrecisionAndReadsNothingForNoDimension) {
  struct Case {
    const char* input;
    const char* result;
  } cases[] = {
      {"3\n1 2 3\n4 5 6\n", "32.000000"},
      {"2 16777216 1 1 1", "16777216.000000"},  // the float sum cannot hold 16777217
      {"2\n0.1 0.2\n0.3 0.4\n", "0.110000"},
      {"0\n", "0.000000"},
      {"-3 1 2 3\n", "0.000000"},
      {"2 a 1 1 1", "1.000000"},  // an unreadable coordinate counts as 0
      {"x 1 2", "0.000000"},      // and an unreadable dimension too
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"内积", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out,
                           kDimension + kFirst + kSecond + "这两个向量的点积为" + c.result + "\n"))
        << c.input;
  }
}

TEST(dot_product, EndOfInputEndsWithoutAResult) {
  struct Case {
    const char* input;
    std::string out;
  } cases[] = {
      {"", kDimension},
      {"3 1 2", kDimension + kFirst},
      {"2 1 2 3", kDimension + kFirst + kSecond},
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"内积", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, c.out)) << c.input;
  }
}

TEST(dot_product, ADimensionBeyondMemoryIsReportedAndEndsCleanly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer needs more address space than the limit allows";
#else
  if (testing_support::windows_programs()) {
    GTEST_SKIP() << "a Windows program's memory cannot be limited here: its launcher does not "
                    "start under an address space limit, and it enforces no job memory limit";
  }
  // Under a 1 GiB address space limit: the first vector cannot be had at
  // all, or the first can and the second cannot.
  for (const char* dimension : {"2147483647", "150000000"}) {
    testing_support::Session session;
    session.input = std::string(dimension) + "\n1 2 3\n";
    session.in_child = [] {
      rlimit limit{1L << 30, 1L << 30};
      setrlimit(RLIMIT_AS, &limit);
    };
    auto outcome = run(u8"内积", session);
    EXPECT_TRUE(outcome.exited_cleanly()) << dimension;
    EXPECT_TRUE(same_bytes(outcome.out, kDimension + "内存不足，放不下" + dimension + "维的向量\n"))
        << dimension;
  }
#endif
}

// The exchange itself is in its dialogues (dialogues/宏).
TEST(swap, WritesTheTwoNumbersExchangedWithoutALineBreak) {
  struct Case {
    const char* input;
    const char* written;
  } cases[] = {
      {"7.125 7.125", "7.125000 7.125000"},
      {"1 x", "0.000000 1.000000"},  // an unreadable number counts as 0
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"宏", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, std::string("请输入两个数:") + c.written)) << c.input;
  }
}

TEST(swap, EndOfInputBeforeTwoNumbersWritesNothingMore) {
  for (const char* input : {"", "5"}) {
    auto outcome = run(u8"宏", input);
    EXPECT_TRUE(outcome.exited_cleanly()) << input;
    EXPECT_TRUE(same_bytes(outcome.out, "请输入两个数:")) << input;
  }
}

}  // namespace
