#include "grades/record_file.h"

#include <cstdio>

#include "platform/file.h"

namespace grades {

bool write_records(const char* name, const student* const* order) {
  auto records = [order](std::FILE* file) {
    for (int k = 0; k < kStudents; ++k) {
      if (std::fwrite(order[k], sizeof(student), 1, file) != 1) return false;
    }
    return true;
  };
  const bool written = platform::replace_files({{name, records}}, false) == platform::Replaced::yes;
  if (!written) std::printf("写不进！\n");
  return written;
}

}  // namespace grades
