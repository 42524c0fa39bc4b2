#include "numeric/goldbach.h"

#include <cstdint>

namespace goldbach {
namespace {

std::uint64_t power_mod(std::uint64_t base, std::uint64_t exponent, std::uint64_t modulus) {
  std::uint64_t result = 1;
  base %= modulus;
  while (exponent > 0) {
    if (exponent & 1) result = result * base % modulus;
    base = base * base % modulus;
    exponent >>= 1;
  }
  return result;
}

// One Miller-Rabin round: false when witness proves the odd value composite.
bool passes_round(std::uint64_t value, std::uint64_t witness) {
  std::uint64_t odd_part = value - 1;
  int twos = 0;
  while (odd_part % 2 == 0) {
    odd_part /= 2;
    ++twos;
  }
  std::uint64_t x = power_mod(witness, odd_part, value);
  if (x == 1 || x == value - 1) return true;
  for (int i = 1; i < twos; ++i) {
    x = x * x % value;
    if (x == value - 1) return true;
  }
  return false;
}

}  // namespace

std::optional<Pair> first_pair(std::span<const int> table, int n) {
  for (int first : table) {
    for (int second : table) {
      if (first + second == n) return Pair{first, second};
    }
  }
  return std::nullopt;
}

bool is_prime(unsigned value) {
  // Small divisors first; the witnesses 2, 7 and 61 then decide every value
  // below 4759123141 exactly.
  for (unsigned divisor : {2u, 3u, 5u, 7u, 11u, 13u, 61u}) {
    if (value % divisor == 0) return value == divisor;
  }
  if (value < 17 * 17) return value > 1;
  for (std::uint64_t witness : {2u, 7u, 61u}) {
    if (!passes_round(value, witness)) return false;
  }
  return true;
}

std::optional<Pair> smallest_pair(int n) {
  if (n < 4) return std::nullopt;
  // The prime 2 pairs only with n - 2; every odd prime p leaves an odd n - p
  // only when n is even.
  if (is_prime(static_cast<unsigned>(n - 2))) return Pair{2, n - 2};
  if (n % 2 != 0) return std::nullopt;
  for (int first = 3; first <= n - first; first += 2) {
    if (is_prime(static_cast<unsigned>(first)) && is_prime(static_cast<unsigned>(n - first))) {
      return Pair{first, n - first};
    }
  }
  return std::nullopt;
}

}  // namespace goldbach
