// Files on a POSIX system: the GBK name is the file name itself.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <string>

#include "platform/file.h"

namespace platform {
namespace {

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

// What stands where a file is to be written. A device (or a pipe that has
// a reader) is no stored file: it is written as it stands.
enum class Target { missing, regular, device, unusable };

Target inspect(const std::string& path, struct stat& old) {
  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Target::missing : Target::unusable;
  Target target = Target::unusable;
  if (::fstat(fd, &old) == 0) target = S_ISREG(old.st_mode) ? Target::regular : Target::device;
  ::close(fd);
  return target;
}

// A new, empty file beside `path` that no one else uses; -1 on failure.
int create_temporary(const std::string& path, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path + "." + std::to_string(::getpid()) + "." + std::to_string(attempt) + ".tmp";
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Makes the folder's list of names durable, so that a renamed file is found
// under its new name after a power cut.
bool sync_folder(const std::string& folder) {
  int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

// A file being written. With `durable` set, the system is asked to start
// writing each few megabytes to the disk as soon as they are written, so the
// sync at the end has little left to wait for.
struct Output {
  int fd;
  bool durable;
  off_t written = 0;
  off_t handed_to_disk = 0;
};

constexpr off_t kWritebackStep = 4 << 20;

ssize_t write_out(void* cookie, const char* data, std::size_t size) {
  auto* output = static_cast<Output*>(cookie);
  std::size_t done = 0;
  while (done < size) {
    ssize_t n = ::write(output->fd, data + done, size - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return -1;
    done += static_cast<std::size_t>(n);
  }
  output->written += static_cast<off_t>(size);
#ifdef SYNC_FILE_RANGE_WRITE
  if (output->durable && output->written - output->handed_to_disk >= kWritebackStep) {
    ::sync_file_range(output->fd, output->handed_to_disk, output->written - output->handed_to_disk,
                      SYNC_FILE_RANGE_WRITE);
    output->handed_to_disk = output->written;
  }
#endif
  return static_cast<ssize_t>(size);
}

// Writes the body into an open file through a large buffer; false when it,
// or any write, failed. The file stays open.
bool write_body_into(int fd, WriteBody write_body, const void* context, bool durable) {
  static char buffer[1 << 18];
  Output output{fd, durable};
  cookie_io_functions_t functions{};
  functions.write = write_out;
  std::FILE* file = ::fopencookie(&output, "w", functions);
  if (file == nullptr) return false;
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = write_body(file, context);
  written = std::fflush(file) == 0 && written;
  written = !std::ferror(file) && written;
  return std::fclose(file) == 0 && written;
}

}  // namespace

int open_for_reading(const char* name) {
  int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
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
  return std::fopen(name, "r+");
}

int descriptor_of(std::FILE* stream) {
  return ::fileno(stream);
}

bool can_replace(const char* name) {
  const std::string path = destination(name);
  struct stat old {};
  switch (inspect(path, old)) {
    case Target::unusable:
      return false;
    case Target::device:
      return true;
    case Target::missing:
    case Target::regular:
      break;
  }
  return ::faccessat(AT_FDCWD, folder_of(path).c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

struct Replacement::Pending {
  Safety safety;
  std::string path;  // where the file goes
  Target target;
  struct stat old {};     // the file it replaces
  std::string temporary;  // the new file, until it takes its place
  int fd = -1;
  bool written = false;
};

Replacement::Replacement(const char* name, Safety safety) : pending_(new Pending) {
  pending_->safety = safety;
  pending_->path = destination(name);
  pending_->target = inspect(pending_->path, pending_->old);
}

Replacement::~Replacement() {
  abandon();
  delete pending_;
}

bool Replacement::write(WriteBody write_body, const void* context) {
  // A write beyond the file size limit must fail like any other write
  // error instead of ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  Pending& p = *pending_;
  if (p.target == Target::unusable) return false;
  if (p.target == Target::device) {
    // A device is no stored file: it is written as it stands.
    p.fd = ::open(p.path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (p.fd < 0) return false;
    ::fcntl(p.fd, F_SETFL, ::fcntl(p.fd, F_GETFL) & ~O_NONBLOCK);
  } else {
    p.fd = create_temporary(p.path, p.temporary);
    if (p.fd < 0) return false;
    if (p.target == Target::regular) {
      (void)::fchmod(p.fd, p.old.st_mode & 07777);
      (void)::fchown(p.fd, p.old.st_uid, p.old.st_gid);  // only permitted to a privileged user
    }
  }
  p.written = write_body_into(p.fd, write_body, context, p.target != Target::device);
  return p.written;
}

bool Replacement::put_in_place() {
  Pending& p = *pending_;
  if (!p.written) return false;
  if (p.target == Target::device) {
    bool closed = ::close(p.fd) == 0;
    p.fd = -1;
    return closed;
  }
  bool synced = ::fsync(p.fd) == 0;
  synced = ::close(p.fd) == 0 && synced;
  p.fd = -1;
  if (!synced || std::rename(p.temporary.c_str(), p.path.c_str()) != 0) {
    abandon();
    return false;
  }
  p.temporary.clear();
  // The new file is in place; it is durable once the folder is synced too.
  return p.safety == Safety::whole || sync_folder(folder_of(p.path));
}

void Replacement::abandon() {
  Pending& p = *pending_;
  if (p.fd >= 0) ::close(p.fd);
  p.fd = -1;
  if (!p.temporary.empty()) ::unlink(p.temporary.c_str());
  p.temporary.clear();
  p.written = false;
}

}  // namespace platform
