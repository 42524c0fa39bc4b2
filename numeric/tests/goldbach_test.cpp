// 偶数分解 as a user runs it, against the full table search of the exercise.
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using testing_support::run;
using testing_support::same_bytes;

const std::string kPrompt = "请输入一个大于6的偶数：";

TEST(goldbach, WritesTheFirstPairOfTheTableWithoutALineBreak) {
  struct Case {
    const char* input;
    const char* written;
  } cases[] = {
      {"8", "8=3+5"},
      {"10", "10=3+7"},
      {"12", "12=5+7"},
      {"14", "14=3+11"},
      {"98", "98=19+79"},
      {"100", "100=3+97"},
      {"1000", "1000=3+997"},
      {"104742", "104742=13+104729"},  // the table's 10000 entries exactly
      {"104744", "104744=37+104707"},  // one more prime than that
      {"10000002", "10000002=11+9999991"},
      {"2147483646", "2147483646=17+2147483629"},
      {"2147483644", "2147483644=101+2147483543"},
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"偶数分解", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, kPrompt + c.written)) << c.input;
  }
}

TEST(goldbach, RefusedNumbersGetTheMessageAndOnlyFourStillAPair) {
  struct Case {
    const char* input;
    const char* written;
  } cases[] = {
      {"4", "不符合格式4=2+2"},
      {"6", "不符合格式"},
      {"7", "不符合格式"},
      {"9", "不符合格式"},
      {"0", "不符合格式"},
      {"-8", "不符合格式"},
      {"2147483647", "不符合格式"},
      {"-7", "不符合格式"},
      // Unreadable input counts as 0: a token without a number, an int overflow.
      {"abc", "不符合格式"},
      {"99999999999", "不符合格式"},
  };
  for (const Case& c : cases) {
    auto outcome = run(u8"偶数分解", c.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, kPrompt + c.written)) << c.input;
  }
}

TEST(goldbach, EndOfInputEndsAfterThePrompt) {
  auto outcome = run(u8"偶数分解", "");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kPrompt));
}

// What the exercise describes, done the long way: the table of 2 and every
// odd prime below n, each counted free of divisors up to its square root, and
// the first two entries, outer then inner, that add up to n.
std::string table_search(int n) {
  std::vector<int> table = {2};
  const bool refused = n % 2 == 1 || n <= 6;
  for (int c = 3; !refused && c < n; c += 2) {
    int divisors = 0;
    for (int d = 2; std::sqrt(static_cast<double>(c)) >= d; ++d)
      divisors += c % d == 0;
    if (divisors == 0) table.push_back(c);
  }
  std::string written = refused ? "不符合格式" : "";
  for (int p : table) {
    for (int q : table) {
      if (p + q == n)
        return written + std::to_string(n) + "=" + std::to_string(p) + "+" + std::to_string(q);
    }
  }
  return written;
}

TEST(goldbach, WritesThePairOfTheFullTableSearchForEverySmallNumber) {
  for (int n = -3; n <= 400; ++n) {
    auto outcome = run(u8"偶数分解", std::to_string(n));
    ASSERT_TRUE(same_bytes(outcome.out, kPrompt + table_search(n))) << n;
  }
}

}  // namespace
