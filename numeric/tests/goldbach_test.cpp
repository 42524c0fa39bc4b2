// 偶数分解 as a user runs it, and its prime table against the quick search.
#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/goldbach.h"
#include "tests/support/program_runner.h"

namespace {
using goldbach::Pair;
using testing_support::run;
using testing_support::same_bytes;

const std::string kPrompt = "请输入一个大于6的偶数：";

TEST(Goldbach, WritesTheFirstPairOfTheTableWithoutALineBreak) {
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

TEST(Goldbach, RefusedNumbersGetTheMessageAndOnlyFourStillAPair) {
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

TEST(Goldbach, EndOfInputEndsAfterThePrompt) {
  auto outcome = run(u8"偶数分解", "");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kPrompt));
}

TEST(PrimeTable, HoldsTwoAndTheOddPrimesBelowTheNumber) {
  EXPECT_EQ(goldbach::prime_table(3), (std::vector<int>{2}));
  EXPECT_EQ(goldbach::prime_table(30), (std::vector<int>{2, 3, 5, 7, 11, 13, 17, 19, 23, 29}));
  auto table = goldbach::prime_table(104742);
  EXPECT_EQ(table.size(), 10000u);
  EXPECT_EQ(table.back(), 104729);
}

TEST(PrimeTest, CatchesStrongPseudoprimesAndKnowsThePrimesNearTheTop) {
  // Composites that pass single Miller-Rabin rounds, and primes near 2^31.
  for (unsigned composite : {2047u, 1373653u, 25326001u, 3215031751u, 4294967295u, 2147483649u}) {
    EXPECT_FALSE(goldbach::is_prime(composite)) << composite;
  }
  for (unsigned prime : {2147483647u, 2147483629u, 2147483543u, 4294967291u}) {
    EXPECT_TRUE(goldbach::is_prime(prime)) << prime;
  }
}

// The quick search must give exactly the pair of the table search below a
// bound. Odd numbers mostly have no pair, which the table search only learns
// after trying every two entries, so they are checked up to a lower bound.
TEST(SmallestPair, EqualsTheTableSearchForEveryNumberBelowABound) {
  const int bound = 30000;
  const int odd_bound = 3000;
  auto table = goldbach::prime_table(bound);
  for (int n = -2; n < bound; ++n) {
    if (n % 2 != 0 && n > odd_bound) continue;
    auto below_n = std::lower_bound(table.begin(), table.end(), std::max(n, 3));
    std::span<const int> entries(table.begin(), below_n);
    ASSERT_EQ(goldbach::smallest_pair(n), goldbach::first_pair(entries, n)) << n;
  }
}

// Near 2^31 the pair is checked by plain trial division: both parts prime,
// and no smaller prime leaves a prime partner.
bool prime_by_trial(int v) {
  if (v < 2) return false;
  for (int d = 2; d <= v / d; ++d) {
    if (v % d == 0) return false;
  }
  return true;
}

// The numbers near the top of the int range, and the numbers whose smallest
// prime is the largest below ten million and in the last ten million below
// 2^31: the longest searches.
std::vector<int> numbers_checked_by_trial() {
  std::vector<int> numbers = {3807404, 2146294622};
  for (int n = 2147483646; n > 2147483646 - 400; n -= 2)
    numbers.push_back(n);
  return numbers;
}

TEST(SmallestPair, IsTheSmallestPrimePairNearTheTopOfTheIntRangeAndForTheLongestSearches) {
  for (int n : numbers_checked_by_trial()) {
    auto pair = goldbach::smallest_pair(n);
    ASSERT_TRUE(pair.has_value()) << n;
    EXPECT_EQ(pair->first + pair->second, n);
    EXPECT_TRUE(prime_by_trial(pair->first) && prime_by_trial(pair->second)) << n;
    for (int p = 3; p < pair->first; p += 2) {
      EXPECT_FALSE(prime_by_trial(p) && prime_by_trial(n - p)) << n << " has " << p;
    }
  }
  EXPECT_EQ(goldbach::smallest_pair(3807404), (Pair{751, 3807404 - 751}));
  EXPECT_EQ(goldbach::smallest_pair(2146294622), (Pair{1303, 2146294622 - 1303}));
}

}  // namespace
