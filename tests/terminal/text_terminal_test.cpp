// The text programs on a UTF-8 terminal.
#include <gtest/gtest.h>

#include "tests/terminal/terminal.h"

namespace {
using terminal_tests::Dialogue;
using terminal_tests::expect_dialogue;

TEST(TextOnTerminal, ChineseTypedAndPrintedReadsAsUtf8AndStaysGbkOnPipes) {
  const Dialogue dialogues[] = {
      {u8"连接", BOTH("中文\n连接\n"), BOTH("请输入第一个字符串：请输入第二个字符串：中文连接\n")},
      // Two characters typed are four GBK bytes, counted as other characters.
      {u8"统计", BOTH("中 文\n"),
       BOTH("请输入一个字符串:共有英文字母0个，空格1个，数字0个，其它字符4个\n")},
      {u8"标识符", BOTH("a中\n"), BOTH("请输入一个标识符：出现非法字符!")},
      {u8"good", BOTH(""),
       BOTH("* * * * * * * * * * * * * * * * * * * * * *\n"
            "             Very Good!\n"
            "* * * * * * * * * * * * * * * * * * * * * *")},
  };
  for (const auto& d : dialogues) {
    SCOPED_TRACE(testing_support::utf8(d.program));
    expect_dialogue(d);
  }
}

}  // namespace
