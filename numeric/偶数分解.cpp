// 偶数分解: writes an even number greater than 6 as the sum of two primes.
//
// The primes stand in a table: 2, then the odd primes in increasing order,
// each found by trial division. The pair written is the first entry p of the
// table for which n - p is an entry of the table of the primes below n too,
// so p is the smallest such prime. The table grows only as far as the search
// needs it; whether n - p would stand in the table is told by the same trial
// division, so no number needs a table of all the primes below it.
#include <cmath>
#include <cstdio>

#include "platform/console.h"
#include "platform/input.h"

namespace {

constexpr int kTableSize = 10000;

// Whether the odd number c has no divisor from 2 up to its square root.
bool is_prime(int c) {
  const double root = std::sqrt(static_cast<double>(c));
  for (int d = 2; d <= root; ++d) {
    if (c % d == 0) return false;
  }
  return true;
}

// Whether q stands in the table of the primes below n: 2, or an odd prime
// from 3 up to n - 1.
bool in_table(int q, int n) {
  if (q == 2) return n > 2;
  return q >= 3 && q < n && q % 2 == 1 && is_prime(q);
}

// Adds the next odd prime to the end of the table.
void grow(int* table, int& count) {
  int candidate = count == 1 ? 3 : table[count - 1] + 2;
  while (!is_prime(candidate))
    candidate += 2;
  table[count++] = candidate;
}

// Searches the table, in increasing order, for the first entry p whose
// partner n - p is in the table too, and writes n=p+(n-p). The table grows
// whenever the search reaches its end.
void write_pair(int n, int* table, int& count) {
  for (int i = 0; i < kTableSize; ++i) {
    if (i == count) grow(table, count);
    const int p = table[i];
    if (p >= n) return;
    if (in_table(n - p, n)) {
      std::printf("%d=%d+%d", n, p, n - p);
      return;
    }
  }
}

}  // namespace

int main() {
  platform::start_console();
  int table[kTableSize];
  table[0] = 2;
  int count = 1;

  std::printf("请输入一个大于6的偶数：");
  int n = 0;
  if (!platform::read_number(n)) return 0;  // a token that is no number counts as 0

  if (n % 2 == 1 || n <= 6) {
    std::printf("不符合格式");
    // The search still runs, over the table holding 2 alone: only 4 has a pair.
    if (table[0] + table[0] == n) std::printf("%d=%d+%d", n, table[0], table[0]);
  } else {
    write_pair(n, table, count);
  }
  return 0;
}
