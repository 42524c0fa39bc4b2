#include "platform/console.h"

#include <cstdio>

namespace platform {

void start_console() {
  // Output is written in large blocks; the input reader flushes it before it
  // waits for the user, so prompts still appear in time.
  static char out_buffer[64 * 1024];
  std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
}

}  // namespace platform
