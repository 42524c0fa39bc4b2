#include "contacts/operations.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "contacts/typed_input.h"
#include "platform/input.h"

namespace {

using Finder = person* (*)(person*, const char*);

const char kBadType[] = "\n                输入格式错误！";
const char kNewContactCaption[] =
    "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n";

// Inserts `record` by name: in front of a first record whose name is equal
// or greater, otherwise just before the first later record whose name is
// greater, or at the end.
person* insert_by_name(person* first, person* record) {
  if (first == nullptr) return record;
  if (std::strcmp(record->name, first->name) <= 0) {
    record->next = first;
    return record;
  }
  person* before = first;
  while (before->next != nullptr && std::strcmp(before->next->name, record->name) <= 0) {
    before = before->next;
  }
  record->next = before->next;
  before->next = record;
  return first;
}

// A found contact's row: `lead`, then name, phone and QQ number in their
// columns and three blanks.
void print_columns(const char* lead, const person* p) {
  char row[kColumnsSize + 3];
  char* end = put_columns(row, *p);
  std::memcpy(end, "   ", 3);
  std::fputs(lead, stdout);
  std::fwrite(row, 1, static_cast<std::size_t>(end + 3 - row), stdout);
}

template <typename Matches>
person* seek(person* start, Matches matches) {
  for (person* p = start; p != nullptr; p = p->next) {
    if (matches(p)) {
      print_columns("\n", p);
      std::puts(p->familiar == 1 ? "常用" : "不常用");
      return p;
    }
  }
  return nullptr;
}

// Prints the menu of search types (`search` adds the frequent contacts)
// and reads the type; false for a token that is not a number.
bool ask_type(bool with_frequent, int& type) {
  std::puts("\n             >请输入要查找的类型<");
  std::puts("               姓名查找请输入1");
  std::puts("               电话查找请输入2");
  std::puts("                QQ查找请输入3");
  if (with_frequent) std::puts("            常用联系人查找请输入4");
  std::puts("");
  std::fputs("                    >>>", stdout);
  return read_number(type);
}

// Calls the finder from the first record on until the list is exhausted;
// returns how many contacts it printed.
int list_matches(person* first, Finder finder, const char* key) {
  int found = 0;
  for (person* p = first; p != nullptr; p = p->next) {
    p = finder(p, key);
    if (p == nullptr) break;
    ++found;
  }
  return found;
}

// The finder for a search type of `revise` and `del`, after printing its
// key prompt; null for a type they do not offer.
Finder finder_for(int type) {
  switch (type) {
    case 1:
      std::fputs("\n             请输入姓名:", stdout);
      return seekname;
    case 2:
      std::fputs("\n             请输入电话号码:", stdout);
      return seekphone;
    case 3:
      std::fputs("\n             请输入QQ号:", stdout);
      return seekqq;
    default:
      return nullptr;
  }
}

// Asks for the type and the key, then offers each matching contact in turn
// until the user confirms one, which is returned. Null when the type is
// not offered, nothing matched or nothing was confirmed; the messages for
// a bad type and for no match at all are printed here.
person* choose_contact(person* first, int& type) {
  Finder finder = nullptr;
  if (ask_type(false, type)) finder = finder_for(type);
  if (finder == nullptr) {
    std::fputs(kBadType, stdout);
    return nullptr;
  }
  char key[kFieldSize];
  bool usable = read_key(key);
  int shown = 0;
  person* chosen = nullptr;
  for (person* p = usable ? first : nullptr; p != nullptr; p = p->next) {
    p = finder(p, key);
    if (p == nullptr) break;
    ++shown;
    std::fputs("\n这是不是您需要的信息？是输入1，否输入0：", stdout);
    int answer = 0;
    if (read_number(answer) && answer == 1) {
      chosen = p;
      break;
    }
  }
  if (shown == 0) {
    std::puts(type == 3 ? "\n                 <查无此人!>" : "\n                <查无此人!>");
  }
  return chosen;
}

}  // namespace

person* add(person* first) {
  std::fputs(kNewContactCaption, stdout);
  std::fputs("\n              >>>", stdout);
  person fields{};
  if (!read_contact(fields)) platform::end_program();
  // Allocated once the answers are in, so that they are consumed even when
  // there is no memory left for the contact.
  person* record = new_person();
  if (record == nullptr) {
    report_no_memory();
    return first;
  }
  *record = fields;
  std::puts("\n                <添加成功!>");
  return insert_by_name(first, record);
}

void skim(person* first) {
  std::puts("\n 姓名        电话号码          QQ        常用联系人");
  Rows rows(stdout);
  for (const person* p = first; p != nullptr; p = p->next) {
    char* end = put_columns(rows.next(), *p);
    rows.end_row(put_text(end, p->familiar == 1 ? "   是\n" : "   否\n"));
  }
  rows.finish();
}

person* seekname(person* start, const char* key) {
  return seek(start, [key](const person* p) { return std::strcmp(p->name, key) == 0; });
}

person* seekphone(person* start, const char* key) {
  return seek(start, [key](const person* p) { return std::strcmp(p->phone, key) == 0; });
}

person* seekqq(person* start, const char* key) {
  return seek(start, [key](const person* p) { return std::strcmp(p->qq, key) == 0; });
}

person* seekfamiliar(person* start) {
  for (person* p = start; p != nullptr; p = p->next) {
    if (p->familiar == 1) {
      print_columns("\n    ", p);
      return p;
    }
  }
  return nullptr;
}

void search(person* first) {
  int type = 0;
  if (!ask_type(true, type)) type = 0;
  Finder finder = nullptr;
  switch (type) {
    case 1:
      std::fputs("\n             请输入姓名:", stdout);
      finder = seekname;
      break;
    case 2:
      std::fputs("\n           请输入电话号码:", stdout);
      finder = seekphone;
      break;
    case 3:
      std::fputs("\n             请输入QQ号:", stdout);
      finder = seekqq;
      break;
    case 4: {
      int found = 0;
      for (person* p = first; p != nullptr; p = p->next) {
        p = seekfamiliar(p);
        if (p == nullptr) break;
        ++found;
      }
      if (found == 0) std::puts("                   没有常用联系人QAQ!");
      return;
    }
    default:
      std::fputs(kBadType, stdout);
      return;
  }
  char key[kFieldSize];
  bool usable = read_key(key);
  if (!usable || list_matches(first, finder, key) == 0) std::puts("\n                <查无此人>!");
}

void revise(person* first) {
  int type = 0;
  person* chosen = choose_contact(first, type);
  if (chosen == nullptr) return;
  std::fputs(kNewContactCaption, stdout);
  std::fputs("              >>>", stdout);
  person fields{};
  if (!read_contact(fields)) platform::end_program();
  fields.next = chosen->next;
  *chosen = fields;
  std::puts(type == 3 ? "\n                <修改成功>！" : "\n                <修改成功!>");
}

person* del(person* first) {
  int type = 0;
  person* chosen = choose_contact(first, type);
  if (chosen == nullptr) return first;
  if (chosen == first) {
    first = chosen->next;
  } else {
    person* before = first;
    while (before->next != chosen) {
      before = before->next;
    }
    before->next = chosen->next;
  }
  release(chosen);
  std::puts("\n                <删除成功!>");
  return first;
}
