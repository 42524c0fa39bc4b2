// Replacing files with POSIX calls: what the Linux (file_posix.cpp) and the
// browser's (file_web.cpp) files share, emscripten's layer being POSIX too.
// Each of the two defines `running` and `sync_folder` for its system.
#pragma once

#include <string>

namespace platform::replacing {

std::string folder_of(const std::string& path);

// Where a file named `path` is to be written: the file a symbolic link
// leads to, or `path` itself.
std::string destination(const std::string& path);

// A process of that number may still be writing its files.
bool running(long pid);

// Makes the folder's list of names durable, so that a renamed file is found
// under its new name after a power cut.
bool sync_folder(const std::string& path);

}  // namespace platform::replacing
