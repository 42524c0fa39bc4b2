// 标识符: reads one line and tells whether it is a valid identifier: at most
// 32 bytes, a letter or '_' first, then only letters, digits and '_'. A valid
// identifier is echoed; otherwise the first failed check is named.
#include <cstddef>
#include <cstdio>
#include <string>

#include "platform/console.h"
#include "text/line.h"

namespace {

constexpr std::size_t kLongest = 32;

bool is_letter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool is_digit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace

int main() {
  platform::start_console();
  std::fputs("请输入一个标识符：", stdout);
  std::string typed;
  if (!get_line(stdin, typed)) return 0;  // no line typed: nothing to judge

  const char* line = typed.c_str();
  std::size_t length = typed.size();
  if (length > kLongest) {
    std::fputs("太长了!", stdout);
    return 0;
  }
  if (length == 0 || !(is_letter(line[0]) || line[0] == '_')) {
    std::fputs("第一个字符非法!", stdout);
    return 0;
  }
  std::size_t accepted = 0;
  for (std::size_t i = 1; i < length; ++i) {
    char c = line[i];
    if (!(is_digit(c) || is_letter(c) || c == '_')) break;
    ++accepted;
  }
  if (accepted == length - 1)
    std::puts(line);
  else
    std::fputs("出现非法字符!", stdout);
  return 0;
}
