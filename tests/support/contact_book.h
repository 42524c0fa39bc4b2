// The contact book's texts and the rows of its files and of its browse table,
// written once for every test that compares them. The texts are macros, so
// that a test can have them as UTF-8 (u8"...") as well as GBK.
#pragma once

#include <cstdio>
#include <string>

#define CONTACT_BOOK_MENU                                           \
  "\n\n**************欢迎进入通信录系统**************\n\n" \
  ">             新添联系人请输入1              <\n"        \
  ">             浏览联系人请输入2              <\n"        \
  ">             查找联系人请输入3              <\n"        \
  ">             修改联系人请输入4              <\n"        \
  ">             删除联系人请输入5              <\n"        \
  ">             保存联系人请输入6              <\n"        \
  ">         退出系统请输入0(记得保存~)         <\n\n"   \
  "**********************************************\n\n"              \
  "                    >>>"
#define CONTACT_BOOK_CAPTION \
  "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n"
#define CONTACT_BOOK_ADDED "\n                <添加成功!>\n"
#define CONTACT_BOOK_TABLE "\n 姓名        电话号码          QQ        常用联系人\n"
#define CONTACT_BOOK_SAVED "\n                 <保存成功!>\n"
#define CONTACT_BOOK_EXIT_QUESTION           \
  "\n                您保存了吗？\n\n" \
  "已保存请输入1，未保存请输入2，手残删错联系人就是不保存请输入3："
#define CONTACT_BOOK_FAREWELL "\n\n               <感谢您的使用!>\n"

namespace contact_book {

// The book's two files, and what the book says when it cannot use them.
inline const std::string kContacts = "联系人.txt";
inline const std::string kFrequent = "常用联系人.txt";
inline const std::string kCannotOpen = "打不开！\n";

// A book of one frequent contact.
inline const std::string kOneContactBook = "Alice      13800000001     10001           1\n";

// A row of the contact file.
inline std::string book_row(const std::string& name, const std::string& phone,
                            const std::string& qq, int flag) {
  char row[256];
  std::snprintf(row, sizeof row, "%-10s %-15s %-15s %d\n", name.c_str(), phone.c_str(), qq.c_str(),
                flag);
  return row;
}

// A row of the frequent-contact file.
inline std::string frequent_row(const std::string& name, const std::string& phone,
                                const std::string& qq) {
  char row[256];
  std::snprintf(row, sizeof row, "%s\t %s\t %-15s\t\n", name.c_str(), phone.c_str(), qq.c_str());
  return row;
}

// A row of the browse table.
inline std::string table_row(const std::string& name, const std::string& phone,
                             const std::string& qq, int flag) {
  char row[256];
  std::snprintf(row, sizeof row, "%-10s %-15s %-15s   %s\n", name.c_str(), phone.c_str(),
                qq.c_str(), flag == 1 ? "是" : "否");
  return row;
}

}  // namespace contact_book
