// 偶数分解: writes an even number greater than 6 as the sum of two primes,
// the smallest prime first; other numbers are refused with a message.
#include <cstdio>
#include <optional>

#include "numeric/goldbach.h"
#include "numeric/reading.h"
#include "platform/console.h"

namespace {

bool accepted(int n) {
  return !(n % 2 == 1 || n <= 6);
}

}  // namespace

int main() {
  platform::start_console();
  std::printf("请输入一个大于6的偶数：");
  int n = 0;
  if (!numeric::read_number(n)) return 0;

  std::optional<goldbach::Pair> pair;
  if (accepted(n)) {
    pair = goldbach::smallest_pair(n);
  } else {
    // A refused number is still searched for, in the table holding 2 alone.
    std::printf("不符合格式");
    static constexpr int only_two[] = {2};
    pair = goldbach::first_pair(only_two, n);
  }
  if (pair) std::printf("%d=%d+%d", n, pair->first, pair->second);
  return 0;
}
