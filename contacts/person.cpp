#include "contacts/person.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/gbk.h"

person* new_person() {
  auto* record = static_cast<person*>(std::malloc(sizeof(person)));
  if (record != nullptr) std::memset(record, 0, sizeof(person));
  return record;
}

void release(person* first) {
  while (first != nullptr) {
    person* next = first->next;
    std::free(first);
    first = next;
  }
}

void set_field(char (&field)[kFieldSize], std::string_view text) {
  platform::copy_field(field, kFieldSize, text);
}

void report_no_memory() {
  std::puts("内存不足！");
}
