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

// Whether `name` can be written whole: it is a file that may be written, or
// there is none yet and the folder takes new files.
bool can_replace(const char* name);

// Writes the whole new content of a file; false when a write failed.
using Content = std::function<bool(std::FILE* file)>;

struct NewFile {
  const char* name;
  Content write;
};

enum class Replaced {
  no,        // the last file is as it was; those before it may be new
  unsynced,  // every file is new, but the folder's last sync failed
  yes,
};

// Writes files whole, one after the other: each into a temporary file beside
// its old one, private until complete, then given the old file's permissions
// (a new file those of the first file that exists), flushed, synced, and
// renamed over the old file, the folder synced after when `durable`. The
// first failure ends the save, leaving the file at hand as it was. Two names
// of one file, or a file that may not be written, fail before anything is
// written. A symbolic link is followed; a device is written as it stands.
// Temporary files have one name each while the book is held (hold_book),
// else a name of the process's own.
Replaced replace_files(std::initializer_list<NewFile> files, bool durable);

enum class Hold { held, busy, impossible };

// Holds the book `name`, wherever it is reached from, until the program
// ends, however it ends: busy when another program holds it, impossible when
// its folder cannot be locked.
Hold hold_book(const char* name);

}  // namespace platform
