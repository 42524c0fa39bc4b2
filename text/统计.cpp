// 统计: reads one line and counts its English letters, blanks, digits and
// other bytes (each byte of a Chinese character is one "other").
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "platform/console.h"
#include "text/line.h"

namespace {

enum Class : unsigned char { kLetter, kBlank, kDigit, kOther };

// The class of every byte value, tested in the order letter, blank, digit.
constexpr std::array<unsigned char, 256> make_classes() {
  std::array<unsigned char, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    if ((b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'))
      classes[b] = kLetter;
    else if (b == ' ')
      classes[b] = kBlank;
    else if (b >= '0' && b <= '9')
      classes[b] = kDigit;
    else
      classes[b] = kOther;
  }
  return classes;
}

constexpr std::array<unsigned char, 256> kClasses = make_classes();

}  // namespace

// Fills counters[0..3] with the numbers of letters, blanks, digits and other
// bytes in the line. The counters are wide enough for any line in memory.
void count(std::string_view line, long long* counters) {
  for (int k = 0; k < 4; ++k)
    counters[k] = 0;
  for (char c : line)
    ++counters[kClasses[static_cast<unsigned char>(c)]];
}

int main() {
  platform::start_console();
  std::fputs("请输入一个字符串:", stdout);
  std::string line;
  if (!text::read_typed_line(line)) return 0;  // no line typed: nothing to count

  long long counters[4];
  count(line, counters);
  std::printf("共有英文字母%lld个，空格%lld个，数字%lld个，其它字符%lld个\n", counters[kLetter],
              counters[kBlank], counters[kDigit], counters[kOther]);
  return 0;
}
