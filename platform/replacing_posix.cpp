#include "platform/replacing_posix.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "platform/file_system.h"

namespace platform::replacing {
namespace {

bool write_all(int fd, const char* bytes, long size) {
  for (long done = 0; done < size;) {
    long n = static_cast<long>(::write(fd, bytes + done, static_cast<std::size_t>(size - done)));
    if (n <= 0) return false;
    done += n;
  }
  return true;
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
    copied = n >= 0 && write_all(out, chunk, n);
  }
  copied = copied && ::fchmod(out, mode) == 0;
  if (in >= 0) ::close(in);
  if (out >= 0) copied = ::close(out) == 0 && copied;
  if (!copied && out >= 0) ::unlink(to.c_str());
  return copied;
}

}  // namespace

std::string folder_of(const std::string& path) {
  std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

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

int create_beside(const std::string& path, const char* suffix, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + suffix;
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
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
  int fd = create_beside(target.path, ".tmp", target.temporary);
  if (fd < 0) {
    target.temporary.clear();
    return false;
  }
  std::FILE* file = ::fdopen(fd, "w");
  bool written = file != nullptr && write_content(file, content);
  written = written && ::fchmod(fd, mode != 0 ? mode : new_file_mode()) == 0 && ::fsync(fd) == 0;
  written = (file != nullptr ? std::fclose(file) : ::close(fd)) == 0 && written;
  if (!written) {
    ::unlink(target.temporary.c_str());
    target.temporary.clear();
  }
  return written;
}

// A second name where the file system has them (emscripten's has not),
// else a copy.
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

}  // namespace platform::replacing
