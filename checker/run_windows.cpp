#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "checker/run.h"
#include "checker/wide_windows.h"

namespace check {
namespace {

namespace fs = std::filesystem;
using check::windows::kGbkCodePage;
using check::windows::to_utf16;
using check::windows::to_utf8;

std::string to_gbk(std::wstring_view text) {
  if (text.empty()) return {};
  int size = ::WideCharToMultiByte(kGbkCodePage, 0, text.data(), static_cast<int>(text.size()),
                                   nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(kGbkCodePage, 0, text.data(), static_cast<int>(text.size()), out.data(),
                        size, nullptr, nullptr);
  return out;
}

fs::path fresh_folder() {
  wchar_t temp[MAX_PATH + 1];
  ::GetTempPathW(MAX_PATH + 1, temp);
  for (unsigned n = ::GetTickCount();; ++n) {
    fs::path folder = fs::path(temp) / (L"check." + std::to_wstring(::GetCurrentProcessId()) +
                                        L"." + std::to_wstring(n));
    if (::CreateDirectoryW(folder.c_str(), nullptr)) return folder;
    if (::GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("no temporary folder");
  }
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// A command line as the C runtime splits it again: each word quoted.
std::wstring command_line(const std::vector<std::string>& words) {
  std::wstring line;
  for (const std::string& word : words) {
    std::wstring wide = to_utf16(CP_UTF8, word), quoted = L"\"";
    for (wchar_t c : wide)
      quoted += c == L'"' ? std::wstring(L"\\\"") : std::wstring(1, c);
    line += (line.empty() ? L"" : L" ") + quoted + L"\"";
  }
  return line;
}

std::string exception_name(DWORD code) {
  char hex[16];
  std::snprintf(hex, sizeof hex, "0x%08lX", static_cast<unsigned long>(code));
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
      return std::string(hex) + " (a bad pointer or an array overrun)";
    case EXCEPTION_STACK_OVERFLOW:
      return std::string(hex) + " (stack overflow)";
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
      return std::string(hex) + " (a division by zero)";
    default:
      return hex;
  }
}

}  // namespace

Run run_program(const Launch& launch, const std::map<std::string, std::string>& files,
                const std::string& input) {
  Run run;
  fs::path top = fresh_folder(), folder = top / L"w";
  fs::create_directory(folder);
  for (const auto& [name, content] : files)
    std::ofstream(folder / to_utf16(kGbkCodePage, name), std::ios::binary) << content;

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE in_read = nullptr, in_write = nullptr;
  ::CreatePipe(&in_read, &in_write, &inherit, 1 << 20);
  ::SetHandleInformation(in_write, HANDLE_FLAG_INHERIT, 0);
  HANDLE out = ::CreateFileW((top / L"out").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  HANDLE null =
      ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in_read;
  startup.hStdOutput = out;
  startup.hStdError = null;
  PROCESS_INFORMATION process{};
  std::wstring line = command_line(launch.command);
  // A job, so that whatever the program starts ends with it.
  HANDLE job = ::CreateJobObjectW(nullptr, nullptr);
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  ::SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
  bool started = ::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                                  CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, folder.c_str(),
                                  &startup, &process);
  ::CloseHandle(out);
  ::CloseHandle(null);
  if (!started) {
    run.not_started = "error " + std::to_string(::GetLastError());
  } else {
    ::AssignProcessToJobObject(job, process.hProcess);
    ::ResumeThread(process.hThread);
    DWORD written = 0;
    ::WriteFile(in_write, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
    ULONGLONG start = ::GetTickCount64(), idle_since = 0, cpu = 0;
    bool closed = false;
    for (;;) {
      if (::WaitForSingleObject(process.hProcess, 5) == WAIT_OBJECT_0) break;
      ULONGLONG now = ::GetTickCount64();
      if (now - start > static_cast<ULONGLONG>(launch.time_limit_ms)) {
        ::TerminateJobObject(job, 1);
        ::WaitForSingleObject(process.hProcess, INFINITE);
        run.timed_out = true;
        break;
      }
      DWORD waiting = 1;
      if (closed || !::PeekNamedPipe(in_read, nullptr, 0, nullptr, &waiting, nullptr)) continue;
      // A program still starting uses the processor; one waiting for input does not.
      FILETIME created, ended, kernel, user;
      ::GetProcessTimes(process.hProcess, &created, &ended, &kernel, &user);
      ULONGLONG used = (ULONGLONG(kernel.dwHighDateTime) << 32 | kernel.dwLowDateTime) +
                       (ULONGLONG(user.dwHighDateTime) << 32 | user.dwLowDateTime);
      if (waiting != 0 || used != cpu)
        idle_since = 0, cpu = used;
      else if (idle_since == 0)
        idle_since = now;
      else if (now - idle_since > static_cast<ULONGLONG>(launch.idle_ms)) {
        ::CloseHandle(in_write);
        in_write = nullptr;
        closed = true;
      }
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process.hProcess, &code);
    if (!run.timed_out) {
      if (code >= 0xC0000000u)
        run.crash = "exception " + exception_name(code);
      else
        run.status = static_cast<int>(code);
      run.waited = closed;
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  if (in_write != nullptr) ::CloseHandle(in_write);
  ::CloseHandle(in_read);
  ::CloseHandle(job);
  run.out = read_all(top / L"out");
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file())
      run.files[to_gbk(entry.path().filename().wstring())] = read_all(entry.path());
  std::error_code ignored;
  fs::remove_all(top, ignored);
  return run;
}

std::string own_path() {
  wchar_t path[32768];
  DWORD length = ::GetModuleFileNameW(nullptr, path, 32768);
  return to_utf8(std::wstring_view(path, length));
}

}  // namespace check
