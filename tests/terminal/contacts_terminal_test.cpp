// The contact book on a UTF-8 terminal: a Chinese name typed there is kept
// and saved as GBK, and the browse table lines up on screen.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/contact_book.h"
#include "tests/terminal/terminal.h"

namespace {
using terminal_tests::Dialogue;
using terminal_tests::expect_dialogue;
using terminal_tests::Text;
using testing_support::same_bytes;

const Text kMenu = BOTH(CONTACT_BOOK_MENU);
const Text kAdded = BOTH(CONTACT_BOOK_CAPTION "\n              >>>" CONTACT_BOOK_ADDED);
const Text kHeader = BOTH(CONTACT_BOOK_TABLE);
const Text kSaved = BOTH(CONTACT_BOOK_SAVED);
const Text kExit = BOTH(CONTACT_BOOK_EXIT_QUESTION CONTACT_BOOK_FAREWELL);

const std::string& kBook = contact_book::kOneContactBook;

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
