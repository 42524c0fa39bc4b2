#include <windows.h>
#include <winternl.h>

#include <shellapi.h>

#include <cstdio>

#include "checker/run.h"
#include "checker/screen.h"
#include "checker/wide_windows.h"

namespace check {
namespace {

using check::windows::to_utf16;
using check::windows::to_utf8;

HANDLE output() {
  return ::GetStdHandle(STD_OUTPUT_HANDLE);
}

bool is_console(HANDLE handle) {
  DWORD mode = 0;
  return ::GetConsoleMode(handle, &mode) != 0;
}

// Whether Windows made the console for the checker alone, as for a program
// opened from Explorer: no shell shares it, and a Windows process started
// the checker (under Wine, a Unix shell's terminal is no such console).
bool console_made_for_the_checker() {
  DWORD processes[2];
  if (!is_console(::GetStdHandle(STD_INPUT_HANDLE)) || !is_console(output()) ||
      ::GetConsoleProcessList(processes, 2) != 1)
    return false;
  PROCESS_BASIC_INFORMATION process{};
  return NT_SUCCESS(::NtQueryInformationProcess(::GetCurrentProcess(), ProcessBasicInformation,
                                                &process, sizeof process, nullptr)) &&
         process.InheritedFromUniqueProcessId != 0;
}

}  // namespace

Screen::Screen() {
  own_window_ = console_made_for_the_checker();
}

std::vector<std::string> Screen::arguments(int, char**) const {
  int count = 0;
  LPWSTR* words = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  std::vector<std::string> args;
  for (int i = 1; i < count; ++i)
    args.push_back(to_utf8(words[i]));
  ::LocalFree(words);
  return args;
}

std::vector<std::filesystem::path> Screen::default_paths() const {
  return {std::filesystem::path(to_utf16(CP_UTF8, own_path())).parent_path()};
}

void Screen::say(const std::string& utf8) {
  if (is_console(output())) {
    std::wstring text = to_utf16(CP_UTF8, utf8);
    DWORD written = 0;
    ::WriteConsoleW(output(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  } else {
    DWORD written = 0;
    ::WriteFile(output(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  }
}

void Screen::finish() {
  if (!own_window_) return;
  say(reinterpret_cast<const char*>(u8"\n请按任意键继续. . ."));
  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  ::SetConsoleMode(input, 0);
  INPUT_RECORD event;
  DWORD got = 0;
  while (::ReadConsoleInputW(input, &event, 1, &got) && got == 1) {
    const KEY_EVENT_RECORD& key = event.Event.KeyEvent;
    if (event.EventType == KEY_EVENT && key.bKeyDown && key.wVirtualKeyCode != VK_SHIFT &&
        key.wVirtualKeyCode != VK_CONTROL && key.wVirtualKeyCode != VK_MENU)
      break;
  }
  say("\n");
}

}  // namespace check
