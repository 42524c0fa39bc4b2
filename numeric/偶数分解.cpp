// 偶数分解: writes an even number greater than 6 as the sum of two primes.
//
// The primes below the number stand in a table of 10000 entries: 2, then the
// odd primes in increasing order, each found by trial division. The pair
// written is the first entry p for which n - p is a prime below n too, so p
// is the smallest such prime. Numbers from 104744 on have more primes below
// them than the table holds: a partner beyond its last entry is tested by
// trial division.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "input/read.h"
#include "platform/console.h"

namespace {

constexpr int kTableSize = 10000;

// Whether the odd number c has no divisor up to its square root: being odd,
// it has no even one.
bool is_prime(int c) {
  const double root = std::sqrt(static_cast<double>(c));
  for (int d = 3; d <= root; d += 2) {
    if (c % d == 0) return false;
  }
  return true;
}

// Fills the table with the odd primes below n, after the 2 it holds, as far
// as it has room.
void build_table(int n, int* table, int& count) {
  for (int c = 3; c < n && count < kTableSize; c += 2) {
    if (is_prime(c)) table[count++] = c;
  }
}

// Whether q is a prime below n.
bool is_partner(int q, int n, const int* table, int count) {
  if (q >= n || q < 2) return false;
  if (q <= table[count - 1]) return std::binary_search(table, table + count, q);
  return q % 2 == 1 && is_prime(q);
}

// Searches the table, in increasing order, for the first entry p whose
// partner n - p is a prime too, and writes n=p+(n-p).
void write_pair(int n, const int* table, int count) {
  for (int i = 0; i < count; ++i) {
    const int p = table[i];
    if (is_partner(n - p, n, table, count)) {
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
  if (input::scan_number(stdin, n) == EOF) return 0;  // a token that is no number counts as 0

  if (n % 2 == 1 || n <= 6) {
    std::printf("不符合格式");
    // The search still runs, over the table holding 2 alone: only 4 has a pair.
    if (table[0] + table[0] == n) std::printf("%d=%d+%d", n, table[0], table[0]);
  } else {
    build_table(n, table, count);
    write_pair(n, table, count);
  }
  return 0;
}
