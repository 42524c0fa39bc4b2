// The contact book on a UTF-8 terminal: a Chinese name typed there is kept
// and saved as GBK, and the browse table lines up on screen.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/terminal/terminal.h"

namespace {
using terminal_tests::Dialogue;
using terminal_tests::expect_dialogue;
using terminal_tests::Text;
using testing_support::same_bytes;

const Text kMenu = BOTH(
    "\n\n**************欢迎进入通信录系统**************\n\n"
    ">             新添联系人请输入1              <\n"
    ">             浏览联系人请输入2              <\n"
    ">             查找联系人请输入3              <\n"
    ">             修改联系人请输入4              <\n"
    ">             删除联系人请输入5              <\n"
    ">             保存联系人请输入6              <\n"
    ">         退出系统请输入0(记得保存~)         <\n\n"
    "**********************************************\n\n"
    "                    >>>");
const Text kAdded = BOTH(
    "\n请输入新联系人的  姓名   电话号码      QQ号  是否为常用联系人(是输入1，否输入0)\n\n"
    "              >>>\n                <添加成功!>\n");
const Text kHeader = BOTH("\n 姓名        电话号码          QQ        常用联系人\n");
const Text kSaved = BOTH("\n                 <保存成功!>\n");
const Text kExit = BOTH(
    "\n                您保存了吗？\n\n"
    "已保存请输入1，未保存请输入2，手残删错联系人就是不保存请输入3："
    "\n\n               <感谢您的使用!>\n");

const std::string kBook = "Alice      13800000001     10001           1\n";

// Columns a UTF-8 line takes on a terminal: two for each Chinese character.
std::size_t columns(std::string_view line) {
  std::size_t width = 0;
  for (std::size_t i = 0; i < line.size();) {
    unsigned char c = static_cast<unsigned char>(line[i]);
    std::size_t length = c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    width += length == 3 ? 2 : 1;
    i += length;
  }
  return width;
}

TEST(ContactsOnTerminal, ChineseNameTypedIsSavedAsGbkAndBrowsedAsUtf8) {
  Dialogue d{u8"联系人", BOTH("1\n王小明 13912345678 12345 1\n2\n6\n0\n1\n"),
             kMenu + kAdded + kMenu + kHeader +
                 BOTH("Alice      13800000001     10001             是\n"
                      "王小明     13912345678     12345             是\n") +
                 kMenu + kSaved + kMenu + kExit};
  d.files = {{"联系人.txt", kBook}};
  auto outcome = expect_dialogue(d);
  EXPECT_TRUE(same_bytes(outcome.files["联系人.txt"],
                         kBook + "王小明     13912345678     12345           1\n"));
  EXPECT_TRUE(same_bytes(outcome.files["常用联系人.txt"],
                         "Alice\t 13800000001\t 10001          \t\n"
                         "王小明\t 13912345678\t 12345          \t\n"));
}

TEST(ContactsOnTerminal, BrowseColumnsLineUpOnScreen) {
  auto session = terminal_tests::utf8_session("2\n0\n3\n", true);
  session.files = {{"联系人.txt", kBook + "张三       15000000003     30003           1\n"
                                          "李四四     18600000004     40004           0\n"
                                          "x          1               2               1\n"}};
  auto outcome = testing_support::run_on_terminal(u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  const std::string& screen = outcome.out;
  std::size_t at = screen.find(kHeader.utf8);
  ASSERT_NE(at, std::string::npos);
  at += kHeader.utf8.size();
  for (int row = 0; row < 4; ++row) {
    std::size_t end = screen.find('\n', at);
    ASSERT_NE(end, std::string::npos);
    std::string_view line(screen.data() + at, end - at);
    at = end + 1;
    // Name, phone and QQ fill 10, 15 and 15 columns with a blank after
    // each, three blanks follow, then the two columns of 是 or 否.
    std::size_t phone = line.find_first_of("0123456789");
    ASSERT_NE(phone, std::string_view::npos) << line;
    EXPECT_EQ(columns(line.substr(0, phone)), 11u) << line;
    EXPECT_EQ(columns(line), 47u) << line;
  }
}

}  // namespace
