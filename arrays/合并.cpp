// 合并: inserts ten numbers one at a time into an ascending list of ten, each
// at its ordered place after any equal values, and prints the twenty.
#include <cstdio>

#include "platform/console.h"

int main() {
  platform::start_console();
  float a[20] = {1, 3, 5, 7, 9, 11, 13, 15, 17, 19};
  const float more[10] = {23, 6, 12, 45, 1, 26, 45, 3, 45, 1};
  for (int i = 0; i < 10; ++i) {
    const float v = more[i];
    const int n = i + 10;
    if (v >= a[n - 1]) {
      a[n] = v;
      continue;
    }
    for (int j = 0; j < n; ++j) {
      if (a[j] > v) {
        for (int k = n; k > j; --k)
          a[k] = a[k - 1];
        a[j] = v;
        break;
      }
    }
  }
  for (int k = 0; k < 20; ++k)
    std::printf("a[%d]=%-5.2f\n", k + 1, static_cast<double>(a[k]));
  return 0;
}
