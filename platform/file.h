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

using WriteBody = bool (*)(std::FILE* file, const void* context);

// How safe a file written in place of another is.
enum class Safety {
  // The old file, or the complete new one, however the program or the system
  // stops: the new content is on the disk before it takes the old one's place.
  whole,
  // Besides, the new file is in its place on the disk once that is reported,
  // so that a crash of the system or a power cut right after keeps it.
  durable,
};

// A file written whole in place of another, or not at all, in two steps:
// write() makes the new file beside the old one (the disk may start writing
// it meanwhile), and put_in_place() makes it take the old one's place, so
// that several files can be written before any of them takes its place. On
// any failure the old file stays as it was. A new file that never took its
// place is removed when the Replacement ends, or by abandon(), which a
// program must call before it ends from inside (std::exit skips destructors).
// A file that may not be written is not replaced either.
class Replacement {
 public:
  Replacement(const char* name, Safety safety);
  ~Replacement();
  Replacement(const Replacement&) = delete;
  Replacement& operator=(const Replacement&) = delete;

  // `write_body` writes the whole new content into the stream it is given;
  // false when it, or any write, failed.
  bool write(WriteBody write_body, const void* context);
  template <typename Body>
  bool write(const Body& write_body) {
    return write(
        [](std::FILE* file, const void* body) { return (*static_cast<const Body*>(body))(file); },
        &write_body);
  }

  // After a successful write: the new file takes the old one's place.
  bool put_in_place();

  void abandon();

 private:
  struct Pending;
  Pending* pending_;
};

// Both steps for one file.
template <typename Body>
bool replace_file(const char* name, Safety safety, const Body& write_body) {
  Replacement replacement(name, safety);
  return replacement.write(write_body) && replacement.put_in_place();
}

}  // namespace platform
