// 转换: reads an integer and writes its decimal digits one at a time, most
// significant first, taking the number apart by recursion instead of
// formatting it whole. A negative number is written as "-" and its digits.
#include <cstdio>

#include "input/read.h"
#include "platform/console.h"

namespace {

// Room for the ten digits of any int, with some to spare.
constexpr int kDigitRoom = 16;

}  // namespace

// The next free position in the digit buffer; advanced once per digit.
int j = 0;

// Writes the digits of n's magnitude, highest first, and stores each digit's
// value (0 to 9) in the buffer at position j. The remainder is taken from n
// itself rather than from -n, so the smallest int needs no special case.
void trans(int n, char* buffer) {
  int d = n % 10;
  if (d < 0) d = -d;
  if (n > 9 || n < -9) trans(n / 10, buffer);
  std::putchar('0' + d);
  if (j < kDigitRoom) buffer[j] = static_cast<char>(d);
  ++j;
}

int main() {
  platform::start_console();
  std::fputs("请输入一个数字：", stdout);
  int number = 0;
  // Input that is no int (or none at all) gets no digits.
  if (input::scan_number(stdin, number) != 1) return 0;

  char digits[kDigitRoom];
  if (number < 0) std::putchar('-');
  trans(number, digits);
  return 0;
}
