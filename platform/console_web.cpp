// The console in the browser, and under node: the page's terminal, or the
// node runner, takes the GBK bytes the program prints as they stand and
// hands over what is typed as GBK bytes already; the page converts for its
// terminal itself. While it waits for input the program is suspended
// (emscripten's Asyncify), and the page goes on.
#include <emscripten.h>

#include <cstdio>
#include <new>

#include "platform/console.h"
#include "platform/console_internal.h"

// Waits for the next piece of input and copies at most `size` bytes of it to
// `into`: how many, 0 once input has ended.
EM_ASYNC_JS(int, coursework_wait_for_input, (char* into, int size), {
  const piece = await Module.readInput(size);
  if (!piece) return 0;
  HEAPU8.set(piece, into);
  return piece.length;
});

namespace platform {

// Output is written in large blocks; the input reader flushes it before it
// waits for the user, so prompts still appear in time.
void start_console() {
  static bool started = false;
  if (started) return;
  started = true;
  std::set_new_handler(end_for_lack_of_memory);
  static char out_buffer[64 * 1024];
  std::setvbuf(stdout, out_buffer, _IOFBF, sizeof out_buffer);
}

long read_standard_input(char* into, std::size_t size) {
  std::fflush(stdout);
  constexpr std::size_t kLargest = 1 << 30;
  long got = coursework_wait_for_input(into, static_cast<int>(size < kLargest ? size : kLargest));
  return got > 0 ? got : 0;
}

}  // namespace platform
