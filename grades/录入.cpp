// 录入: asks for three students' number, name and three course scores, and
// writes their records, each with its total, to stud_dat.
#include <cstdio>

#include "grades/record_file.h"
#include "grades/student.h"
#include "input/read.h"
#include "platform/console.h"
#include "platform/file.h"

namespace {

// Number, name and three scores ("%s %s %f %f %f"). Text longer than its
// field is cut at a character boundary, a score that is no number counts as
// 0, and what the end of input leaves unread stays empty.
student read_entry() {
  student entry{};
  if (std::scanf("%19s", entry.num) == 1) input::end_field(stdin, entry.num, sizeof entry.num);
  if (std::scanf("%19s", entry.name) == 1) input::end_field(stdin, entry.name, sizeof entry.name);
  for (float& score : entry.score)
    input::scan_number(stdin, score);
  entry.total = (entry.score[0] + entry.score[1]) + entry.score[2];
  return entry;
}

}  // namespace

int main() {
  platform::start_console();
  // Whether stud_dat can be written is known before the first prompt; its
  // old content stays until the three new records replace it whole.
  if (!platform::can_replace("stud_dat")) {
    std::printf("打不开！\n");
    return 0;
  }
  student entries[kStudents];
  for (int k = 1; k <= kStudents; ++k) {
    std::printf("请输入第%d个同学的学号、姓名、三门课的成绩：", k);
    entries[k - 1] = read_entry();
  }
  const student* order[kStudents] = {&entries[0], &entries[1], &entries[2]};
  grades::write_records("stud_dat", order);
  return 0;
}
