// 组合数表: prints the first ten rows of Pascal's triangle as a centred
// triangle, computing each row in place from the one before.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  constexpr int rows = 10;
  signed char row[rows] = {1};  // the largest coefficient, 126, still fits
  for (int i = 0; i < rows; ++i) {
    // From the high end down, so each element adds its left neighbour's
    // value from the previous row.
    for (int j = i; j >= 1; --j)
      row[j] = static_cast<signed char>(row[j] + row[j - 1]);
    for (int k = 0; k < rows - 1 - i; ++k)
      std::printf("  ");
    for (int j = 0; j <= i; ++j)
      std::printf("%-4d", row[j]);
    std::printf("\n");
  }
  return 0;
}
