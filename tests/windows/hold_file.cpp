// hold_file NAME: opens the file NAME, letting other programs only read it,
// writes "held" to standard output, and holds the file so until standard
// input ends. A test helper: another program that has a file open, as an
// editor or a spreadsheet does, stands in the way of replacing it.
#include <windows.h>

#include "tests/windows/command_tail.h"

int main() {
  HANDLE file = ::CreateFileW(command_tail(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD count = 0;
  ::WriteFile(::GetStdHandle(STD_OUTPUT_HANDLE), "held\n", 5, &count, nullptr);
  char byte;
  while (::ReadFile(::GetStdHandle(STD_INPUT_HANDLE), &byte, 1, &count, nullptr) && count > 0) {
  }
  ::CloseHandle(file);
  return 0;
}
