// The console in the browser, and under node: the page's terminal, or the
// node runner, takes the GBK bytes the program prints as they stand and
// hands over what is typed as GBK bytes already (stdin_web.js); the page
// converts for its terminal itself.
#include <cstdio>
#include <new>

#include "platform/console.h"
#include "platform/console_internal.h"

namespace platform {

// Output is written in large blocks; standard input flushes it before it
// waits for the user, so prompts still appear in time.
void start_console() {
  static bool started = false;
  if (started) return;
  started = true;
  std::set_new_handler(end_for_lack_of_memory);
  static char out_buffer[64 * 1024];
  std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
}

}  // namespace platform
