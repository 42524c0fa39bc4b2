// 比较: compares two fixed Chinese names byte by byte and writes the sign of
// the comparison.
#include <cstdio>
#include <cstring>

#include "platform/console.h"

int main() {
  platform::start_console();
  char first[10] = "甲丁丙";
  char second[10] = "甲乙戊";
  int order = std::strcmp(first, second);
  std::printf("%d", (order > 0) - (order < 0));
  return 0;
}
