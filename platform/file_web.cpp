// Files in the browser, and under node: emscripten's POSIX calls over the
// page's folder (kept in the browser's IndexedDB by the page) or over the
// disk (node's files).
//
// Emscripten reads every path as UTF-8, while the programs name their files
// in GBK. A name is therefore handed over one character per byte, the bytes
// from 0x80 on as the characters U+0080 to U+00FF, so that the page and the
// node runner get the GBK bytes back exactly as the program spelled them.
#include <emscripten.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

#include "platform/file.h"

// Asks the page to keep the folder as it is now, and waits until it is kept:
// 1 when it is (or there is nothing to do, as under node, where files are on
// the disk already), 0 when it could not be.
EM_ASYNC_JS(int, coursework_keep_folder, (), {
  if (!Module.keepFolder) return 1;
  try {
    await Module.keepFolder();
    return 1;
  } catch (error) {
    return 0;
  }
});

namespace platform {
namespace {

// The name as emscripten's calls take it (see the head of this file).
std::string byte_path(const char* name) {
  std::string path;
  for (const char* at = name; *at != '\0'; ++at) {
    const auto byte = static_cast<unsigned char>(*at);
    if (byte < 0x80) {
      path += static_cast<char>(byte);
    } else {
      path += static_cast<char>(0xC0 | (byte >> 6));
      path += static_cast<char>(0x80 | (byte & 0x3F));
    }
  }
  return path;
}

// Where a file named `path` is to be written: the file a symbolic link
// leads to, or `path` itself.
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

// What stands where a file is to be written. Neither the page's folder nor
// emscripten's view of the disk holds devices or pipes.
enum class Target { missing, regular, unusable };

Target inspect(const std::string& path, struct stat& old) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
  if (fd < 0) return errno == ENOENT ? Target::missing : Target::unusable;
  Target target = Target::unusable;
  if (::fstat(fd, &old) == 0 && S_ISREG(old.st_mode)) target = Target::regular;
  ::close(fd);
  return target;
}

// A new, empty file beside `path` that no one else uses; -1 on failure.
int create_temporary(const std::string& path, std::string& name) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = path + "." + std::to_string(attempt) + ".tmp";
    int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// Whether a new file can be made in the folder of `path`. Emscripten knows
// no users, so the folder is asked by making one.
bool folder_takes_files(const std::string& path) {
  std::string probe;
  int fd = create_temporary(path, probe);
  if (fd < 0) return false;
  ::close(fd);
  ::unlink(probe.c_str());
  return true;
}

// The page keeps the folder once no new file waits to take its place, so
// that files written together are kept together, and no temporary file is
// ever kept.
int waiting_files = 0;
bool folder_changed = false;

bool keep_folder_when_settled() {
  if (waiting_files > 0 || !folder_changed) return true;
  folder_changed = false;
  return coursework_keep_folder() != 0;
}

}  // namespace

int open_for_reading(const char* name) {
  int fd = ::open(byte_path(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

long read_some(int descriptor, char* into, std::size_t size) {
  return static_cast<long>(::read(descriptor, into, size));
}

bool rewind_file(int descriptor) {
  return ::lseek(descriptor, 0, SEEK_SET) == 0;
}

void close_file(int descriptor) {
  ::close(descriptor);
}

std::FILE* open_for_update(const char* name) {
  return std::fopen(byte_path(name).c_str(), "r+");
}

int descriptor_of(std::FILE* stream) {
  return ::fileno(stream);
}

bool can_replace(const char* name) {
  const std::string path = destination(byte_path(name));
  struct stat old {};
  return inspect(path, old) != Target::unusable && folder_takes_files(path);
}

// Either safety is kept alike: in the browser a file lasts only once the
// page has stored it, and under node fsync reaches the disk.
struct Replacement::Pending {
  std::string path;  // where the file goes
  Target target;
  struct stat old {};     // the file it replaces
  std::string temporary;  // the new file, until it takes its place
  std::FILE* file = nullptr;
  bool written = false;
};

Replacement::Replacement(const char* name, Safety) : pending_(new Pending) {
  pending_->path = destination(byte_path(name));
  pending_->target = inspect(pending_->path, pending_->old);
}

Replacement::~Replacement() {
  abandon();
  delete pending_;
}

bool Replacement::write(WriteBody write_body, const void* context) {
  static char buffer[1 << 16];
  Pending& p = *pending_;
  if (p.target == Target::unusable) return false;
  int fd = create_temporary(p.path, p.temporary);
  if (fd < 0) return false;
  ++waiting_files;
  if (p.target == Target::regular) (void)::fchmod(fd, p.old.st_mode & 07777);
  p.file = ::fdopen(fd, "w");
  if (p.file == nullptr) {
    ::close(fd);
    abandon();
    return false;
  }
  std::setvbuf(p.file, buffer, _IOFBF, sizeof buffer);
  bool written = write_body(p.file, context);
  written = std::fflush(p.file) == 0 && written;
  p.written = !std::ferror(p.file) && written;
  return p.written;
}

bool Replacement::put_in_place() {
  Pending& p = *pending_;
  if (!p.written) return false;
  bool synced = ::fsync(::fileno(p.file)) == 0;
  synced = std::fclose(p.file) == 0 && synced;
  p.file = nullptr;
  if (!synced || std::rename(p.temporary.c_str(), p.path.c_str()) != 0) {
    abandon();
    return false;
  }
  p.temporary.clear();
  p.written = false;
  --waiting_files;
  folder_changed = true;
  return keep_folder_when_settled();
}

void Replacement::abandon() {
  Pending& p = *pending_;
  if (p.file != nullptr) std::fclose(p.file);
  p.file = nullptr;
  if (!p.temporary.empty()) {
    ::unlink(p.temporary.c_str());
    p.temporary.clear();
    --waiting_files;
    keep_folder_when_settled();  // a file put in place before this one failed
  }
  p.written = false;
}

}  // namespace platform
