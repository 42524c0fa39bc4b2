// The bytes of one student record as the grade programs store it.
#pragma once

#include <cstring>
#include <string>

#include "grades/student.h"

namespace grades_tests {

inline std::string image(const char* num, const char* name, float s1, float s2, float s3,
                         float total) {
  student record{};
  std::memcpy(record.num, num, std::strlen(num));
  std::memcpy(record.name, name, std::strlen(name));
  record.score[0] = s1;
  record.score[1] = s2;
  record.score[2] = s3;
  record.total = total;
  return std::string(reinterpret_cast<const char*>(&record), sizeof record);
}

}  // namespace grades_tests
