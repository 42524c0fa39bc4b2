#include "platform/file.h"

#include <vector>

#include "platform/file_system.h"

namespace platform {

using replacing::Kind;
using replacing::Target;

long read_fully(int descriptor, char* into, std::size_t size) {
  std::size_t got = 0;
  while (got < size) {
    long n = read_some(descriptor, into + got, size - got);
    if (n < 0) return -1;
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  return static_cast<long>(got);
}

bool replacing::book_held = false;

bool replacing::write_content(std::FILE* file, const Content& content) {
  static char buffer[1 << 16];
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = content(file);
  written = std::fflush(file) == 0 && written;
  return !std::ferror(file) && written;
}

bool can_replace(const char* name) {
  const Target target = replacing::inspect(name);
  return target.kind == Kind::device ||
         (target.kind != Kind::unusable && folder_takes_files(target));
}

namespace {

// Every target may be written, and no two of them are the same file.
bool all_replaceable(const std::vector<Target>& targets) {
  for (std::size_t i = 0; i < targets.size(); ++i) {
    if (targets[i].kind == Kind::unusable) return false;
    for (std::size_t j = 0; j < i; ++j) {
      if (!targets[i].identity.empty() && targets[i].identity == targets[j].identity) return false;
    }
  }
  return true;
}

// The permissions a file new to the folder gets: those of the first file
// that exists, or 0 for what the system gives a new file.
unsigned mode_for_new_files(const std::vector<Target>& targets) {
  for (const Target& target : targets) {
    if (target.kind == Kind::regular) return target.mode;
  }
  return 0;
}

}  // namespace

Replaced replace_files(std::initializer_list<NewFile> files, bool durable) {
  std::vector<Target> targets;
  for (const NewFile& file : files)
    targets.push_back(replacing::inspect(file.name));
  if (!all_replaceable(targets)) return Replaced::no;
  const unsigned new_file_mode = mode_for_new_files(targets);
  Replaced replaced = Replaced::yes;
  auto file = files.begin();
  for (const Target& target : targets) {
    const Content& content = (file++)->write;
    if (target.kind == Kind::device) {
      replaced = write_device(target, content) ? Replaced::yes : Replaced::no;
    } else {
      unsigned mode = target.kind == Kind::regular ? target.mode : new_file_mode;
      replaced = replace_one(target, mode, durable, content);
    }
    // A file whose place is not known to be durable is not followed by the next.
    if (replaced != Replaced::yes && &target != &targets.back()) return Replaced::no;
  }
  return replaced;
}

}  // namespace platform
