#include "contacts/person.h"

#include <cstdio>
#include <cstring>

bool read_text(char (&field)[kFieldSize], platform::Reader& in) {
  if (!platform::read_field(field, kFieldSize, in)) return false;
  if (field[0] == '\0') std::strcpy(field, "-");
  return true;
}

void report_no_memory() {
  std::puts("内存不足！");
}
