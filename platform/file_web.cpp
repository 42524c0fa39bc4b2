// Files in the browser, and under node: emscripten's POSIX calls over the
// page's folder (kept in the browser's IndexedDB by the page) or over the
// disk (node's files). One program runs in a folder at a time, and the
// folder holds neither devices nor second names of a file.
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
#include <string>

#include "platform/file.h"
#include "platform/file_system.h"

// Asks the page to store the folder as it is now, and waits until it is
// stored: 1 when it is (or there is nothing to do, as under node, where the
// files are on the disk already), 0 when it could not be.
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

int open_regular(const char* name, int flags) {
  int fd = ::open(byte_path(name).c_str(), flags | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

}  // namespace

int open_for_reading(const char* name) {
  return open_regular(name, O_RDONLY);
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
  int fd = open_regular(name, O_RDWR);
  if (fd < 0) return nullptr;
  std::FILE* file = ::fdopen(fd, "r+");
  if (file == nullptr) ::close(fd);
  return file;
}

int descriptor_of(std::FILE* stream) {
  return ::fileno(stream);
}

// The page runs one program at a time.
Hold hold_book(const char*) {
  replacing::book_held = true;
  return Hold::held;
}

namespace replacing {

// A file that may not be written is unusable, and so is a pipe, which
// only node's files can hold.
Target inspect(const char* name) {
  Target target;
  target.path = destination(byte_path(name));
  struct stat st {};
  if (::stat(target.path.c_str(), &st) != 0) {
    target.kind = errno == ENOENT ? Kind::missing : Kind::unusable;
    return target;
  }
  int fd = S_ISREG(st.st_mode) || S_ISCHR(st.st_mode)
               ? ::open(target.path.c_str(), O_WRONLY | O_CLOEXEC)
               : -1;
  if (fd < 0) return target;
  ::close(fd);
  target.kind = S_ISREG(st.st_mode) ? Kind::regular : Kind::device;
  target.identity = std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino);
  target.mode = st.st_mode & 07777;
  return target;
}

// Emscripten's umask is a stand-in that would mask every permission: a new
// file gets what it gets on a usual system.
unsigned new_file_mode() {
  return 0644;
}

// In the browser a file lasts only once the page has stored the folder.
bool keep_names(const std::string&, bool) {
  return coursework_keep_folder() != 0;
}

}  // namespace replacing
}  // namespace platform
