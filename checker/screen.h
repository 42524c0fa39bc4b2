// What the checker says, in the encoding of the terminal or console it runs
// on, and where its arguments come from. One implementation for each system.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace check {

class Screen {
 public:
  Screen();
  // The arguments, in UTF-8.
  std::vector<std::string> arguments(int argc, char** argv) const;
  // What to check when no path is given: on Windows the folder of the
  // checker itself (double-clicked beside the programs), elsewhere nothing.
  std::vector<std::filesystem::path> default_paths() const;
  void say(const std::string& utf8);
  // The end: a window opened for the checker alone waits for a key.
  void finish();

 private:
#ifdef _WIN32
  bool own_window_ = false;  // a console Windows made for the checker alone
#else
  bool gbk_ = false;  // a terminal that shows GBK
#endif
};

}  // namespace check
