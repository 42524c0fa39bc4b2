// 分数: reads ten students' names and integer scores and prints them sorted
// by score, highest first; equal scores keep the order they were typed in.
#include <cstdio>
#include <cstring>

#include "input/read.h"
#include "platform/console.h"

namespace {

constexpr int kCount = 10;
constexpr int kNameSize = 50;

// Positions 1 to 10 hold the students; the spare name entry 0 is the buffer
// through which two names change places.
struct Table {
  char names[kCount + 1][kNameSize] = {};
  int scores[kCount + 1] = {};
};

// A name cut to its field; a score that is no integer, or was never typed,
// counts as 0.
void read_student(Table& table, int k) {
  if (std::scanf("%49s", table.names[k]) == 1) input::end_field(stdin, table.names[k], kNameSize);
  input::scan_number(stdin, table.scores[k]);
}

void exchange(Table& table, int j) {
  char* buffer = table.names[0];
  std::memcpy(buffer, table.names[j], kNameSize);
  std::memcpy(table.names[j], table.names[j - 1], kNameSize);
  std::memcpy(table.names[j - 1], buffer, kNameSize);
  int score = table.scores[j];
  table.scores[j] = table.scores[j - 1];
  table.scores[j - 1] = score;
}

// Bubble sort of positions 1 to 10: each pass carries the highest remaining
// score forward to position p.
void sort_by_score(Table& table) {
  for (int p = 1; p <= kCount - 1; ++p) {
    for (int j = kCount; j >= p + 1; --j) {
      if (table.scores[j] > table.scores[j - 1]) exchange(table, j);
    }
  }
}

}  // namespace

int main() {
  platform::start_console();
  Table table;
  std::printf("请输入10个同学的成绩，姓名与成绩用空格隔开：\n");
  for (int k = 1; k <= kCount; ++k) {
    std::printf("第%d位同学：", k);
    read_student(table, k);
  }
  sort_by_score(table);
  for (int k = 1; k <= kCount; ++k)
    std::printf("%s %d分\n", table.names[k], table.scores[k]);
  return 0;
}
