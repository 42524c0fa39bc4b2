// Files on Windows: the GBK name stands for its Unicode name (code page 936),
// and every file goes through the wide functions, so the names on disk are
// the same whatever the system's own code page is. Files are bytes: the
// runtime's text mode is never used.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

std::wstring wide_name(const char* name) {
  return windows::to_utf16(windows::kGbkCodePage, name);
}

// A replacement's paths are kept as UTF-8 and used as UTF-16.
std::wstring wide_path(const std::string& path) {
  return windows::to_utf16(windows::kUtf8CodePage, path);
}

bool is_regular(int fd) {
  struct _stat64 st {};
  return ::_fstat64(fd, &st) == 0 && (st.st_mode & _S_IFREG) != 0;
}

// A new, empty file beside `path` that no one else uses.
HANDLE create_temporary(const std::wstring& path, std::wstring& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
           std::to_wstring(attempt) + L".tmp";
    HANDLE file = ::CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE || ::GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return INVALID_HANDLE_VALUE;
}

// A process of that number is still running (or cannot be looked at).
bool running(unsigned long pid) {
  HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (process == nullptr) return ::GetLastError() == ERROR_ACCESS_DENIED;
  bool alive = ::WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  ::CloseHandle(process);
  return alive;
}

}  // namespace

std::FILE* open_file(const char* name, const char* mode) {
  std::FILE* file =
      ::_wfopen(wide_name(name).c_str(), std::wstring(mode, mode + std::strlen(mode)).c_str());
  if (file != nullptr && !is_regular(::_fileno(file))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

bool can_replace(const char* name) {
  const replacing::Target target = replacing::inspect(name);
  if (target.kind == replacing::Kind::unusable) return false;
  std::wstring probe;
  HANDLE file = create_temporary(wide_path(target.path), probe);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  ::DeleteFileW(probe.c_str());
  return true;
}

// The lock is a named mutex that stands for the folder (its volume and file
// index); the system destroys it when the last program holding it ends.
bool hold_working_folder() {
  HANDLE folder = ::CreateFileW(L".", 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  BY_HANDLE_FILE_INFORMATION info{};
  bool known = folder != INVALID_HANDLE_VALUE && ::GetFileInformationByHandle(folder, &info);
  if (folder != INVALID_HANDLE_VALUE) ::CloseHandle(folder);
  if (!known) return true;  // a folder that cannot be told apart is not refused
  std::wstring name = L"Local\\coursework-folder-" + std::to_wstring(info.dwVolumeSerialNumber) +
                      L"-" + std::to_wstring(info.nFileIndexHigh) + L"-" +
                      std::to_wstring(info.nFileIndexLow);
  HANDLE lock = ::CreateMutexW(nullptr, FALSE, name.c_str());
  return lock == nullptr || ::GetLastError() != ERROR_ALREADY_EXISTS;
}

namespace replacing {

// A file may be replaced when it is a file, not read-only and not held open
// by another program against writing; or when there is none yet.
Target inspect(const char* name) {
  Target target;
  const std::wstring path = wide_name(name);
  target.path = windows::to_utf8(path);
  if (path.empty()) return target;
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    if (::GetLastError() == ERROR_FILE_NOT_FOUND) target.kind = Kind::missing;
    return target;
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return target;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return target;
  BY_HANDLE_FILE_INFORMATION info{};
  if (::GetFileType(file) == FILE_TYPE_DISK && ::GetFileInformationByHandle(file, &info)) {
    target.kind = Kind::regular;
    target.identity = std::to_string(info.dwVolumeSerialNumber) + ":" +
                      std::to_string(info.nFileIndexHigh) + ":" +
                      std::to_string(info.nFileIndexLow);
  }
  ::CloseHandle(file);
  return target;
}

// Temporary files are named "<file>.<process>.<n>.tmp", second names
// "<file>.<process>.old", beside the file in the working folder.
void remove_leftovers(const Target& target) {
  const std::wstring prefix = wide_path(target.path) + L".";
  WIN32_FIND_DATAW found{};
  HANDLE search = ::FindFirstFileW((prefix + L"*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    std::wstring name = found.cFileName;
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) continue;
    if (!name.ends_with(L".tmp") && !name.ends_with(L".old")) continue;
    wchar_t* end = nullptr;
    unsigned long pid = std::wcstoul(name.c_str() + prefix.size(), &end, 10);
    if (*end == L'.' && !running(pid)) ::DeleteFileW(name.c_str());
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
}

bool write_temporary(Target& target, unsigned /*mode*/, const Content& content) {
  std::wstring temporary;
  HANDLE handle = create_temporary(wide_path(target.path), temporary);
  if (handle == INVALID_HANDLE_VALUE) return false;
  target.temporary = windows::to_utf8(temporary);
  int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
  std::FILE* file = fd >= 0 ? ::_fdopen(fd, "wb") : nullptr;
  bool written = file != nullptr;
  if (written) {
    written = write_content(file, content) && ::FlushFileBuffers(handle) != 0;
    written = std::fclose(file) == 0 && written;
  } else if (fd >= 0) {
    ::_close(fd);
  } else {
    ::CloseHandle(handle);
  }
  if (!written) clean_up(target);
  return written;
}

bool write_device(const Target& /*target*/, const Content& /*content*/) {
  return false;  // inspect() finds none
}

bool keep_old(Target& target) {
  if (target.kind != Kind::regular) return true;
  const std::wstring path = wide_path(target.path);
  const std::wstring backup = path + L"." + std::to_wstring(::GetCurrentProcessId()) + L".old";
  ::DeleteFileW(backup.c_str());
  if (!::CreateHardLinkW(backup.c_str(), path.c_str(), nullptr) &&
      !::CopyFileW(path.c_str(), backup.c_str(), TRUE))
    return false;
  target.backup = windows::to_utf8(backup);
  return true;
}

bool put_in_place(Target& target, bool durable) {
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  if (!::MoveFileExW(wide_path(target.temporary).c_str(), wide_path(target.path).c_str(), flags))
    return false;
  target.temporary.clear();
  target.placed = true;
  return true;
}

void put_back(Target& target, bool /*durable*/) {
  if (!target.backup.empty()) {
    if (::MoveFileExW(wide_path(target.backup).c_str(), wide_path(target.path).c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      target.backup.clear();
  } else {
    ::DeleteFileW(wide_path(target.path).c_str());
  }
  target.placed = false;
}

void clean_up(Target& target) {
  if (!target.temporary.empty()) ::DeleteFileW(wide_path(target.temporary).c_str());
  if (!target.backup.empty()) ::DeleteFileW(wide_path(target.backup).c_str());
  target.temporary.clear();
  target.backup.clear();
}

// The folder the program writes is the one the system keeps.
bool store_folder() {
  return true;
}

}  // namespace replacing
}  // namespace platform
