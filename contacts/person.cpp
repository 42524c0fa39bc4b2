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

namespace {

// Copies `text` and fills with blanks to `width` bytes, as "%-*s" does.
char* put_padded(char* out, const char* text, std::size_t width) {
  std::size_t length = std::strlen(text);
  std::memcpy(out, text, length);
  if (length < width) {
    std::memset(out + length, ' ', width - length);
    length = width;
  }
  return out + length;
}

}  // namespace

char* put_columns(char* out, const person& record) {
  out = put_padded(out, record.name, 10);
  *out++ = ' ';
  out = put_padded(out, record.phone, 15);
  *out++ = ' ';
  return put_padded(out, record.qq, 15);
}

void report_no_memory() {
  std::puts("内存不足！");
}
