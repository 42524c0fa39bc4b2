#include "platform/file.h"

#include <vector>

#include "platform/file_system.h"

namespace platform {

using replacing::Kind;
using replacing::Target;

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

Replaced replace_files(std::initializer_list<NewFile> files, bool durable) {
  std::vector<Target> targets;
  unsigned new_file_mode = 0;  // those of the first file that exists; 0: the system's
  for (const NewFile& file : files) {
    Target target = replacing::inspect(file.name);
    if (target.kind == Kind::unusable) return Replaced::no;
    for (const Target& other : targets) {
      if (!target.identity.empty() && target.identity == other.identity) return Replaced::no;
    }
    if (new_file_mode == 0 && target.kind == Kind::regular) new_file_mode = target.mode;
    targets.push_back(target);
  }
  Replaced replaced = Replaced::yes;
  auto file = files.begin();
  for (const Target& target : targets) {
    const Content& content = (file++)->write;
    replaced = replace_one(target, target.kind == Kind::regular ? target.mode : new_file_mode,
                           durable, content);
    // The next file waits until this one's place is known to be durable.
    if (replaced != Replaced::yes && &target != &targets.back()) return Replaced::no;
  }
  return replaced;
}

}  // namespace platform
