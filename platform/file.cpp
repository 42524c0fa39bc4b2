#include "platform/file.h"

#include <vector>

#include "platform/file_system.h"

namespace platform {

using replacing::Kind;
using replacing::Target;

bool replacing::write_content(std::FILE* file, const Content& content) {
  static char buffer[1 << 16];
  std::setvbuf(file, buffer, _IOFBF, sizeof buffer);
  bool written = content(file);
  written = std::fflush(file) == 0 && written;
  return !std::ferror(file) && written;
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

bool write_new_files(std::vector<Target>& targets, std::initializer_list<NewFile> files) {
  const unsigned new_file_mode = mode_for_new_files(targets);
  auto file = files.begin();
  for (Target& target : targets) {
    const Content& content = (file++)->write;
    bool written =
        target.kind == Kind::device
            ? write_device(target, content)
            : write_temporary(target, target.kind == Kind::regular ? target.mode : new_file_mode,
                              content);
    if (!written) return false;
  }
  return true;
}

// The old file needs a second name only while something may still fail
// after its new one took its place: a later file, or the folder's sync.
bool put_all_in_place(std::vector<Target>& targets, bool durable) {
  for (Target& target : targets) {
    if (target.kind == Kind::device) continue;
    bool may_go_back = durable || &target != &targets.back();
    if ((may_go_back && !keep_old(target)) || !put_in_place(target, durable)) return false;
  }
  return true;
}

}  // namespace

bool replace_files(std::initializer_list<NewFile> files, bool durable) {
  std::vector<Target> targets;
  for (const NewFile& file : files)
    targets.push_back(replacing::inspect(file.name));
  if (!all_replaceable(targets)) return false;
  for (const Target& target : targets)
    remove_leftovers(target);

  bool replaced = write_new_files(targets, files) && put_all_in_place(targets, durable);
  if (!replaced) {
    for (auto target = targets.rbegin(); target != targets.rend(); ++target) {
      if (target->placed) put_back(*target, durable);
    }
  }
  for (Target& target : targets)
    clean_up(target);
  return replaced && replacing::store_folder();
}

}  // namespace platform
