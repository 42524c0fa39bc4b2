// Loaded into a program under test (LD_PRELOAD), it writes down every sync
// and every rename the program asks for, in order, and can make one sync
// fail, so that a test can see how a save reaches the disk.
//   SYNC_RECORDER_LOG   the file the calls are appended to, one a line:
//                       "sync <path>" or "rename <from> <to>"
//   SYNC_RECORDER_FAIL  n: the n-th sync (counted from 1) fails with EIO
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int syncs = 0;

std::string path_of(int fd) {
  char link[64];
  std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
  char path[4096];
  ssize_t n = ::readlink(link, path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<std::size_t>(n)) : "?";
}

void note(const std::string& line) {
  const char* log = std::getenv("SYNC_RECORDER_LOG");
  if (log == nullptr) return;
  int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
  if (fd < 0) return;
  std::string text = line + "\n";
  (void)!::write(fd, text.data(), text.size());
  ::close(fd);
}

// Whether this sync is the one that is to fail.
bool failing() {
  ++syncs;
  const char* fail = std::getenv("SYNC_RECORDER_FAIL");
  return fail != nullptr && std::atoi(fail) == syncs;
}

template <typename Function>
Function next(const char* name) {
  return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

int sync_call(const char* name, int fd) {
  note("sync " + path_of(fd));
  if (failing()) {
    errno = EIO;
    return -1;
  }
  return next<int (*)(int)>(name)(fd);
}

}  // namespace

extern "C" {

int fsync(int fd) {
  return sync_call("fsync", fd);
}

int fdatasync(int fd) {
  return sync_call("fdatasync", fd);
}

int rename(const char* from, const char* to) {
  note(std::string("rename ") + from + " " + to);
  return next<int (*)(const char*, const char*)>("rename")(from, to);
}

}  // extern "C"
