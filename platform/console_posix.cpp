// The console on a POSIX system: a terminal whose locale uses UTF-8 shows
// and types UTF-8, converted here with the C library's iconv.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/console.h"
#include "platform/transcoder.h"

namespace platform {
namespace {

constexpr std::size_t kBuffer = 64 * 1024;

// The converters in the place of stdout and stdin, never destroyed: stdio
// flushes stdout after every destructor has run.
Transcoder* terminal_output = nullptr;
std::FILE* terminal = nullptr;  // the stream stdout was, unbuffered
struct TypedInput {
  Transcoder converter{Direction::utf8_to_gbk};
  std::string text;  // converted, not yet read
};
TypedInput* typed_input = nullptr;

ssize_t write_converted(void* cookie, const char* data, std::size_t size) {
  std::string text;
  static_cast<Transcoder*>(cookie)->convert(std::string_view(data, size), text);
  return std::fwrite(text.data(), 1, text.size(), terminal) == text.size()
             ? static_cast<ssize_t>(size)
             : -1;
}

// A character still cut off when output ends goes out as it stands.
void flush_at_exit() {
  std::string text;
  if (std::fflush(stdout) == 0) terminal_output->finish(text);
  std::fwrite(text.data(), 1, text.size(), terminal);
}

ssize_t read_some(char* into, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(STDIN_FILENO, into, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

// Standard input as the programs read it: the prompt printed so far goes
// out before it waits. What a UTF-8 terminal types is converted to GBK (the
// cookie is then a TypedInput); a read that ends inside a character brings
// nothing yet, so reading goes on until something arrives.
ssize_t read_typed(void* cookie, char* into, std::size_t size) {
  std::fflush(stdout);
  auto* input = static_cast<TypedInput*>(cookie);
  if (input == nullptr) return read_some(into, size);
  static char chunk[kBuffer];
  while (input->text.empty()) {
    ssize_t n = read_some(chunk, sizeof chunk);
    if (n < 0) return -1;
    if (n == 0) {
      input->converter.finish(input->text);  // an unfinished character is kept as typed
      if (input->text.empty()) return 0;
      break;
    }
    input->converter.convert(std::string_view(chunk, static_cast<std::size_t>(n)), input->text);
  }
  std::size_t given = std::min(size, input->text.size());
  std::memcpy(into, input->text.data(), given);
  input->text.erase(0, given);
  return static_cast<ssize_t>(given);
}

// A stream of `cookie` with the given function in place of `stream`, or
// nothing when none can be made.
void replace_stream(FILE*& stream, void* cookie, cookie_io_functions_t functions,
                    const char* mode) {
  static char buffers[2][kBuffer];
  FILE* replacement = ::fopencookie(cookie, mode, functions);
  if (replacement == nullptr) return;
  std::setvbuf(replacement, buffers[*mode == 'r'], _IOFBF, kBuffer);
  stream = replacement;
}

}  // namespace

void start_system_console() {
  // A terminal shows UTF-8 unless its locale names GBK.
  const bool utf8 =
      !locale_is_gbk(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
  if (utf8 && ::isatty(STDOUT_FILENO) && Transcoder(Direction::gbk_to_utf8).ready()) {
    terminal_output = new Transcoder(Direction::gbk_to_utf8);
    terminal = stdout;
    std::setvbuf(terminal, nullptr, _IONBF, 0);
    replace_stream(stdout, terminal_output, {nullptr, write_converted, nullptr, nullptr}, "w");
    std::atexit(flush_at_exit);
  }
  if (utf8 && ::isatty(STDIN_FILENO) && Transcoder(Direction::utf8_to_gbk).ready())
    typed_input = new TypedInput;
  replace_stream(stdin, typed_input, {read_typed, nullptr, nullptr, nullptr}, "r");
}

}  // namespace platform
