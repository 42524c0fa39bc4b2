#include "contacts/contact_files.h"

#include <cstdio>
#include <cstdlib>

#include "input/read.h"
#include "platform/file.h"

namespace {

const char kContactFile[] = "联系人.txt";
const char kFrequentFile[] = "常用联系人.txt";

[[noreturn]] void cannot_open() {
  std::puts("打不开！");
  std::exit(0);
}

// Reads one record ("%s %s %s %d"); false when the file holds no more. A
// record cut short by the end of the file keeps what it has: "-" for a
// missing text field, 0 for a missing flag. Where the flag belongs, a token
// that does not begin with a number is no flag but the next record's name:
// the flag is then 0, and the records after it keep their fields. The
// number a token begins with is the flag (0 beyond the int range), and the
// rest of the token begins the next record.
bool read_record(std::FILE* file, person& record) {
  if (!read_text(record.name, file)) return false;
  if (!read_text(record.phone, file)) std::snprintf(record.phone, kFieldSize, "-");
  if (!read_text(record.qq, file)) std::snprintf(record.qq, kFieldSize, "-");
  record.familiar = 0;
  input::scan_leading_number(file, record.familiar);
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
  std::FILE* file = platform::open_file(kContactFile, "rb");
  if (file == nullptr) cannot_open();

  person* first = nullptr;
  person* last = nullptr;
  for (;;) {
    auto* record = static_cast<person*>(std::malloc(sizeof(person)));
    if (record == nullptr) {
      // A partial book could later be saved over the whole one: stop here.
      release(first);
      report_no_memory();
      std::exit(0);
    }
    if (!read_record(file, *record)) {
      std::free(record);
      break;
    }
    (last == nullptr ? first : last->next) = record;
    last = record;
  }
  // Nor may a book that could not be read to its end.
  bool failed = std::ferror(file) != 0;
  std::fclose(file);
  if (failed) {
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
