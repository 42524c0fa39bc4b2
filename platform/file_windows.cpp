// Files on Windows: the GBK name stands for its Unicode name (code page 936),
// and every file goes through the wide functions, so the names on disk are
// the same whatever the system's own code page is. Files are bytes: the
// runtime's text mode is never used.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>

#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

// The temporary file beside `path`, made anew and shared with no one: a
// name no user gives a file, the same each time while the book is held
// (what a killed save left is replaced), else the process's own.
std::FILE* create_temporary(const std::string& path, std::wstring& name) {
  name = windows::to_utf16(path) + L".~saving";
  if (!replacing::book_held) name.append(L"-").append(std::to_wstring(::GetCurrentProcessId()));
  name += L".tmp";
  ::DeleteFileW(name.c_str());
  return ::_wfsopen(name.c_str(), L"wb", _SH_DENYRW);
}

}  // namespace

std::FILE* open_file(const char* name, const char* mode) {
  std::FILE* file = ::_wfopen(windows::to_utf16(name).c_str(),
                              std::wstring(mode, mode + std::strlen(mode)).c_str());
  struct _stat64 st {};
  if (file != nullptr && (::_fstat64(::_fileno(file), &st) != 0 || !(st.st_mode & _S_IFREG))) {
    std::fclose(file);
    return nullptr;
  }
  return file;
}

// The lock is a byte of a lock file beside the book, which other sessions
// and other computers that open the folder see too; the system lets it go
// when the program ends. Where no lock file can be made the folder is
// read-only, and no save could succeed there anyway.
Hold hold_book(const char* name) {
  // Opened for writing too: Wine takes a write lock of its system for it.
  HANDLE lock =
      ::CreateFileW((windows::to_utf16(name) + L".lock").c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN, nullptr);
  if (lock == INVALID_HANDLE_VALUE) return Hold::held;
  OVERLAPPED first_byte{};
  if (::LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0,
                   &first_byte)) {
    replacing::book_held = true;
    return Hold::held;
  }
  bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
  ::CloseHandle(lock);
  return busy ? Hold::busy : Hold::held;
}

namespace replacing {

// A file may be replaced when it is a file, not read-only and not held open
// by another program against writing; or when there is none yet.
Target inspect(const char* name) {
  Target target;
  target.path = name;
  const std::wstring path = windows::to_utf16(name);
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

bool folder_takes_files(const Target& target) {
  std::wstring probe;
  std::FILE* file = create_temporary(target.path, probe);
  if (file == nullptr) return false;
  std::fclose(file);
  ::DeleteFileW(probe.c_str());
  return true;
}

// The new file is flushed to the disk, and with `durable` its change of
// names too before MoveFileEx returns.
Replaced replace_one(const Target& target, unsigned /*mode*/, bool durable,
                     const Content& content) {
  std::wstring temporary;
  std::FILE* file = create_temporary(target.path, temporary);
  if (file == nullptr) return Replaced::no;
  HANDLE handle = reinterpret_cast<HANDLE>(::_get_osfhandle(::_fileno(file)));
  bool written = write_content(file, content) && ::FlushFileBuffers(handle) != 0;
  written = std::fclose(file) == 0 && written;
  const DWORD flags = MOVEFILE_REPLACE_EXISTING | (durable ? MOVEFILE_WRITE_THROUGH : 0);
  if (!written ||
      !::MoveFileExW(temporary.c_str(), windows::to_utf16(target.path).c_str(), flags)) {
    ::DeleteFileW(temporary.c_str());
    return Replaced::no;
  }
  return Replaced::yes;
}

}  // namespace replacing
}  // namespace platform
