#include "platform/console.h"

#include <cstdio>
#include <cstdlib>
#include <new>

namespace platform {

// Output is written in large blocks; standard input flushes it before it
// waits for the user, so prompts still appear in time.
void start_console() {
  std::set_new_handler([] {
    std::set_new_handler(nullptr);  // a second failure while saying so is not retried
    std::puts("内存不足！");
    std::exit(0);
  });
  static char buffer[64 * 1024];
  std::setvbuf(stdout, buffer, _IOFBF, sizeof buffer);
  start_system_console();
}

}  // namespace platform
