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
  std::string identity;   // the same for two names of one file; empty when missing
  unsigned mode = 0;      // the permissions of a regular file
  std::string temporary;  // the new file, until it has taken the old one's place
  std::string backup;     // a second name of the old file, while the new one may go back
  bool placed = false;    // the new file has taken the old one's place
};

// What stands where the file of that name is to be written.
Target inspect(const char* name);

// Removes the temporary files and second names that finished programs left
// beside the target.
void remove_leftovers(const Target& target);

// Writes the new content into a temporary file beside the target, which only
// its owner may read until it is complete, then gives it `mode` (0: what a
// new file gets), flushes it and syncs it to the disk. False on a failure,
// with the temporary file removed.
bool write_temporary(Target& target, unsigned mode, const Content& content);

// Writes the content through a 64 KiB buffer and flushes it; false when it,
// or any write, failed.
bool write_content(std::FILE* file, const Content& content);

// Writes the content into a device as it stands.
bool write_device(const Target& target, const Content& content);

// Gives the old file, if there is one, a second name to go back to.
bool keep_old(Target& target);

// The temporary file takes the target's place; when `durable`, the change of
// names is made durable too.
bool put_in_place(Target& target, bool durable);

// Undoes put_in_place: the old file goes back to its place, or the new file
// is removed when there was none.
void put_back(Target& target, bool durable);

// Removes the temporary file and the second name, where they still exist.
void clean_up(Target& target);

// Once the new files have taken their places and nothing is left beside
// them: stores the folder where the system keeps it apart from the program
// (the browser's page); true when it is stored, or there is nothing to do.
bool store_folder();

}  // namespace platform::replacing
