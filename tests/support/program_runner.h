// Runs a built program the way a user does: bytes typed on standard input,
// in a fresh working folder holding the files it needs; gives back what it
// printed, how it ended and the files it left behind.
#pragma once

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/programs.h"

namespace testing_support {

// Files and folders are named as the programs name them (see disk_name).
struct Session {
  std::string input;                         // bytes on standard input
  std::map<std::string, std::string> files;  // file name -> content, created first
  std::vector<std::string> folders;          // folders created first
  int time_limit_ms = 20000;                 // the program is killed after it
  std::function<void()> in_child;            // runs in the child just before exec
  bool unprivileged = false;                 // run as the user nobody (see run_in)
  bool close_input = true;                   // end of input after `input`
  std::string input_file;                    // if set, standard input is this file
  std::string output_file;                   // if set, standard output goes to this file
                                             // (emptied first) and Outcome::out stays empty
  bool collect_files = true;                 // fill Outcome::files afterwards
};

struct Outcome {
  std::string out;  // standard output, whole
  std::string err;  // standard error, whole
  int status = -1;  // exit status, or -1 if killed by a signal
  int signal = 0;   // the signal that ended it, if any
  bool timed_out = false;
  std::map<std::string, std::string> files;  // regular files in the folder afterwards
  double wall_ms = 0;                        // from starting the child to reaping it
  long peak_kib = 0;                         // the child's peak resident memory
  bool exited_cleanly() const { return status == 0 && !timed_out && err.empty(); }
};

// Runs the program in a new temporary folder, removed afterwards.
Outcome run(const char8_t* deliverable, const Session& session);
Outcome run(const char8_t* deliverable, const std::string& input);

// Runs the program in an existing folder (a sequence of runs sharing files).
// An unprivileged session run by root runs as the user nobody, with no
// supplementary groups, so that permissions hold for it as for anyone else;
// run by any other user, it runs as that user, for whom they already hold.
// The program then runs from a copy that the user nobody can reach, wherever
// the build folder lies; its working folder is entered before privileges are
// dropped.
Outcome run_in(const std::filesystem::path& folder, const char8_t* deliverable,
               const Session& session);

// A fresh temporary folder that removes itself.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  // The path of the file a program calls `name` (see disk_name).
  std::filesystem::path path_of(const std::string& name) const { return file_path(path_, name); }
  void write(const std::string& name, const std::string& content) const;
  std::string read(const std::string& name) const;
  std::map<std::string, std::string> files() const;

 private:
  std::filesystem::path path_;
};

// Bytes shown readably in a failure message (non-ASCII bytes as \xNN).
std::string visible(const std::string& bytes);

// Byte-for-byte equality; a failure shows both texts readably and where
// they first differ. Use as EXPECT_TRUE(same_bytes(actual, expected)).
::testing::AssertionResult same_bytes(const std::string& actual, const std::string& expected);

inline bool contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

}  // namespace testing_support
