// 录入: asks for three students' number, name and three course scores, and
// writes their records, each with its total, to stud_dat.
#include <cstdio>
#include <string>

#include "grades/record_file.h"
#include "grades/student.h"
#include "platform/console.h"
#include "platform/file.h"
#include "platform/gbk.h"
#include "platform/input.h"

namespace {

using platform::Got;

// Text longer than its field is cut at a character boundary; an entry cut
// short by the end of input stays empty.
void read_text(char* field, std::size_t capacity) {
  std::string text;
  if (platform::stdin_reader().read_token(text) == Got::value) {
    platform::copy_field(field, capacity, text);
  }
}

// A score that is not a number, or was never typed, counts as 0.
float read_score() {
  float score = 0;
  if (platform::stdin_reader().read_float(score) != Got::value) score = 0;
  return score;
}

student read_entry() {
  student entry{};
  read_text(entry.num, sizeof entry.num);
  read_text(entry.name, sizeof entry.name);
  for (float& score : entry.score)
    score = read_score();
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
