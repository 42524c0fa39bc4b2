// Files on a POSIX system: the GBK name is the file name itself.
#include <fcntl.h>
#include <libgen.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"

namespace platform {
namespace {

std::string folder_of(std::string path) {
  return ::dirname(path.data());
}

}  // namespace

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

}  // namespace replacing
}  // namespace platform
