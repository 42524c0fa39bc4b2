// The console in the browser, and under node: the page's terminal, or the
// node runner, takes the GBK bytes the program prints as they stand and
// hands over what is typed as GBK bytes already; the page converts for its
// terminal itself. While it waits for input the program is suspended
// (emscripten's Asyncify), and the page goes on.
#include <emscripten.h>

#include <cstdio>
#include <string>

#include "platform/console.h"

// Waits for the next piece of input and copies at most `size` bytes of it to
// `into`: how many, 0 once input has ended.
EM_ASYNC_JS(int, coursework_wait_for_input, (char* into, int size), {
  const piece = await Module.readInput(size);
  if (!piece) return 0;
  HEAPU8.set(piece, into);
  return piece.length;
});

namespace platform {
namespace {

// Output is written in large blocks; the input reader flushes it before it
// waits for the user, so prompts still appear in time.
constexpr std::size_t kOutputBuffer = 64 * 1024;
constexpr int kTypedChunk = 64 * 1024;

}  // namespace

void start_console() {
  static bool started = false;
  if (started) return;
  started = true;
  static char out_buffer[kOutputBuffer];
  std::setvbuf(stdout, out_buffer, _IOFBF, kOutputBuffer);
}

void flush_output() {
  std::fflush(stdout);
}

// Standard input is always read through the page (or the runner), which
// hands over GBK bytes.
bool typed_input_converted() {
  return true;
}

bool read_typed_input(std::string& buffer) {
  const std::size_t old = buffer.size();
  buffer.resize(old + kTypedChunk);
  int got = coursework_wait_for_input(buffer.data() + old, kTypedChunk);
  buffer.resize(old + static_cast<std::size_t>(got > 0 ? got : 0));
  return got > 0;
}

}  // namespace platform
