// 删除: reads up to 19 numbers, deletes the one at the position the user
// names (counting from 1) by moving the later numbers one place forward, and
// prints the numbers that remain.
//
// A count of 20 or more is refused and asked again, as is a token that is
// not a number; a position outside 1 to the count deletes nothing. End of
// input ends the program quietly.
#include <cstdio>
#include <cstdlib>

#include "input/read.h"
#include "platform/console.h"

namespace {

constexpr int kCapacity = 20;

// True when a number was read; ends the program when input has run out.
// False after a token that is not a number (consumed, with a word to the user).
bool accepted(int got) {
  if (got == EOF) std::exit(0);
  if (got == 0) {
    std::puts("输入无效，请重新输入。");
    return false;
  }
  return true;
}

int ask_count() {
  for (;;) {
    std::printf("您要输入多少个数字(小于20)：");
    int n = 0;
    if (!accepted(input::scan_number(stdin, n))) continue;
    if (n < kCapacity) return n;
    std::printf("最多只能输入%d个数字，请重新输入。\n", kCapacity - 1);
  }
}

float ask_number(int i) {
  for (;;) {
    std::printf("请输入第%d个数字:", i);
    float v = 0;
    if (accepted(input::scan_number(stdin, v))) return v;
  }
}

int ask_position() {
  for (;;) {
    std::printf("您要删除第几个数字:");
    int m = 0;
    if (accepted(input::scan_number(stdin, m))) return m;
  }
}

// Removes the m-th of the n values (m counting from 1); any other m removes nothing.
void delete_at(float* a, int n, int m) {
  if (m < 1) return;
  for (int i = m; i < n; ++i)
    a[i - 1] = a[i];
}

}  // namespace

int main() {
  platform::start_console();
  float a[kCapacity] = {};
  const int n = ask_count();
  for (int i = 1; i <= n; ++i)
    a[i - 1] = ask_number(i);
  const int m = ask_position();
  delete_at(a, n, m);
  for (int i = 1; i <= n - 1; ++i)
    std::printf("a[%d]=%f\n", i, static_cast<double>(a[i - 1]));
  return 0;
}
