#include "contacts/person.h"

#include <cstdio>
#include <cstring>

#include "input/read.h"

bool read_text(char (&field)[kFieldSize], std::FILE* in) {
  if (std::fscanf(in, "%14s", field) != 1) return false;
  input::end_field(in, field, kFieldSize);
  if (field[0] == '\0') std::strcpy(field, "-");
  return true;
}

void report_no_memory() {
  std::puts("内存不足！");
}
