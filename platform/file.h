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

// Opens a file for reading: its descriptor, or -1 when it is missing, cannot
// be read, or is no regular file (a folder, a pipe, a device). It never
// waits for a pipe's writer. A symbolic link to a file is followed.
int open_for_reading(const char* name);

// Reads up to `size` bytes: how many, 0 at the end of the file, -1 on an error.
long read_some(int descriptor, char* into, std::size_t size);

// Reads until `size` bytes are in or the file ends: how many, or -1 when a
// read failed.
long read_fully(int descriptor, char* into, std::size_t size);

// Moves back to the start of the file; false when it cannot.
bool rewind_file(int descriptor);

void close_file(int descriptor);

// Opens an existing regular file for reading and writing in place (as the
// mode "r+" does), or null when it cannot be.
std::FILE* open_for_update(const char* name);

// The descriptor beneath a stream, for reading it with a Reader.
int descriptor_of(std::FILE* stream);

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

// Writes files whole in place of the old ones, one after the other: each
// new file is written beside its old one, into a temporary file that only
// its owner may read until it is complete; it then gets the old file's
// permissions (a file new to the folder those of the first file that
// exists), is flushed and, when `durable`, synced to the disk; then it
// takes the old file's place, and when `durable` the folder is synced, so
// that a reported save survives a crash of the system or a power cut. The
// first failure ends the save, leaving the file at hand as it was and no
// temporary file. Two names of one file, or a file that may not be written,
// fail before anything is written. A symbolic link is followed; a device in
// a file's place (or a pipe that has a reader) is written as it stands.
//
// A program that holds its book (hold_book) gives each temporary file the
// same name every time, so that a save replaces what a killed one left;
// others add their process number, so that two at once never share one.
Replaced replace_files(std::initializer_list<NewFile> files, bool durable);

inline bool replace_file(const char* name, bool durable, Content write) {
  return replace_files({{name, std::move(write)}}, durable) == Replaced::yes;
}

enum class Hold { held, busy, impossible };

// Holds the book `name` for this program until it ends, however it ends,
// wherever the book is reached from: busy when another program holds it,
// impossible when the folder cannot be locked though it could be.
Hold hold_book(const char* name);

}  // namespace platform
