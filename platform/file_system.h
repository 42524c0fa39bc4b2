// What replacing files (file.cpp) asks of each system: file_posix.cpp,
// file_windows.cpp, file_web.cpp, and replacing_posix.cpp for what the first
// and the last share.
#pragma once

#include <string>

#include "platform/file.h"

namespace platform::replacing {

enum class Kind { missing, regular, device, unusable };

struct Target {
  std::string path;  // the file to write, a symbolic link followed, as the system spells it
  Kind kind = Kind::unusable;
  std::string identity;  // the same for two names of one file; empty when missing
  unsigned mode = 0;     // the permissions of a regular file
};

// Set once the program holds its book: no other program writes beside it.
extern bool book_held;

// What stands where the file of that name is to be written.
Target inspect(const char* name);

// Whether the folder of a file that is not a device takes new files.
bool folder_takes_files(const Target& target);

// Writes the new content into a temporary file beside the target, which only
// its owner may read until it is complete, then gives it `mode` (0: what a
// new file gets), flushes it, syncs it when `durable`, and lets it take the
// target's place, the folder synced after when `durable`. The temporary file
// is gone whatever fails.
Replaced replace_one(const Target& target, unsigned mode, bool durable, const Content& content);

// Writes the content into a device as it stands.
bool write_device(const Target& target, const Content& content);

// Writes the content through a 64 KiB buffer and flushes it; false when it,
// or any write, failed.
bool write_content(std::FILE* file, const Content& content);

}  // namespace platform::replacing
