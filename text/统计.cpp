// 统计: reads one line and counts its English letters, blanks, digits and
// other bytes (each byte of a Chinese character is one "other").
#include <cstdio>
#include <string_view>

#include "platform/console.h"
#include "platform/input.h"

// Fills counters[0..3] with the numbers of letters, blanks, digits and other
// bytes in the line: a byte of none of the first three classes (a tab, a
// punctuation mark, each byte of a Chinese character) is an "other". The
// counters are wide enough for any line in memory. Each block of 255 bytes
// is counted in byte-sized counters first, which lets the compiler test
// many bytes at once.
void count(std::string_view line, long long* counters) {
  long long letters = 0, blanks = 0, digits = 0;
  for (std::size_t start = 0; start < line.size(); start += 255) {
    unsigned char block_letters = 0, block_blanks = 0, block_digits = 0;
    for (char c : line.substr(start, 255)) {
      block_letters += (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
      block_blanks += c == ' ';
      block_digits += c >= '0' && c <= '9';
    }
    letters += block_letters;
    blanks += block_blanks;
    digits += block_digits;
  }
  counters[0] = letters;
  counters[1] = blanks;
  counters[2] = digits;
  counters[3] = static_cast<long long>(line.size()) - letters - blanks - digits;
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
