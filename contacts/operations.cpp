#include "contacts/operations.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "input/read.h"

namespace {

using Finder = person* (*)(person*, const char*);

const char kCaption[] =
    "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n";
const char kBadType[] = "\n                输入格式错误！";
// The phone prompt of a search has two blanks fewer than that of revising
// and deleting.
const char kSearchPhonePrompt[] = "\n           请输入电话号码:";
const char kPickPhonePrompt[] = "\n             请输入电话号码:";

// Name, phone, QQ number and flag of a contact, as typed. A flag that is no
// integer is consumed and taken as 0 (not frequent). The end of input ends
// the program.
void read_contact(person& fields) {
  if (!read_text(fields.name, stdin) || !read_text(fields.phone, stdin) ||
      !read_text(fields.qq, stdin) || input::scan_number(stdin, fields.familiar) == EOF)
    std::exit(0);
}

// A search key, its token up to a NUL byte; false when that is longer than
// a field holds, since such a key can never equal a stored field. The end
// of input ends the program.
bool read_key(char (&key)[kFieldSize]) {
  if (std::scanf("%14s", key) != 1) std::exit(0);
  return input::end_field(stdin, key, kFieldSize);
}

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
  while (before->next != nullptr && std::strcmp(before->next->name, record->name) <= 0)
    before = before->next;
  record->next = before->next;
  before->next = record;
  return first;
}

// The first contact from `start` on whose field equals `key`, its row printed.
person* seek(person* start, const char* key, char (person::*field)[kFieldSize]) {
  for (person* p = start; p != nullptr; p = p->next) {
    if (std::strcmp(p->*field, key) == 0) {
      std::printf("\n%-10s %-15s %-15s   %s\n", p->name, p->phone, p->qq,
                  p->familiar == 1 ? "常用" : "不常用");
      return p;
    }
  }
  return nullptr;
}

// Prints the menu of search types (`search` adds the frequent contacts)
// and reads the type; 0 for a token that is no number.
int ask_type(bool with_frequent) {
  std::puts("\n             >请输入要查找的类型<");
  std::puts("               姓名查找请输入1");
  std::puts("               电话查找请输入2");
  std::puts("                QQ查找请输入3");
  if (with_frequent) std::puts("            常用联系人查找请输入4");
  std::puts("");
  std::fputs("                    >>>", stdout);
  int type = 0;
  return read_answer(type) ? type : 0;
}

// The finder for a search type, after printing its key prompt; null for a
// type it does not stand for.
Finder finder_for(int type, const char* phone_prompt) {
  switch (type) {
    case 1:
      std::fputs("\n             请输入姓名:", stdout);
      return seekname;
    case 2:
      std::fputs(phone_prompt, stdout);
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
  type = ask_type(false);
  Finder finder = finder_for(type, kPickPhonePrompt);
  if (finder == nullptr) {
    std::fputs(kBadType, stdout);
    return nullptr;
  }
  char key[kFieldSize];
  bool usable = read_key(key);
  int shown = 0;
  person* cursor = usable ? first : nullptr;
  while (cursor != nullptr) {
    cursor = finder(cursor, key);
    if (cursor == nullptr) break;
    ++shown;
    std::fputs("\n这是不是您需要的信息？是输入1，否输入0：", stdout);
    int answer = 0;
    if (read_answer(answer) && answer == 1) return cursor;
    cursor = cursor->next;
  }
  if (shown == 0)
    std::puts(type == 3 ? "\n                 <查无此人!>" : "\n                <查无此人!>");
  return nullptr;
}

}  // namespace

bool read_answer(int& value) {
  int got = input::scan_number(stdin, value);
  if (got == EOF) std::exit(0);
  return got == 1;
}

person* add(person* first) {
  std::fputs(kCaption, stdout);
  std::fputs("\n              >>>", stdout);
  person fields{};
  read_contact(fields);
  // Allocated once the answers are in, so that they are consumed even when
  // there is no memory left for the contact.
  auto* record = static_cast<person*>(std::malloc(sizeof(person)));
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
  for (const person* p = first; p != nullptr; p = p->next)
    std::printf("%-10s %-15s %-15s   %s\n", p->name, p->phone, p->qq,
                p->familiar == 1 ? "是" : "否");
}

person* seekname(person* start, const char* key) {
  return seek(start, key, &person::name);
}

person* seekphone(person* start, const char* key) {
  return seek(start, key, &person::phone);
}

person* seekqq(person* start, const char* key) {
  return seek(start, key, &person::qq);
}

person* seekfamiliar(person* start) {
  for (person* p = start; p != nullptr; p = p->next) {
    if (p->familiar == 1) {
      std::printf("\n    %-10s %-15s %-15s   ", p->name, p->phone, p->qq);
      return p;
    }
  }
  return nullptr;
}

void search(person* first) {
  int type = ask_type(true);
  int found = 0;
  person* cursor = first;
  if (type == 4) {
    while (cursor != nullptr && (cursor = seekfamiliar(cursor)) != nullptr) {
      ++found;
      cursor = cursor->next;
    }
    if (found == 0) std::puts("                   没有常用联系人QAQ!");
    return;
  }
  Finder finder = finder_for(type, kSearchPhonePrompt);
  if (finder == nullptr) {
    std::fputs(kBadType, stdout);
    return;
  }
  char key[kFieldSize];
  if (!read_key(key)) cursor = nullptr;
  while (cursor != nullptr && (cursor = finder(cursor, key)) != nullptr) {
    ++found;
    cursor = cursor->next;
  }
  if (found == 0) std::puts("\n                <查无此人>!");
}

void revise(person* first) {
  int type = 0;
  person* chosen = choose_contact(first, type);
  if (chosen == nullptr) return;
  std::fputs(kCaption, stdout);
  std::fputs("              >>>", stdout);
  person fields{};
  read_contact(fields);
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
    while (before->next != chosen)
      before = before->next;
    before->next = chosen->next;
  }
  std::free(chosen);
  std::puts("\n                <删除成功!>");
  return first;
}
