#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "checker/screen.h"
#include "platform/codec.h"

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
  std::string out;
  if (!gbk_ || !platform::codec::convert(platform::Direction::utf8_to_gbk, utf8, out)) out = utf8;
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

void Screen::finish() {}

}  // namespace check
