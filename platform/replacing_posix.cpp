// Opening and saving files with POSIX calls, for Linux and for the browser, emscripten's
// layer being POSIX too.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/file_system.h"

namespace platform {
namespace {

// Opens a file without waiting for a pipe's other end.
int open_unblocked(const std::string& path, int flags) {
  int fd = ::open(path.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

}  // namespace

std::FILE* open_file(const char* name, const char* mode) {
  int fd = open_unblocked(replacing::system_path(name),
                          std::strchr(mode, '+') != nullptr ? O_RDWR : O_RDONLY);
  struct stat st {};
  std::FILE* file =
      fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) ? ::fdopen(fd, mode) : nullptr;
  if (file == nullptr && fd >= 0) ::close(fd);
  return file;
}

namespace replacing {
namespace {

// The temporary file beside `path`, made anew and private: a name no user
// gives a file, the same each time while the book is held (what a killed
// save left is replaced), else the process's own.
int create_temporary(const std::string& path, std::string& name) {
  name = path + ".~saving";
  if (!book_held) name.append("-").append(std::to_string(::getpid()));
  name += ".tmp";
  ::unlink(name.c_str());
  return ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
}

}  // namespace

std::string destination(const std::string& path) {
  struct stat link {};
  if (::lstat(path.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = ::realpath(path.c_str(), nullptr)) {
      std::string resolved(real);
      std::free(real);
      return resolved;
    }
  }
  return path;
}

// A device is no stored file: it is written as it stands. A file that may
// not be written, a folder and a pipe are unusable.
Target inspect(const char* name) {
  Target target;
  target.path = destination(system_path(name));
  struct stat st {};
  if (::stat(target.path.c_str(), &st) != 0) {
    target.kind = errno == ENOENT ? Kind::missing : Kind::unusable;
    return target;
  }
  const bool usable = S_ISREG(st.st_mode) || S_ISCHR(st.st_mode);
  int fd = usable ? open_unblocked(target.path, O_WRONLY) : -1;
  if (fd < 0) return target;
  ::close(fd);
  target.kind = S_ISREG(st.st_mode) ? Kind::regular : Kind::device;
  target.identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
  target.mode = st.st_mode & 07777;
  return target;
}

bool folder_takes_files(const Target& target) {
  std::string probe;
  int fd = create_temporary(target.path, probe);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

namespace {

bool write_device(const Target& target, const Content& content) {
  int fd = open_unblocked(target.path, O_WRONLY);
  std::FILE* file = fd < 0 ? nullptr : ::fdopen(fd, "w");
  if (file == nullptr) {
    if (fd >= 0) ::close(fd);
    return false;
  }
  bool written = write_content(file, content);
  return std::fclose(file) == 0 && written;
}

}  // namespace

Replaced replace_one(const Target& target, unsigned mode, bool durable, const Content& content) {
  if (target.kind == Kind::device)
    return write_device(target, content) ? Replaced::yes : Replaced::no;
  // A write beyond the file size limit must fail like any other write
  // error instead of ending the program half-way.
  ::signal(SIGXFSZ, SIG_IGN);
  std::string temporary;
  int fd = create_temporary(target.path, temporary);
  if (fd < 0) return Replaced::no;
  std::FILE* file = ::fdopen(fd, "w");
  bool written = file != nullptr && write_content(file, content);
  written = written && ::fchmod(fd, mode != 0 ? mode : new_file_mode()) == 0 && ::fsync(fd) == 0;
  written = (file != nullptr ? std::fclose(file) : ::close(fd)) == 0 && written;
  if (!written || std::rename(temporary.c_str(), target.path.c_str()) != 0) {
    ::unlink(temporary.c_str());
    return Replaced::no;
  }
  return keep_names(target.path, durable) ? Replaced::yes : Replaced::unsynced;
}

}  // namespace replacing
}  // namespace platform
