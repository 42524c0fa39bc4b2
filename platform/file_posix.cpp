// Files on a POSIX system: the GBK name is the file name itself.
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/replacing_posix.h"

namespace platform {
using replacing::folder_of;

namespace {

// Opens a file without waiting for a pipe's other end, and keeps it only
// when it is a regular file.
int open_regular(const char* name, int flags) {
  int fd = ::open(name, flags | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

std::FILE* open_file(const char* name, const char* mode) {
  int fd = open_regular(name, std::strchr(mode, '+') != nullptr ? O_RDWR : O_RDONLY);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, mode);
  if (file == nullptr) ::close(fd);
  return file;
}

long read_some(int descriptor, char* into, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(descriptor, into, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

bool can_replace(const char* name) {
  const replacing::Target target = replacing::inspect(name);
  if (target.kind == replacing::Kind::unusable) return false;
  if (target.kind == replacing::Kind::device) return true;
  return ::faccessat(AT_FDCWD, folder_of(target.path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool hold_working_folder() {
  static const int folder = ::open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  // A folder that cannot be locked at all (no such support) is not refused.
  return folder < 0 || ::flock(folder, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
}

namespace replacing {

// Still running, or someone else's.
bool running(long pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

bool sync_folder(const std::string& path) {
  int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

unsigned new_file_mode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

// A device (or a pipe that has a reader) is no stored file: it is written
// as it stands. A file that may not be written is unusable.
Target inspect(const char* name) {
  Target target;
  target.path = destination(name);
  int fd = ::open(target.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    target.kind = errno == ENOENT ? Kind::missing : Kind::unusable;
    return target;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0) {
    target.kind = S_ISREG(st.st_mode) ? Kind::regular : Kind::device;
    target.identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
    target.mode = st.st_mode & 07777;
  }
  ::close(fd);
  return target;
}

bool write_device(const Target& target, const Content& content) {
  int fd = ::open(target.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "w");
  if (file == nullptr) {
    ::close(fd);
    return false;
  }
  bool written = write_content(file, content);
  return std::fclose(file) == 0 && written;
}

// The folder the program writes is the one the system keeps.
bool store_folder() {
  return true;
}

}  // namespace replacing
}  // namespace platform
