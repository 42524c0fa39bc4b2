#include "contacts/contact_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/input.h"

namespace {

using platform::Got;

const char kContactFile[] = "联系人.txt";
const char kFrequentFile[] = "常用联系人.txt";

// Stands in for a text field missing from a record cut short by the end of
// the file, so that the record is kept and saves as a readable line.
const char kMissingField[] = "-";

[[noreturn]] void cannot_open() {
  std::puts("打不开！");
  platform::end_program();
}

// The flag of a record read from the file: the integer the token starts
// with, or 0 when it starts with none. The whole token is the flag, so a
// damaged flag never shifts the fields of the records after it.
int parse_flag(const std::string& token) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(token.c_str(), &end, 10);
  if (end == token.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

void read_text_field(platform::Reader& file, std::string& token, char (&field)[kFieldSize]) {
  set_field(field, file.read_token(token) == Got::value ? std::string_view(token)
                                                        : std::string_view(kMissingField));
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

// Whether the file may be replaced: it does not exist yet, or it is a
// regular file that could be opened for writing. `old` receives its status.
bool replaceable(const std::string& path, struct stat& old, bool& existed) {
  int fd = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    existed = false;
    return errno == ENOENT;
  }
  existed = true;
  bool regular = ::fstat(fd, &old) == 0 && S_ISREG(old.st_mode);
  ::close(fd);
  return regular;
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

// Writes a file whole into a temporary file beside it and puts that in the
// old file's place only once every byte is written and the file is closed.
// On any failure the temporary file is removed, the old file is left as it
// was and the result is false.
template <typename WriteBody>
bool replace_file(const char* name, WriteBody write_body) {
  static char buffer[1 << 18];
  const std::string path = destination(name);
  struct stat old {};
  bool existed = false;
  if (!replaceable(path, old, existed)) return false;

  std::string temporary;
  int fd = create_temporary(path, temporary);
  if (fd < 0) return false;
  if (existed) {
    (void)::fchmod(fd, old.st_mode & 07777);
    (void)::fchown(fd, old.st_uid, old.st_gid);  // only permitted to a privileged user
  }
  FILE* file = ::fdopen(fd, "w");
  if (file == nullptr) {
    ::close(fd);
    ::unlink(temporary.c_str());
    return false;
  }
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = write_body(file);
  written = std::fflush(file) == 0 && written;
  written = !std::ferror(file) && written;
  written = std::fclose(file) == 0 && written;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  ::unlink(temporary.c_str());
  return false;
}

// The lines are formatted by hand: a save of a large book spends most of
// its time here, and the formats are fixed.
bool write_contacts(FILE* file, const person* first) {
  char line[kColumnsSize + 16];
  for (const person* p = first; p != nullptr; p = p->next) {
    char* end = put_columns(line, *p);
    *end++ = ' ';
    end = std::to_chars(end, line + sizeof line, p->familiar).ptr;
    *end++ = '\n';
    std::size_t length = static_cast<std::size_t>(end - line);
    if (std::fwrite(line, 1, length, file) != length) return false;
  }
  return true;
}

bool write_frequent(FILE* file, const person* first) {
  for (const person* p = first; p != nullptr; p = p->next) {
    if (p->familiar == 0) continue;
    if (std::fprintf(file, "%s\t %s\t %-15s\t\n", p->name, p->phone, p->qq) < 0) return false;
  }
  return true;
}

}  // namespace

person* load(person* /*ignored*/) {
  platform::Reader file(-1);
  if (!file.open(kContactFile)) cannot_open();

  person* first = nullptr;
  person* last = nullptr;
  std::string token;
  while (file.read_token(token) == Got::value) {
    person* record = new_person();
    if (record == nullptr) {
      // A partial book could later be saved over the whole one: stop here.
      release(first);
      report_no_memory();
      platform::end_program();
    }
    set_field(record->name, token);
    read_text_field(file, token, record->phone);
    read_text_field(file, token, record->qq);
    record->familiar = file.read_token(token) == Got::value ? parse_flag(token) : 0;
    (last == nullptr ? first : last->next) = record;
    last = record;
  }
  return first;
}

void output(person* first) {
  // A write beyond the file size limit must fail like any other write
  // error instead of ending the program half-way.
  std::signal(SIGXFSZ, SIG_IGN);
  if (!replace_file(kContactFile, [first](FILE* f) { return write_contacts(f, first); }))
    cannot_open();
  if (!replace_file(kFrequentFile, [first](FILE* f) { return write_frequent(f, first); }))
    cannot_open();
  std::puts("\n                 <保存成功!>");
}
