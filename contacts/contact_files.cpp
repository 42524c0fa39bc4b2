#include "contacts/contact_files.h"

#include <charconv>
#include <cstdio>
#include <string_view>
#include <system_error>

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
// with, as strtol reads it, or 0 when it starts with none or one beyond the
// int range. The whole token is the flag, so a damaged flag never shifts the
// fields of the records after it.
int parse_flag(std::string_view token) {
  if (token.starts_with('+')) {
    token.remove_prefix(1);
    if (token.starts_with('-')) return 0;
  }
  int value = 0;
  auto [end, error] = std::from_chars(token.data(), token.data() + token.size(), value);
  return error == std::errc() ? value : 0;
}

void read_text_field(platform::Reader& file, char (&field)[kFieldSize]) {
  std::string_view token;
  set_field(field, file.read_token(token) == Got::value ? token : std::string_view(kMissingField));
}

// The lines are formatted by hand, as "%-10s %-15s %-15s %d\n" and
// "%s\t %s\t %-15s\t\n" write them: a save of a large book spends most of
// its time here, and the formats are fixed.
bool write_contacts(std::FILE* file, const person* first) {
  Rows rows(file);
  for (const person* p = first; p != nullptr; p = p->next) {
    char* line = rows.next();
    char* end = put_columns(line, *p);
    *end++ = ' ';
    end = std::to_chars(end, line + Rows::kLongestRow, p->familiar).ptr;
    *end++ = '\n';
    rows.end_row(end);
  }
  return rows.finish();
}

bool write_frequent(std::FILE* file, const person* first) {
  Rows rows(file);
  for (const person* p = first; p != nullptr; p = p->next) {
    if (p->familiar == 0) continue;
    char* end = put_text(rows.next(), p->name);
    end = put_text(put_text(end, "\t "), p->phone);
    end = put_padded(put_text(end, "\t "), p->qq, 15);
    rows.end_row(put_text(end, "\t\n"));
  }
  return rows.finish();
}

}  // namespace

person* load(person* /*ignored*/) {
  platform::Reader file(-1);
  if (!file.open(kContactFile)) cannot_open();

  person* first = nullptr;
  person* last = nullptr;
  std::string_view token;
  while (file.read_token(token) == Got::value) {
    person* record = new_person();
    if (record == nullptr) {
      // A partial book could later be saved over the whole one: stop here.
      report_no_memory();
      platform::end_program();
    }
    set_field(record->name, token);
    read_text_field(file, record->phone);
    read_text_field(file, record->qq);
    record->familiar = file.read_token(token) == Got::value ? parse_flag(token) : 0;
    (last == nullptr ? first : last->next) = record;
    last = record;
  }
  return first;
}

// Both files are written before either takes its place, so that the disk
// writes the first while the second is formatted; the contact file still
// takes its place first, so when the frequent-contact file fails, the
// contact file has been saved.
void output(person* first) {
  platform::Replacement book(kContactFile, platform::Safety::durable);
  platform::Replacement frequent(kFrequentFile, platform::Safety::durable);
  bool saved = book.write([first](std::FILE* f) { return write_contacts(f, first); });
  bool frequent_written =
      saved && frequent.write([first](std::FILE* f) { return write_frequent(f, first); });
  saved = saved && book.put_in_place();
  saved = saved && frequent_written && frequent.put_in_place();
  if (!saved) {
    book.abandon();
    frequent.abandon();
    cannot_open();
  }
  std::puts("\n                 <保存成功!>");
}
