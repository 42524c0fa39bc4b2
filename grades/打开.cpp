// 打开: prints the ranked records of stud_sort as a table, one row a student.
#include <cstdio>
#include <cstring>

#include "grades/student.h"
#include "platform/console.h"
#include "platform/file.h"

namespace {

constexpr char kHeader[] = "学号       姓名         1          2          3         总分";
static_assert(sizeof kHeader - 1 == 60);

// A text field as printable text: its bytes up to the zero byte, and at most
// its 20 bytes when a foreign file left it without one.
struct Text {
  explicit Text(const char (&field)[20]) {
    std::memcpy(bytes, field, sizeof field);
    bytes[sizeof field] = '\0';
  }
  char bytes[21];
};

void print_row(const student& record) {
  std::printf("%-10s %-10s %-10.2f %-10.2f %-10.2f %-10.2f\n", Text(record.num).bytes,
              Text(record.name).bytes, static_cast<double>(record.score[0]),
              static_cast<double>(record.score[1]), static_cast<double>(record.score[2]),
              static_cast<double>(record.total));
}

}  // namespace

int main() {
  platform::start_console();
  std::FILE* file = platform::open_file("stud_sort", "rb");
  if (file == nullptr) {
    std::printf("打不开！\n");
    return 0;
  }
  // One block read; what a short file does not supply stays zero.
  student records[kStudents] = {};
  std::fread(records, sizeof(student), kStudents, file);
  bool read = !std::ferror(file);
  std::fclose(file);
  if (!read) {
    std::printf("打不开！\n");
    return 0;
  }

  std::printf("%s\n", kHeader);
  for (const student& record : records)
    print_row(record);
  return 0;
}
