#include "contacts/contact_files.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "platform/file.h"
#include "platform/input.h"

namespace {

const char kContactFile[] = "联系人.txt";
const char kFrequentFile[] = "常用联系人.txt";

[[noreturn]] void cannot_open() {
  std::puts("打不开！");
  platform::end_program();
}

// The flag of a record: the integer its token starts with, as strtol reads
// it, or 0 when it starts with none or one beyond the int range. The whole
// token is the flag, so a damaged flag never shifts the fields of the
// records after it.
int parse_flag(const std::string& token) {
  std::string_view digits(token);
  if (digits.starts_with('+')) {
    digits.remove_prefix(1);
    if (digits.starts_with('-')) return 0;
  }
  int value = 0;
  auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  return error == std::errc() ? value : 0;
}

// Reads one record; false when the file holds no more. A record cut short
// by the end of the file keeps what it has: "-" for a missing text field,
// 0 for a missing flag.
bool read_record(platform::Reader& file, person& record) {
  if (!read_text(record.name, file)) return false;
  if (!read_text(record.phone, file)) std::snprintf(record.phone, kFieldSize, "-");
  if (!read_text(record.qq, file)) std::snprintf(record.qq, kFieldSize, "-");
  std::string flag;
  record.familiar = file.read_token(flag) == platform::Got::value ? parse_flag(flag) : 0;
  record.next = nullptr;
  return true;
}

bool write_contacts(std::FILE* file, const person* first) {
  for (const person* p = first; p != nullptr; p = p->next) {
    if (std::fprintf(file, "%-10s %-15s %-15s %d\n", p->name, p->phone, p->qq, p->familiar) < 0)
      return false;
  }
  return true;
}

bool write_frequent(std::FILE* file, const person* first) {
  for (const person* p = first; p != nullptr; p = p->next) {
    if (p->familiar != 0 && std::fprintf(file, "%s\t %s\t %-15s\t\n", p->name, p->phone, p->qq) < 0)
      return false;
  }
  return true;
}

// Gives back the records of a list that will not be used.
void release(person* first) {
  while (first != nullptr) {
    person* next = first->next;
    std::free(first);
    first = next;
  }
}

}  // namespace

person* load() {
  platform::Reader file(kContactFile);
  if (!file.opened()) cannot_open();

  person* first = nullptr;
  person* last = nullptr;
  for (;;) {
    auto* record = static_cast<person*>(std::malloc(sizeof(person)));
    if (record == nullptr) {
      // A partial book could later be saved over the whole one: stop here.
      release(first);
      report_no_memory();
      platform::end_program();
    }
    if (!read_record(file, *record)) {
      std::free(record);
      break;
    }
    (last == nullptr ? first : last->next) = record;
    last = record;
  }
  // Nor may a book that could not be read to its end.
  if (file.failed()) {
    release(first);
    cannot_open();
  }
  return first;
}

// The book is written last: until it takes its place, a failed save leaves
// it as it was, and the frequent-contact file is derived from it anyway.
bool output(person* first) {
  platform::Replaced saved = platform::replace_files(
      {{kFrequentFile, [first](std::FILE* file) { return write_frequent(file, first); }},
       {kContactFile, [first](std::FILE* file) { return write_contacts(file, first); }}},
      true);
  if (saved == platform::Replaced::yes)
    std::puts("\n                 <保存成功!>");
  else if (saved == platform::Replaced::unsynced)
    std::puts("通信录已写好，但没能确认它已存到磁盘上，请再保存一次！");
  else
    std::puts("打不开！");
  return saved == platform::Replaced::yes;
}
