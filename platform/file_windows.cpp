// Files on Windows: the GBK name stands for its Unicode name (code page 936),
// and every file goes through the wide functions, so the names on disk are
// the same whatever the system's own code page is. Files are bytes: the
// runtime's text mode is never used.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <cstdint>
#include <string>

#include "platform/file.h"
#include "platform/utf16_windows.h"

namespace platform {
namespace {

std::wstring wide_name(const char* name) {
  return windows::to_utf16(windows::kGbkCodePage, name);
}

// What stands where a file is to be written.
enum class Target { missing, regular, unusable };

// A file may be replaced when it is a file, not read-only and not held open
// by another program against writing; or when there is none yet.
Target inspect(const std::wstring& path) {
  DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND ? Target::missing : Target::unusable;
  }
  if (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) return Target::unusable;
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return Target::unusable;
  bool disk_file = ::GetFileType(file) == FILE_TYPE_DISK;
  ::CloseHandle(file);
  return disk_file ? Target::regular : Target::unusable;
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

// Writes the body into the new file through a large buffer and puts it on
// the disk; false when it, or any write, failed. The file is closed either way.
bool write_to_disk(HANDLE handle, WriteBody write_body, const void* context) {
  static char buffer[1 << 18];
  int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(handle), _O_WRONLY | _O_BINARY);
  if (fd < 0) {
    ::CloseHandle(handle);
    return false;
  }
  std::FILE* file = ::_fdopen(fd, "wb");
  if (file == nullptr) {
    ::_close(fd);
    return false;
  }
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = write_body(file, context);
  written = std::fflush(file) == 0 && written;
  written = !std::ferror(file) && written;
  written = written && ::FlushFileBuffers(handle) != 0;
  return std::fclose(file) == 0 && written;
}

}  // namespace

int open_for_reading(const char* name) {
  int fd = ::_wopen(wide_name(name).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) return -1;
  struct _stat64 st {};
  if (::_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFDIR) != 0) {
    ::_close(fd);
    return -1;
  }
  return fd;
}

long read_some(int descriptor, char* into, std::size_t size) {
  unsigned chunk = size > (1u << 30) ? (1u << 30) : static_cast<unsigned>(size);
  return ::_read(descriptor, into, chunk);
}

bool rewind_file(int descriptor) {
  return ::_lseeki64(descriptor, 0, SEEK_SET) == 0;
}

void close_file(int descriptor) {
  ::_close(descriptor);
}

std::FILE* open_for_update(const char* name) {
  return ::_wfopen(wide_name(name).c_str(), L"r+b");
}

int descriptor_of(std::FILE* stream) {
  return ::_fileno(stream);
}

bool can_replace(const char* name) {
  const std::wstring path = wide_name(name);
  if (path.empty() || inspect(path) == Target::unusable) return false;
  std::wstring probe;
  HANDLE file = create_temporary(path, probe);
  if (file == INVALID_HANDLE_VALUE) return false;
  ::CloseHandle(file);
  ::DeleteFileW(probe.c_str());
  return true;
}

struct Replacement::Pending {
  Safety safety = Safety::durable;
  std::wstring path;       // where the file goes
  std::wstring temporary;  // the new file, until it takes its place
  bool written = false;
};

Replacement::Replacement(const char* name, Safety safety) : pending_(new Pending) {
  pending_->safety = safety;
  pending_->path = wide_name(name);
}

Replacement::~Replacement() {
  abandon();
  delete pending_;
}

bool Replacement::write(WriteBody write_body, const void* context) {
  Pending& p = *pending_;
  if (p.path.empty() || inspect(p.path) == Target::unusable) return false;
  HANDLE file = create_temporary(p.path, p.temporary);
  if (file == INVALID_HANDLE_VALUE) return false;
  p.written = write_to_disk(file, write_body, context);
  return p.written;
}

bool Replacement::put_in_place() {
  Pending& p = *pending_;
  const DWORD flags =
      MOVEFILE_REPLACE_EXISTING | (p.safety == Safety::durable ? MOVEFILE_WRITE_THROUGH : 0);
  if (!p.written || ::MoveFileExW(p.temporary.c_str(), p.path.c_str(), flags) == 0) {
    abandon();
    return false;
  }
  p.temporary.clear();
  return true;
}

void Replacement::abandon() {
  Pending& p = *pending_;
  if (!p.temporary.empty()) ::DeleteFileW(p.temporary.c_str());
  p.temporary.clear();
  p.written = false;
}

}  // namespace platform
