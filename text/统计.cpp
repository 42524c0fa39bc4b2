// 统计: reads one line and counts its English letters, blanks, digits and
// other bytes (each byte of a Chinese character is one "other").
#include <cstdio>
#include <string_view>

#include "platform/console.h"
#include "platform/input.h"

// Fills counters[0..3] with the numbers of letters, blanks, digits and other
// bytes in the line. Each byte counts in the first class it belongs to,
// tested in that order (the classes share no byte); every byte of a Chinese
// character is an "other". The counters are wide enough for any line in memory.
void count(std::string_view line, long long* counters) {
  for (int k = 0; k < 4; ++k)
    counters[k] = 0;
  for (char c : line) {
    bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    bool blank = c == ' ';
    bool digit = c >= '0' && c <= '9';
    counters[0] += letter;
    counters[1] += blank;
    counters[2] += digit;
    counters[3] += !(letter || blank || digit);
  }
}

int main() {
  platform::start_console();
  std::fputs("请输入一个字符串:", stdout);
  platform::Buffer line;
  if (!platform::read_typed_line(line)) return 0;  // no line typed: nothing to count

  long long counters[4];
  count(line.view(), counters);
  std::printf("共有英文字母%lld个，空格%lld个，数字%lld个，其它字符%lld个\n", counters[0],
              counters[1], counters[2], counters[3]);
  return 0;
}
