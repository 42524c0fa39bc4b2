// Replacing files with POSIX calls: what the Linux (file_posix.cpp) and the
// browser's (file_web.cpp) files share, emscripten's layer being POSIX too.
// Each of the two defines `new_file_mode` and `keep_names` for its system.
#pragma once

#include <string>

namespace platform::replacing {

std::string folder_of(const std::string& path);

// Where a file named `path` is to be written: the file a symbolic link
// leads to, or `path` itself.
std::string destination(const std::string& path);

// The permissions the system gives a new file.
unsigned new_file_mode();

// Once a file has taken its new name: makes the folder's list of names
// durable when asked, so that the file is found under its new name after a
// power cut; false when that failed.
bool keep_names(const std::string& path, bool durable);

}  // namespace platform::replacing
