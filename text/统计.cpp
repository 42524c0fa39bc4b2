// 统计: reads one line and counts its English letters, blanks, digits and
// other bytes (each byte of a Chinese character is one "other").
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "text/line.h"

// Fills counters[0..3] with the numbers of letters, blanks, digits and other
// bytes in the line, a byte at a time: a byte of none of the first three
// classes (a tab, a punctuation mark, each byte of a Chinese character) is
// an "other". The counters are wide enough for any line in memory.
void count(std::string_view line, long long* counters) {
  counters[0] = counters[1] = counters[2] = counters[3] = 0;
  for (char c : line) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
      ++counters[0];
    else if (c == ' ')
      ++counters[1];
    else if (c >= '0' && c <= '9')
      ++counters[2];
    else
      ++counters[3];
  }
}

int main() {
  platform::start_console();
  std::fputs("请输入一个字符串:", stdout);
  std::string line;
  if (!get_line(stdin, line)) return 0;  // no line typed: nothing to count

  long long counters[4];
  count(line, counters);
  std::printf("共有英文字母%lld个，空格%lld个，数字%lld个，其它字符%lld个\n", counters[0],
              counters[1], counters[2], counters[3]);
  return 0;
}
