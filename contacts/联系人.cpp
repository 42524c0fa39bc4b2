// The contact book: loads the contacts from "联系人.txt", then adds, lists,
// searches, revises and deletes them from a menu, and saves them on request
// to "联系人.txt" and, the frequent contacts only, to "常用联系人.txt".
#include <cstdio>

#include "contacts/contact_files.h"
#include "contacts/operations.h"
#include "contacts/person.h"
#include "platform/console.h"
#include "platform/file.h"

namespace {

// The one handle on the contact list, which lasts until the program ends.
person* book = nullptr;

void show_menu() {
  std::puts("\n\n**************欢迎进入通信录系统**************\n");
  std::puts(">             新添联系人请输入1              <");
  std::puts(">             浏览联系人请输入2              <");
  std::puts(">             查找联系人请输入3              <");
  std::puts(">             修改联系人请输入4              <");
  std::puts(">             删除联系人请输入5              <");
  std::puts(">             保存联系人请输入6              <");
  std::puts(">         退出系统请输入0(记得保存~)         <\n");
  std::puts("**********************************************\n");
  std::fputs("                    >>>", stdout);
}

// Asks whether the book was saved and saves it on answer 2. False when that
// save failed: the user goes back to the menu with the book unsaved.
bool exit_dialogue(person* first) {
  std::fputs(
      "\n                您保存了吗？\n\n"
      "已保存请输入1，未保存请输入2，手残删错联系人就是不保存请输入3：",
      stdout);
  int answer = 0;
  if (read_answer(answer) && answer == 2 && !output(first)) return false;
  std::puts("\n\n               <感谢您的使用!>");
  return true;
}

}  // namespace

int main() {
  platform::start_console();
  // Two books open on the same files would each save over the other's work.
  platform::Hold hold = platform::hold_book("联系人.txt");
  if (hold != platform::Hold::held) {
    std::puts(hold == platform::Hold::busy ? "通信录已在另一个窗口中打开，请先关闭那个窗口！"
                                           : "打不开！");
    return 0;
  }
  book = load();
  for (;;) {
    show_menu();
    int choice = -1;
    if (!read_answer(choice)) choice = -1;
    switch (choice) {
      case 0:
        if (exit_dialogue(book)) return 0;
        break;
      case 1:
        book = add(book);
        break;
      case 2:
        skim(book);
        break;
      case 3:
        search(book);
        break;
      case 4:
        revise(book);
        break;
      case 5:
        book = del(book);
        break;
      case 6:
        output(book);
        break;
      default:
        std::fputs("\n            格式错误，请重新输入！\n                    >>>", stdout);
        break;
    }
  }
}
