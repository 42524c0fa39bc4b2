// no_echo [/alone] COMMAND: runs COMMAND on this console with what is typed
// not echoed, and ends with its exit code. A test helper: the tests read what
// a program shows on the console, and the console's echo of the typed keys
// would be mixed into it. With /alone, this helper lets go of the console
// before COMMAND runs, so that COMMAND is alone on it, as a program opened
// from Explorer is alone on the console Windows makes for it.
#include <windows.h>

#include <cwchar>

#include "tests/windows/command_tail.h"

int main() {
  wchar_t* command = command_tail();
  const wchar_t alone_flag[] = L"/alone ";
  const std::size_t flag_length = std::wcslen(alone_flag);
  const bool alone = std::wcsncmp(command, alone_flag, flag_length) == 0;
  if (alone) command += flag_length;

  HANDLE input = ::GetStdHandle(STD_INPUT_HANDLE);
  DWORD mode = 0;
  if (::GetConsoleMode(input, &mode)) ::SetConsoleMode(input, mode & ~ENABLE_ECHO_INPUT);

  // The standard handles are passed on as they are: a console, a pipe or a file.
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = input;
  startup.hStdOutput = ::GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION child{};
  if (!::CreateProcessW(nullptr, command, nullptr, nullptr, TRUE, alone ? CREATE_SUSPENDED : 0,
                        nullptr, nullptr, &startup, &child))
    return 127;
  if (alone) {
    ::FreeConsole();
    ::ResumeThread(child.hThread);
  }
  ::WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 1;
  ::GetExitCodeProcess(child.hProcess, &status);
  return static_cast<int>(status);
}
