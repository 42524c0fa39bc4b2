// 平均分: reads two students' numbers and three scores each, prints their
// averages, then the student with the highest average and the one with the lowest.
#include <cstdio>
#include <cstring>

#include "input/read.h"
#include "platform/console.h"

namespace {

constexpr int kTable = 50;
constexpr int kNumberSize = 20;
constexpr int kStudentsRead = 2;

// A score ("%lf") that is no number, or was never typed, counts as 0.
double read_score() {
  double score = 0;
  input::scan_number(stdin, score);
  return score;
}

}  // namespace

int main() {
  platform::start_console();
  char numbers[kTable][kNumberSize] = {};
  double averages[kTable] = {};
  char best[kNumberSize] = {};
  char worst[kNumberSize] = {};  // stays empty while no average is below the start
  double highest = 0;
  double lowest = 100000.0;

  std::printf("请依次键入同学的学号、三门课成绩，四项间用空格隔开。\n");
  for (int k = 1; k <= kStudentsRead; ++k) {
    std::printf("同学%d：", k);
    if (std::scanf("%19s", numbers[k]) == 1) input::end_field(stdin, numbers[k], kNumberSize);
    double first = read_score();
    double second = read_score();
    double third = read_score();
    averages[k] = (first + second + third) / 3.0;
    // The first student is always the best so far; later ones must beat it.
    if (k == 1 || averages[k] > highest) {
      highest = averages[k];
      std::memcpy(best, numbers[k], kNumberSize);
    }
    if (averages[k] < lowest) {
      lowest = averages[k];
      std::memcpy(worst, numbers[k], kNumberSize);
    }
  }
  for (int k = 1; k <= kStudentsRead; ++k) {
    std::printf("学号：%s      平均分：%lf\n", numbers[k], averages[k]);
  }
  std::printf("巨佬：%s %lf\n卖弱：%s %lf\n", best, highest, worst, lowest);
  return 0;
}
