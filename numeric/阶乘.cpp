// 阶乘: writes the sum 1! + 2! + ... + 20! in 64-bit integer arithmetic.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  long long sum = 0;
  for (int i = 1; i <= 20; ++i) {
    long long factorial = 1;
    for (int j = 1; j <= i; ++j)
      factorial = factorial * static_cast<long long>(j);
    sum = sum + factorial;
  }
  std::printf("sum=%lld\n", sum);
  return 0;
}
