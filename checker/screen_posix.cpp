#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "checker/dialogue.h"
#include "checker/screen.h"
#include "platform/transcoder.h"

namespace check {

Screen::Screen() {
  gbk_ = ::isatty(1) && platform::locale_is_gbk(std::getenv("LC_ALL"), std::getenv("LC_CTYPE"),
                                                std::getenv("LANG"));
}

std::vector<std::string> Screen::arguments(int argc, char** argv) const {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::vector<std::filesystem::path> Screen::default_paths() const {
  return {};
}

void Screen::say(const std::string& utf8) {
  std::string out = gbk_ ? converted(false, utf8) : utf8;
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

void Screen::finish() {}

}  // namespace check
