// Files in the working folder, named by GBK text as the programs spell them.
// On POSIX systems the name is those bytes; on Windows it is the Unicode
// name those bytes stand for, whatever the system's own code page is; in the
// browser it is kept byte for byte. Every file is read and written as
// bytes: no line end is ever translated.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <initializer_list>

namespace platform {

// Opens a regular file with `mode` ("rb" to read it, "r+b" to read and
// write it in place): null when it is missing, cannot be opened so, or is no
// regular file (a folder, a pipe, a device). It never waits for a pipe's
// writer. A symbolic link to a file is followed.
std::FILE* open_file(const char* name, const char* mode);

// Reads up to `size` bytes: how many, 0 at the end of the file, -1 on an error.
long read_some(int descriptor, char* into, std::size_t size);

// Whether `name` can be written whole: it is a file that may be written, or
// there is none yet and the folder takes new files.
bool can_replace(const char* name);

// Writes the whole new content of a file; false when a write failed.
using Content = std::function<bool(std::FILE* file)>;

struct NewFile {
  const char* name;
  Content write;
};

// Writes files whole in place of the old ones, every one or none:
//  - each new file is written beside its old one, into a temporary file that
//    only its owner may read until it is complete; it then gets the old
//    file's permissions (a file new to the folder those of the first file
//    that exists), is flushed, and, when `durable`, synced to the disk;
//  - then the files take the old ones' places in their order, the folder
//    synced after each when `durable`, so that once it is reported the save
//    survives a crash of the system or a power cut.
// On any failure each file is as it was and no temporary file is left, and
// the result is false. Two names of one file fail before anything is
// written. A symbolic link is followed: the file it leads to is replaced. A
// device in a file's place (or a pipe that has a reader) is written as it
// stands. Temporary files that a finished program left beside the files
// are removed first.
bool replace_files(std::initializer_list<NewFile> files, bool durable);

inline bool replace_file(const char* name, bool durable, Content write) {
  return replace_files({{name, std::move(write)}}, durable);
}

// Holds the working folder for this program until it ends, however it ends:
// another program that asks for it meanwhile is refused. False when another
// program holds it.
bool hold_working_folder();

}  // namespace platform
