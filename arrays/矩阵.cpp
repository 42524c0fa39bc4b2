// 矩阵: fills a 5x5 matrix with random numbers from 0 to 99, prints it, moves
// the four smallest values to the corners and the largest to the centre, and
// prints it again.
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "matrix.h"
#include "platform/console.h"

int main() {
  platform::start_console();
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  int m[5][5];
  for (auto& row : m) {
    for (int& cell : row)
      cell = std::rand() % 100;
  }
  print(m);
  change(m);
  std::puts("转换后的矩阵：");
  print(m);
  return 0;
}
