// The console on a POSIX system: a terminal whose locale uses UTF-8 shows
// and types UTF-8, converted here with the C library's iconv.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/console.h"
#include "platform/console_internal.h"
#include "platform/transcoder.h"

namespace platform {
namespace {

// Output is written in large blocks; standard input flushes it before it
// waits for the user, so prompts still appear in time.
constexpr std::size_t kOutputBuffer = 64 * 1024;
constexpr std::size_t kTypedChunk = 64 * 1024;

// The converted stream that stands in for standard output on a UTF-8
// terminal. It is never destroyed: stdio flushes it after every destructor
// has run, when the program ends.
struct TerminalOutput {
  Transcoder converter{Direction::gbk_to_utf8};
  std::string converted;
};

TerminalOutput* terminal_output = nullptr;
// Whether a terminal shows UTF-8 in this locale.
bool utf8_locale = false;

bool write_all(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

ssize_t write_converted(void* cookie, const char* data, std::size_t size) {
  auto* output = static_cast<TerminalOutput*>(cookie);
  output->converted.clear();
  output->converter.convert(std::string_view(data, size), output->converted);
  if (!write_all(STDOUT_FILENO, output->converted)) return -1;
  return static_cast<ssize_t>(size);
}

// A character still cut off when output ends goes out as it stands.
void write_held_back(TerminalOutput* output) {
  output->converted.clear();
  output->converter.finish(output->converted);
  write_all(STDOUT_FILENO, output->converted);
}

int close_converted(void* cookie) {
  write_held_back(static_cast<TerminalOutput*>(cookie));
  return 0;
}

void flush_at_exit() {
  if (std::fflush(stdout) == 0 && terminal_output != nullptr) write_held_back(terminal_output);
}

// Replaces stdout by a stream that converts to UTF-8 and writes to the same
// file descriptor. False when that cannot be done; stdout is then kept.
bool convert_output(char* buffer) {
  auto* output = new TerminalOutput;
  cookie_io_functions_t functions{};
  functions.write = write_converted;
  functions.close = close_converted;
  FILE* stream = output->converter.ready() ? ::fopencookie(output, "w", functions) : nullptr;
  if (stream == nullptr) {
    delete output;
    return false;
  }
  std::setvbuf(stream, buffer, _IOFBF, kOutputBuffer);
  terminal_output = output;
  stdout = stream;
  std::atexit(flush_at_exit);
  return true;
}

// Standard input as the programs read it. Before it waits for more, the
// prompt printed so far goes out. What a UTF-8 terminal types is converted
// to GBK; standard input is asked whether it is a terminal only when it is
// first read, so a program that never reads it never asks. A read that ends
// inside a character brings nothing yet, so reading goes on until something
// arrives.
struct TypedInput {
  bool decided = false;
  Transcoder* converter = nullptr;
  std::string pending;
};

ssize_t read_some_input(char* into, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(STDIN_FILENO, into, size);
  } while (n < 0 && errno == EINTR);
  return n;
}

ssize_t read_typed(void* cookie, char* into, std::size_t size) {
  std::fflush(stdout);
  auto* input = static_cast<TypedInput*>(cookie);
  if (!input->decided) {
    input->decided = true;
    if (utf8_locale && ::isatty(STDIN_FILENO)) {
      input->converter = new Transcoder(Direction::utf8_to_gbk);
      if (!input->converter->ready()) input->converter = nullptr;
    }
  }
  if (input->converter == nullptr) return read_some_input(into, size);
  static char chunk[kTypedChunk];
  while (input->pending.empty()) {
    ssize_t n = read_some_input(chunk, sizeof chunk);
    if (n < 0) return -1;
    if (n == 0) {
      input->converter->finish(input->pending);  // an unfinished character is kept as typed
      if (input->pending.empty()) return 0;
      break;
    }
    input->converter->convert(std::string_view(chunk, static_cast<std::size_t>(n)), input->pending);
  }
  std::size_t given = std::min(size, input->pending.size());
  std::memcpy(into, input->pending.data(), given);
  input->pending.erase(0, given);
  return static_cast<ssize_t>(given);
}

// Puts the converting stream in the place of stdin; where it cannot be made,
// stdin stays as it is.
void read_input_through_console() {
  cookie_io_functions_t functions{};
  functions.read = read_typed;
  FILE* stream = ::fopencookie(new TypedInput, "r", functions);
  if (stream == nullptr) return;
  static char buffer[kTypedChunk];
  std::setvbuf(stream, buffer, _IOFBF, sizeof buffer);
  stdin = stream;
}

}  // namespace

void start_console() {
  static bool started = false;
  if (started) return;
  started = true;

  std::set_new_handler(end_for_lack_of_memory);
  static char out_buffer[kOutputBuffer];
  // A terminal shows UTF-8 unless its locale names GBK.
  const bool utf8 =
      !locale_is_gbk(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"), std::getenv("LANG"));
  if (!(utf8 && ::isatty(STDOUT_FILENO) && convert_output(out_buffer))) {
    std::setvbuf(stdout, out_buffer, _IOFBF, kOutputBuffer);
  }
  utf8_locale = utf8;
  read_input_through_console();
}

}  // namespace platform
