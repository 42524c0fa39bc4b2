#include "contacts/contact_files.h"

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/file.h"
#include "platform/input.h"

namespace {

using platform::Got;

const char kContactFile[] = "联系人.txt";
const char kFrequentFile[] = "常用联系人.txt";

// Stands in for a text field missing from a record cut short by the end of
// the file, so that the record is kept and saves as a readable line.
const char kMissingField[] = "-";

[[noreturn]] void cannot_open() {
  std::puts("打不开！");
  platform::end_program();
}

// The flag of a record read from the file: the integer the token starts
// with, or 0 when it starts with none. The whole token is the flag, so a
// damaged flag never shifts the fields of the records after it.
int parse_flag(const std::string& token) {
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(token.c_str(), &end, 10);
  if (end == token.c_str() || errno == ERANGE || value < INT_MIN || value > INT_MAX) return 0;
  return static_cast<int>(value);
}

void read_text_field(platform::Reader& file, std::string& token, char (&field)[kFieldSize]) {
  set_field(field, file.read_token(token) == Got::value ? std::string_view(token)
                                                        : std::string_view(kMissingField));
}

// The lines are formatted by hand: a save of a large book spends most of
// its time here, and the formats are fixed.
bool write_contacts(FILE* file, const person* first) {
  char line[kColumnsSize + 16];
  for (const person* p = first; p != nullptr; p = p->next) {
    char* end = put_columns(line, *p);
    *end++ = ' ';
    end = std::to_chars(end, line + sizeof line, p->familiar).ptr;
    *end++ = '\n';
    std::size_t length = static_cast<std::size_t>(end - line);
    if (std::fwrite(line, 1, length, file) != length) return false;
  }
  return true;
}

bool write_frequent(FILE* file, const person* first) {
  for (const person* p = first; p != nullptr; p = p->next) {
    if (p->familiar == 0) continue;
    if (std::fprintf(file, "%s\t %s\t %-15s\t\n", p->name, p->phone, p->qq) < 0) return false;
  }
  return true;
}

}  // namespace

person* load(person* /*ignored*/) {
  platform::Reader file(-1);
  if (!file.open(kContactFile)) cannot_open();

  person* first = nullptr;
  person* last = nullptr;
  std::string token;
  while (file.read_token(token) == Got::value) {
    person* record = new_person();
    if (record == nullptr) {
      // A partial book could later be saved over the whole one: stop here.
      release(first);
      report_no_memory();
      platform::end_program();
    }
    set_field(record->name, token);
    read_text_field(file, token, record->phone);
    read_text_field(file, token, record->qq);
    record->familiar = file.read_token(token) == Got::value ? parse_flag(token) : 0;
    (last == nullptr ? first : last->next) = record;
    last = record;
  }
  return first;
}

void output(person* first) {
  using platform::replace_file;
  if (!replace_file(kContactFile, [first](std::FILE* f) { return write_contacts(f, first); }))
    cannot_open();
  if (!replace_file(kFrequentFile, [first](std::FILE* f) { return write_frequent(f, first); }))
    cannot_open();
  std::puts("\n                 <保存成功!>");
}
