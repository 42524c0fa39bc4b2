// Running a program as a dialogue needs it: in a fresh temporary folder
// holding the dialogue's files, the typed bytes on its standard input, its
// standard output kept whole. One implementation for each system.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "checker/verdict.h"

namespace check {

struct Launch {
  std::vector<std::string> command;  // the launcher's words, if any, then the program
  bool unicode_names = false;        // files named in Unicode (a Windows program)
  int time_limit_ms = 10000;
  // After the dialogue's last answer is read, how long the program may still
  // run with its input open before the input is closed on it.
  int idle_ms = 2000;
};

// Files are given and returned by the names the programs give them (GBK).
Run run_program(const Launch& launch, const std::map<std::string, std::string>& files,
                const std::string& input);

// The path of this executable.
std::string own_path();

}  // namespace check
