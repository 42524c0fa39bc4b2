// Which build of the programs the tests drive, how each is started, and how
// the files the programs name are called on disk.
//
// By default the tests drive the programs built beside them. Two variables
// of the environment choose others:
//   COURSEWORK_PROGRAMS  the folder that holds the programs, or several
//                        separated by colons, searched in order;
//   COURSEWORK_LAUNCHER  the command that runs them, words separated by
//                        blanks ("setarch -R wine"). The programs are
//                        then Windows programs, NAME.exe, and the files they
//                        name in GBK have Unicode names on disk, which this
//                        system spells in UTF-8.
// The tests themselves always name files as the programs do, in GBK.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace testing_support {

// Whether the programs are Windows programs run through a launcher.
bool windows_programs();

// The file of a program, given its deliverable name in UTF-8
// (write u8"联系人": narrow literals in the tests are GBK, file names are not).
std::filesystem::path program_path(const char8_t* deliverable);

// The command line that starts a program: the launcher, if any, then the
// program itself.
std::vector<std::string> program_command(const char8_t* deliverable);

// The name on disk of the file a program calls `name`.
std::string disk_name(const std::string& name);

// The name a program gives the file called `disk` on disk.
std::string program_name(const std::string& disk);

// The path of the file a program calls `name`, in `folder`.
std::filesystem::path file_path(const std::filesystem::path& folder, const std::string& name);

// Writes the file a program calls `name` in `folder`.
void write_file(const std::filesystem::path& folder, const std::string& name,
                const std::string& content);

// GBK text as UTF-8 (unchanged when it is no GBK).
std::string gbk_as_utf8(const std::string& gbk);

// The whole content of a file.
std::string read_file(const std::filesystem::path& path);

// The regular files in `folder`, by the names the programs give them.
std::map<std::string, std::string> files_in(const std::filesystem::path& folder);

}  // namespace testing_support
