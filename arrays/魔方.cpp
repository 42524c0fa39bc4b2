// 魔方: builds the magic square of order 11 from the numbers 1 to 121 and
// prints it. Each number goes one row up and one column right of the one
// before, wrapping around the edges; the number after each multiple of 11
// goes one row down instead.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  constexpr int n = 11;
  int square[n][n] = {};
  int row = 0;
  int col = n / 2;
  square[row][col] = 1;
  for (int k = 2; k <= n * n; ++k) {
    if (k % n == 1) {
      row = (row + 1) % n;
    } else {
      row = (row + n - 1) % n;
      col = (col + 1) % n;
    }
    square[row][col] = k;
  }
  for (const auto& line : square) {
    for (int value : line)
      std::printf("%-4d", value);
    std::printf("\n");
  }
  return 0;
}
