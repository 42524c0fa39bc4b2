#include <cmath>

#include "numeric/goldbach.h"

namespace goldbach {
namespace {

// Number of divisors of candidate from 2 up to its square root.
int divisors_below_root(int candidate) {
  int count = 0;
  for (int divisor = 2; std::sqrt(static_cast<double>(candidate)) >= divisor; ++divisor) {
    if (candidate % divisor == 0) ++count;
  }
  return count;
}

}  // namespace

std::vector<int> prime_table(int n) {
  std::vector<int> table{2};
  for (int candidate = 3; candidate < n; candidate += 2) {
    if (divisors_below_root(candidate) == 0) table.push_back(candidate);
  }
  return table;
}

}  // namespace goldbach
