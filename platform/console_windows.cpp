// The console on Windows. What the programs print to a console goes out
// through WriteConsoleW and what is typed at one comes in through
// ReadConsoleW, converted between GBK and UTF-16 here, so Chinese shows and
// types correctly whatever the console's code page is. Redirected input and
// output are GBK bytes as they stand: never in text mode.
//
// The C runtime writes standard output to its file descriptor and knows
// nothing of the conversion, so on a console that descriptor becomes a pipe,
// and the text arriving in it is put on the console: before the program
// waits for input and when it ends, and, so that a long output never fills
// the pipe while nobody reads it, by a small thread in between.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include "platform/console.h"
#include "platform/console_internal.h"
#include "platform/file.h"
#include "platform/transcoder.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

constexpr std::size_t kOutputBuffer = 64 * 1024;
constexpr DWORD kPipeSize = 1 << 20;
constexpr DWORD kTypedChunk = 4096;
// WriteConsoleW is given at most this many UTF-16 units at once.
constexpr std::size_t kConsoleWrite = 8192;

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode);
}

void write_console(HANDLE console, std::wstring_view text) {
  while (!text.empty()) {
    std::size_t size = text.size() < kConsoleWrite ? text.size() : kConsoleWrite;
    if (size < text.size() && IS_HIGH_SURROGATE(text[size - 1])) --size;  // keep pairs whole
    DWORD written = 0;
    if (!::WriteConsoleW(console, text.data(), static_cast<DWORD>(size), &written, nullptr) ||
        written == 0)
      return;
    text.remove_prefix(written);
  }
}

class ConsoleOutput {
 public:
  // Puts a pipe in place of standard output's descriptor and starts the
  // thread that empties it; false, with nothing changed, when it cannot.
  bool start(HANDLE console);

  // Everything written to standard output so far goes on the console.
  void show_all();

  // While the program waits for typed input it writes nothing: the thread
  // rests meanwhile.
  void pause() { ::ResetEvent(running_); }
  void resume() { ::SetEvent(running_); }

  // Stops the thread and shows the rest, a character cut off at the very
  // end included.
  void finish();

 private:
  static DWORD WINAPI pump(void* self);
  bool show_waiting();

  HANDLE console_ = nullptr;
  HANDLE pipe_ = nullptr;     // the reading end
  HANDLE running_ = nullptr;  // set while the thread is to empty the pipe
  HANDLE thread_ = nullptr;
  volatile LONG stopping_ = 0;
  CRITICAL_SECTION lock_;  // held while text moves from the pipe to the console
  Transcoder to_utf8_{Direction::gbk_to_utf8};
  std::string chunk_;
  std::string utf8_;
};

ConsoleOutput* console_output = nullptr;

bool ConsoleOutput::start(HANDLE console) {
  if (!to_utf8_.ready()) return false;
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!::CreatePipe(&read_end, &write_end, nullptr, kPipeSize)) return false;
  int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(write_end), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(read_end);
    ::CloseHandle(write_end);
    return false;
  }
  // The runtime closes the console's handle when it puts the pipe in its
  // place; the text goes to a copy of it.
  if (!::DuplicateHandle(::GetCurrentProcess(), console, ::GetCurrentProcess(), &console_, 0, FALSE,
                         DUPLICATE_SAME_ACCESS)) {
    ::_close(fd);
    ::CloseHandle(read_end);
    return false;
  }
  pipe_ = read_end;
  ::InitializeCriticalSection(&lock_);
  running_ = ::CreateEventW(nullptr, TRUE, TRUE, nullptr);
  thread_ = running_ ? ::CreateThread(nullptr, 0, pump, this, 0, nullptr) : nullptr;
  std::fflush(stdout);
  if (thread_ == nullptr || ::_dup2(fd, ::_fileno(stdout)) != 0) {
    // Nothing was redirected; a started thread finds the pipe empty forever.
    ::_close(fd);
    return false;
  }
  ::_close(fd);
  return true;
}

// Moves what waits in the pipe to the console; called with the lock held.
// False when the pipe was empty.
bool ConsoleOutput::show_waiting() {
  DWORD waiting = 0;
  if (!::PeekNamedPipe(pipe_, nullptr, 0, nullptr, &waiting, nullptr) || waiting == 0) return false;
  chunk_.resize(waiting);
  DWORD got = 0;
  if (!::ReadFile(pipe_, chunk_.data(), waiting, &got, nullptr) || got == 0) return false;
  utf8_.clear();
  to_utf8_.convert(std::string_view(chunk_.data(), got), utf8_);
  write_console(console_, windows::to_utf16(windows::kUtf8CodePage, utf8_));
  return true;
}

DWORD WINAPI ConsoleOutput::pump(void* self) {
  auto* output = static_cast<ConsoleOutput*>(self);
  while (output->stopping_ == 0) {
    ::WaitForSingleObject(output->running_, INFINITE);
    ::EnterCriticalSection(&output->lock_);
    bool shown = output->stopping_ == 0 && output->show_waiting();
    ::LeaveCriticalSection(&output->lock_);
    if (!shown) ::Sleep(1);
  }
  return 0;
}

void ConsoleOutput::show_all() {
  ::EnterCriticalSection(&lock_);
  while (show_waiting()) {
  }
  ::LeaveCriticalSection(&lock_);
}

void ConsoleOutput::finish() {
  std::fflush(stdout);
  ::InterlockedExchange(&stopping_, 1);
  resume();
  ::WaitForSingleObject(thread_, INFINITE);
  show_all();
  utf8_.clear();
  to_utf8_.finish(utf8_);  // half a character: shown as the code page reads it
  write_console(console_, windows::to_utf16(windows::kGbkCodePage, utf8_));
}

void finish_output() {
  console_output->finish();
}

// Typed input, line by line as the console hands it over. A line typed ends
// in "\n", as the runtime's text mode would give it; Ctrl-Z ends the input,
// as it ends input at any Windows console.
class ConsoleInput {
 public:
  explicit ConsoleInput(HANDLE console) : console_(console) {}
  bool read(std::string& buffer);

 private:
  void take_typed(std::string& buffer);

  HANDLE console_;
  Transcoder to_gbk_{Direction::utf8_to_gbk};
  std::wstring pending_;  // typed text not yet handed over
  bool ended_ = false;
};

ConsoleInput* console_input = nullptr;

bool ConsoleInput::read(std::string& buffer) {
  const std::size_t old = buffer.size();
  wchar_t typed[kTypedChunk];
  while (!ended_ && buffer.size() == old) {
    DWORD got = 0;
    if (console_output != nullptr) console_output->pause();
    BOOL read = ::ReadConsoleW(console_, typed, kTypedChunk, &got, nullptr);
    if (console_output != nullptr) console_output->resume();
    std::wstring_view text(typed, read ? got : 0);
    std::size_t end_of_input = text.find(L'\x1a');
    if (!read || got == 0 || end_of_input != std::wstring_view::npos) {
      text = text.substr(0, end_of_input);
      ended_ = true;
    }
    pending_.append(text);
    take_typed(buffer);
  }
  if (ended_) to_gbk_.finish(buffer);
  return !ended_;
}

// Hands over the pending text with its line ends as "\n". A carriage return
// or a first surrogate at the very end waits for what follows it, unless
// input has ended.
void ConsoleInput::take_typed(std::string& buffer) {
  std::size_t whole = pending_.size();
  if (!ended_ && whole > 0 &&
      (pending_[whole - 1] == L'\r' || IS_HIGH_SURROGATE(pending_[whole - 1])))
    --whole;
  std::wstring text;
  for (std::size_t i = 0; i < whole; ++i) {
    if (pending_[i] == L'\r' && i + 1 < pending_.size() && pending_[i + 1] == L'\n') continue;
    text += pending_[i];
  }
  pending_.erase(0, whole);
  to_gbk_.convert(windows::to_utf8(text), buffer);
}

}  // namespace

void start_console() {
  static bool started = false;
  if (started) return;
  started = true;

  std::set_new_handler(end_for_lack_of_memory);
  ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (is_console(out)) {
    auto* output = new ConsoleOutput;
    if (output->start(out)) {
      console_output = output;
      std::atexit(finish_output);
    }
  }
  static char out_buffer[kOutputBuffer];
  std::setvbuf(stdout, out_buffer, _IOFBF, kOutputBuffer);
  HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  if (is_console(in)) console_input = new ConsoleInput(in);
}

long read_standard_input(char* into, std::size_t size) {
  std::fflush(stdout);
  if (console_output != nullptr) console_output->show_all();
  if (console_input == nullptr) {
    long n = read_some(0, into, size);
    return n > 0 ? n : 0;
  }
  static std::string pending;
  if (pending.empty() && !console_input->read(pending) && pending.empty()) return 0;
  std::size_t given = std::min(size, pending.size());
  std::memcpy(into, pending.data(), given);
  pending.erase(0, given);
  return static_cast<long>(given);
}

}  // namespace platform
