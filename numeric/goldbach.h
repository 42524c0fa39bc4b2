// The Goldbach split of an even number: the smallest prime p for which n - p
// is a prime too. The prime table and its pair search define that pair; the
// program finds the same pair by testing n - p directly, which takes
// microseconds for every number where building the table takes milliseconds.
#pragma once

#include <optional>
#include <span>
#include <vector>

namespace goldbach {

struct Pair {
  int first;
  int second;
  bool operator==(const Pair&) const = default;
};

// 2 followed by the odd primes below n in increasing order, each odd
// candidate tested by counting its divisors up to its square root. (In a
// file of its own: the program does not link it, nor the maths library it
// needs.)
std::vector<int> prime_table(int n);

// The first entries i, j of the table (outer index i, inner index j, both
// from the start) whose sum is n; none when no two entries add up to n.
std::optional<Pair> first_pair(std::span<const int> table, int n);

// True when value is a prime; exact for every value below 2^32.
bool is_prime(unsigned value);

// The same pair as first_pair over the full table below n, for every n up to
// the int range, without building that table: the smallest prime p with
// n - p prime, the primes p tried in increasing order. None when there is no
// such p (n below 4, or an odd n whose n - 2 is no prime).
std::optional<Pair> smallest_pair(int n);

}  // namespace goldbach
