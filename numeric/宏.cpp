// 宏: reads two numbers and writes them exchanged, the exchange done by a macro.
#include <cstdio>

#include "input/read.h"
#include "platform/console.h"

// Exchanges a and b through the temporary t.
#define SWAP(a, b, t) \
  do {                \
    (t) = (a);        \
    (a) = (b);        \
    (b) = (t);        \
  } while (0)

int main() {
  platform::start_console();
  std::printf("请输入两个数:");
  double first = 0.0;
  double second = 0.0;
  double temporary = 0.0;
  if (input::scan_number(stdin, first) == EOF || input::scan_number(stdin, second) == EOF) return 0;
  SWAP(first, second, temporary);
  std::printf("%lf %lf", first, second);
  return 0;
}
