// good: prints a fixed three-line banner, without a final line break.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  std::printf(
      "* * * * * * * * * * * * * * * * * * * * * *\n"
      "             Very Good!\n"
      "* * * * * * * * * * * * * * * * * * * * * *");
  return 0;
}
