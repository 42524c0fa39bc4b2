// no_echo COMMAND: runs COMMAND on this console with what is typed not
// echoed, and ends with its exit code. A test helper: the tests read what a
// program shows on the console, and the console's echo of the typed keys
// would be mixed into it.
#include <windows.h>

#include "tests/windows/command_tail.h"

int main() {
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
  if (!::CreateProcessW(nullptr, command_tail(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &child))
    return 127;
  ::WaitForSingleObject(child.hProcess, INFINITE);
  DWORD status = 1;
  ::GetExitCodeProcess(child.hProcess, &status);
  return static_cast<int>(status);
}
