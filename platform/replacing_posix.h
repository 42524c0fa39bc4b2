// Replacing files with POSIX calls: what the Linux (file_posix.cpp) and the
// browser's (file_web.cpp) files share, emscripten's layer being POSIX too.
// Each of the two defines `running`, `sync_folder` and `new_file_mode` for
// its system.
#pragma once

#include <string>

namespace platform::replacing {

std::string folder_of(const std::string& path);

// Where a file named `path` is to be written: the file a symbolic link
// leads to, or `path` itself.
std::string destination(const std::string& path);

// A new file beside `path` named "<path>.<process>.<n><suffix>", which only
// its owner may read; -1 on failure.
int create_beside(const std::string& path, const char* suffix, std::string& name);

// A process of that number may still be writing its files.
bool running(long pid);

// Makes the folder's list of names durable, so that a renamed file is found
// under its new name after a power cut.
bool sync_folder(const std::string& path);

// The permissions the system gives a new file.
unsigned new_file_mode();

}  // namespace platform::replacing
