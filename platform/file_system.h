// What saving (file.cpp) asks of each system: file_windows.cpp, and for
// Linux and the browser replacing_posix.cpp over a few calls of their own.
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

// Whether a new file can be made beside the target.
bool folder_takes_files(const Target& target);

// Writes the content into a temporary file beside the target, which only
// its owner may read until it is complete, gives it `mode` (0: what a new
// file gets), flushes and syncs it, and renames it over the target; when
// `durable`, the folder is synced after. No temporary file is left. A
// device is written as it stands.
Replaced replace_one(const Target& target, unsigned mode, bool durable, const Content& content);

// Writes the content through a 64 KiB buffer and flushes it; false when it,
// or any write, failed.
bool write_content(std::FILE* file, const Content& content);

// Defined by Linux and by the browser for replacing_posix.cpp: a GBK name as
// the system's calls take it; the permissions of a new file; and, once a
// file has its new name, making that durable when asked (false on failure).
std::string system_path(const char* name);
unsigned new_file_mode();
bool keep_names(const std::string& path, bool durable);

// The file a symbolic link leads to.
std::string destination(const std::string& path);

}  // namespace platform::replacing
