// Files in the working folder, named by GBK text as the programs spell them.
// On POSIX systems the name is those bytes; on Windows it is the Unicode
// name those bytes stand for, whatever the system's own code page is.
// Every file is read and written as bytes: no line end is ever translated.
#pragma once

#include <cstddef>
#include <cstdio>

namespace platform {

// The descriptor of standard input, for the Reader.
inline constexpr int kStandardInput = 0;

// Opens a file for reading; its descriptor, or -1 when it is missing,
// cannot be read or is a folder.
int open_for_reading(const char* name);

// Reads up to `size` bytes: how many, 0 at the end of the file, -1 on an error.
long read_some(int descriptor, char* into, std::size_t size);

// Reads until `size` bytes are in or the file ends: how many.
std::size_t read_fully(int descriptor, char* into, std::size_t size);

// Moves back to the start of the file; false when it cannot.
bool rewind_file(int descriptor);

void close_file(int descriptor);

// Opens an existing file for reading and writing in place (as the mode
// "r+" does), or null when it cannot be.
std::FILE* open_for_update(const char* name);

// The descriptor beneath a stream, for reading it with a Reader.
int descriptor_of(std::FILE* stream);

// Whether `name` can be written whole: it is a file that may be written, or
// there is none yet, and the folder takes new files.
bool can_replace(const char* name);

// Writes a file whole and durably, or not at all: `write_body` writes the
// new content into a fresh file beside `name`; only when every byte of it is
// written and on disk does that file take the place of `name`. On any
// failure, the old file stays as it was, no new file is left behind and the
// result is false. A file that may not be written is not replaced either.
using WriteBody = bool (*)(std::FILE* file, const void* context);
bool replace_file(const char* name, WriteBody write_body, const void* context);

template <typename Body>
bool replace_file(const char* name, const Body& write_body) {
  return replace_file(
      name,
      [](std::FILE* file, const void* body) { return (*static_cast<const Body*>(body))(file); },
      &write_body);
}

}  // namespace platform
