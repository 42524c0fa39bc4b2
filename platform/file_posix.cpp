// Files on a POSIX system: the GBK name is the file name itself.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"

namespace platform {
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

// Where a file named `path` is to be written: the file a symbolic link
// leads to, or `path` itself.
std::string destination(const char* path) {
  struct stat link {};
  if (::lstat(path, &link) == 0 && S_ISLNK(link.st_mode)) {
    if (char* real = ::realpath(path, nullptr)) {
      std::string resolved(real);
      std::free(real);
      return resolved;
    }
  }
  return path;
}

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Makes the folder's list of names durable, so that a renamed file is found
// under its new name after a power cut.
bool sync_folder(const std::string& path) {
  int fd = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// Writes the content through a stream and flushes it; false when it, or
// any write, failed.
bool write_content(std::FILE* file, const Content& content) {
  static char buffer[1 << 16];
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = content(file);
  written = std::fflush(file) == 0 && written;
  return !std::ferror(file) && written;
}

// Copies a file, for a file system that knows no second names; false, with
// no copy left, when it cannot.
bool copy_file(const std::string& from, const std::string& to, unsigned mode) {
  int in = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode & 0700);
  bool copied = in >= 0 && out >= 0;
  static char chunk[1 << 16];
  for (long n = 1; copied && n > 0;) {
    n = read_some(in, chunk, sizeof chunk);
    copied = n >= 0 && ::write(out, chunk, static_cast<std::size_t>(n)) == n;
  }
  copied = copied && ::fchmod(out, mode) == 0;
  if (in >= 0) ::close(in);
  if (out >= 0) copied = ::close(out) == 0 && copied;
  if (!copied && out >= 0) ::unlink(to.c_str());
  return copied;
}

// A process of that number is still running (or belongs to someone else).
bool running(long pid) {
  return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

}  // namespace

int open_for_reading(const char* name) {
  return open_regular(name, O_RDONLY);
}

long read_some(int descriptor, char* into, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(descriptor, into, size);
  } while (n < 0 && errno == EINTR);
  return static_cast<long>(n);
}

bool rewind_file(int descriptor) {
  return ::lseek(descriptor, 0, SEEK_SET) == 0;
}

void close_file(int descriptor) {
  ::close(descriptor);
}

std::FILE* open_for_update(const char* name) {
  int fd = open_regular(name, O_RDWR);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "r+");
  if (file == nullptr) ::close(fd);
  return file;
}

int descriptor_of(std::FILE* stream) {
  return ::fileno(stream);
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

// Temporary files are named "<file>.<process>.<n>.tmp", second names
// "<file>.<process>.old".
void remove_leftovers(const Target& target) {
  const std::string folder = folder_of(target.path);
  const std::string prefix = target.path.substr(target.path.rfind('/') + 1) + ".";
  DIR* entries = ::opendir(folder.c_str());
  if (entries == nullptr) return;
  while (const dirent* entry = ::readdir(entries)) {
    std::string name = entry->d_name;
    if (!name.starts_with(prefix) || !(name.ends_with(".tmp") || name.ends_with(".old"))) continue;
    char* end = nullptr;
    long pid = std::strtol(name.c_str() + prefix.size(), &end, 10);
    if (*end == '.' && !running(pid)) ::unlink((folder + "/" + name).c_str());
  }
  ::closedir(entries);
}

bool write_temporary(Target& target, unsigned mode, const Content& content) {
  // A write beyond the file size limit must fail like any other write
  // error instead of ending the program half-way.
  ::signal(SIGXFSZ, SIG_IGN);
  int fd = -1;
  for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
    target.temporary =
        target.path + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
    fd = ::open(target.temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    target.temporary.clear();
    return false;
  }
  if (mode == 0) {
    mode_t mask = ::umask(0);
    ::umask(mask);
    mode = 0666 & ~mask;
  }
  std::FILE* file = ::fdopen(fd, "w");
  bool written = file != nullptr && write_content(file, content);
  written = written && ::fchmod(fd, mode) == 0 && ::fsync(fd) == 0;
  written = (file != nullptr ? std::fclose(file) : ::close(fd)) == 0 && written;
  if (!written) {
    ::unlink(target.temporary.c_str());
    target.temporary.clear();
  }
  return written;
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

bool keep_old(Target& target) {
  if (target.kind != Kind::regular) return true;
  target.backup = target.path + "." + std::to_string(::getpid()) + ".old";
  ::unlink(target.backup.c_str());
  if (::link(target.path.c_str(), target.backup.c_str()) == 0 ||
      copy_file(target.path, target.backup, target.mode))
    return true;
  target.backup.clear();
  return false;
}

bool put_in_place(Target& target, bool durable) {
  if (std::rename(target.temporary.c_str(), target.path.c_str()) != 0) return false;
  target.temporary.clear();
  target.placed = true;
  return !durable || sync_folder(target.path);
}

void put_back(Target& target, bool durable) {
  if (!target.backup.empty()) {
    if (std::rename(target.backup.c_str(), target.path.c_str()) == 0) target.backup.clear();
  } else {
    ::unlink(target.path.c_str());
  }
  target.placed = false;
  if (durable) sync_folder(target.path);
}

void clean_up(Target& target) {
  if (!target.temporary.empty()) ::unlink(target.temporary.c_str());
  if (!target.backup.empty()) ::unlink(target.backup.c_str());
  target.temporary.clear();
  target.backup.clear();
}

// The folder the program writes is the one the system keeps.
bool store_folder() {
  return true;
}

}  // namespace replacing
}  // namespace platform
