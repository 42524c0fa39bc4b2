// Files on a POSIX system: the GBK name is the file name itself.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"

namespace platform {
using replacing::folder_of;

// The lock is on the folder that holds the book's real file, wherever the
// book is reached from; the system lets it go when the program ends.
Hold hold_book(const char* name) {
  int folder =
      ::open(folder_of(replacing::destination(name)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder < 0) return Hold::impossible;
  if (::flock(folder, LOCK_EX | LOCK_NB) == 0) {
    replacing::book_held = true;
    return Hold::held;
  }
  // A folder that cannot be locked at all (no such support) is not refused.
  bool busy = errno == EWOULDBLOCK;
  ::close(folder);
  return busy ? Hold::busy : Hold::held;
}

namespace replacing {

std::string system_path(const char* name) {
  return name;
}

unsigned new_file_mode() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

bool keep_names(const std::string& path, bool durable) {
  if (!durable) return true;
  int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
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

}  // namespace replacing
}  // namespace platform
