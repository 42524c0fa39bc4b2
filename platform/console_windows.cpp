// The console on Windows. What the programs print to a console goes out
// through WriteConsoleW, converted from GBK to UTF-16 after formatting, so
// columns line up whatever the console's code page is: the runtime writes
// to a pipe in place of the console, and a thread shows what comes through
// it. What is typed comes in as GBK, the console's input code page being
// 936 while the program runs. Redirected input and output are GBK bytes as
// they stand, never in text mode. A console that Windows made for this
// program alone closes with it: the program waits for a key first.
#include <windows.h>
#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/console.h"
#include "platform/gbk.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

constexpr DWORD kPipeSize = 1 << 20;
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

HANDLE console_output = nullptr;  // where the program's text is shown, if on a console
HANDLE output_pipe = nullptr;     // the pipe's reading end, once it is set up
HANDLE output_thread = nullptr;   // which shows what comes through the pipe
std::string held;                 // a lead byte whose trail byte is still in the pipe

// Shows the text that comes through the pipe until the pipe is closed; a
// character cut off at the end of a chunk waits for the next one.
DWORD WINAPI show_output(void*) {
  static char chunk[kPipeSize];
  DWORD got = 0;
  while (::ReadFile(output_pipe, chunk, sizeof chunk, &got, nullptr) && got > 0) {
    std::string text = held + std::string(chunk, got);
    std::size_t whole = 0;  // the characters complete so far
    while (whole < text.size() &&
           (!is_gbk_lead(static_cast<unsigned char>(text[whole])) || whole + 1 < text.size()))
      whole += gbk_character_length(std::string_view(text).substr(whole));
    held = text.substr(whole);
    text.resize(whole);
    write_console(console_output, windows::to_utf16(text));
  }
  return 0;
}

// Shows standard output on the console through a pipe that takes the place
// of its descriptor. Where that cannot be set up, the console takes the
// bytes as they stand (and what was opened stays open: this happens once).
void show_output_on(HANDLE console) {
  console_output = console;
  HANDLE read_end = nullptr, write_end = nullptr, copy = nullptr;
  // The runtime closes the console's handle when the pipe takes its place;
  // the text goes to a copy of it.
  if (!::CreatePipe(&read_end, &write_end, nullptr, kPipeSize) ||
      !::DuplicateHandle(::GetCurrentProcess(), console, ::GetCurrentProcess(), &copy, 0, FALSE,
                         DUPLICATE_SAME_ACCESS))
    return;
  console_output = copy;
  output_pipe = read_end;
  int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(write_end), _O_WRONLY | _O_BINARY);
  output_thread = fd < 0 ? nullptr : ::CreateThread(nullptr, 0, show_output, nullptr, 0, nullptr);
  if (output_thread == nullptr) return;  // the pipe stays empty
  ::_dup2(fd, ::_fileno(stdout));
  ::_close(fd);
}
// Typed input is the console's own, echo, line editing and Ctrl-Z included:
// the runtime reads GBK bytes in text mode. Standard output is unbuffered
// then, so that every prompt is in the pipe before the program reads.
UINT typed_code_page = 0;  // the console's own, put back at the end

// Whether the console was made for this program alone, as for a program
// opened from Explorer: the only one on it, started by a Windows process (a
// shell shares its console; under Wine, a program started from a Unix shell
// is alone on that shell's terminal, which stays).
bool console_made_for_this_program(HANDLE in, HANDLE out) {
  DWORD processes[2];
  if (!is_console(in) || !is_console(out) || ::GetConsoleProcessList(processes, 2) != 1)
    return false;
  PROCESS_BASIC_INFORMATION process{};
  return NT_SUCCESS(::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation,
                                                &process, sizeof process, nullptr)) &&
         process.InheritedFromUniqueProcessId != 0;
}

bool pause_at_end = false;

// Says so, on a line of its own, and waits for a key, as Windows' own
// `pause` does; Ctrl-C counts as a key.
void wait_for_a_key() {
  CONSOLE_SCREEN_BUFFER_INFO screen;
  if (::GetConsoleScreenBufferInfo(console_output, &screen) && screen.dwCursorPosition.X != 0)
    write_console(console_output, L"\n");
  write_console(console_output, L"请按任意键继续. . .");
  HANDLE console_input = ::GetStdHandle(STD_INPUT_HANDLE);
  ::SetConsoleMode(console_input, 0);
  INPUT_RECORD event;
  DWORD got = 0;
  while (::ReadConsoleInputW(console_input, &event, 1, &got) && got == 1) {
    const KEY_EVENT_RECORD& key = event.Event.KeyEvent;
    const WORD code = key.wVirtualKeyCode;
    if (event.EventType == KEY_EVENT && key.bKeyDown && code != VK_SHIFT && code != VK_CONTROL &&
        code != VK_MENU)
      break;
  }
  write_console(console_output, L"\n");
}

// The rest of the output, a character cut off at the very end included,
// shown as the code page reads it; then the pause, if any.
void end_console() {
  std::fflush(stdout);
  if (output_thread != nullptr) {
    ::_close(::_fileno(stdout));  // the pipe's only writing end
    ::WaitForSingleObject(output_thread, INFINITE);
  }
  if (typed_code_page != 0) ::SetConsoleCP(typed_code_page);
  write_console(console_output, windows::to_utf16(held));
  if (pause_at_end) wait_for_a_key();
}

}  // namespace

void start_system_console() {
  HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
  HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (!is_console(in)) ::_setmode(::_fileno(stdin), _O_BINARY);
  ::_setmode(::_fileno(stdout), _O_BINARY);
  pause_at_end = console_made_for_this_program(in, out);
  if (is_console(out)) show_output_on(out);
  if (is_console(in)) {
    typed_code_page = ::GetConsoleCP();
    ::SetConsoleCP(windows::kGbkCodePage);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
  }
  std::atexit(end_console);
}

}  // namespace platform
