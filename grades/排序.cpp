// 排序: reads the three records of stud_dat and writes them to stud_sort in
// order of total score, highest first; equal totals keep their order.
#include <cstdio>
#include <utility>

#include "grades/record_file.h"
#include "grades/student.h"
#include "platform/console.h"
#include "platform/file.h"

// Orders the three pointers by the total of their records, highest first.
// Only a strictly greater total moves forward, so ties keep their order and a
// total that is not a number never exchanges.
void bubblechange(student** order) {
  for (int i = 0; i < kStudents - 1; ++i) {
    for (int j = 0; j < kStudents - 1 - i; ++j) {
      if (order[j + 1]->total > order[j]->total) std::swap(order[j], order[j + 1]);
    }
  }
}

int main() {
  platform::start_console();
  student records[kStudents] = {};
  student* order[kStudents] = {&records[0], &records[1], &records[2]};

  std::FILE* in = platform::open_file("stud_dat", "rb");
  if (in == nullptr) {
    std::printf("打不开1！\n");
    return 0;
  }
  if (!platform::can_replace("stud_sort")) {
    std::printf("打不开2！\n");
    std::fclose(in);
    return 0;
  }
  // One block read; what a short file does not supply stays zero.
  std::fread(records, sizeof(student), kStudents, in);
  bool read = !std::ferror(in);
  std::fclose(in);
  if (!read) {
    std::printf("打不开1！\n");
    return 0;
  }

  bubblechange(order);
  grades::write_records("stud_sort", order);
  return 0;
}
