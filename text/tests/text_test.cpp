// The text programs, driven as a user runs them.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
using namespace std::string_literals;
using testing_support::run;
using testing_support::same_bytes;

// What is typed and what the program writes after its prompt.
struct Case {
  const char* what;
  std::string input;
  std::string reply;
};

void expect_replies(const char8_t* program, const std::string& prompt,
                    const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto outcome = run(program, c.input);
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, prompt + c.reply));
  }
}

// The exercises' own cases are in their dialogues (dialogues/标识符 and so
// on); here, the rest: edges, input that is typed otherwise, long lines.

// --- 标识符 ---

const std::string kIdentifierPrompt = "请输入一个标识符：";

TEST(identifier, EchoesValidIdentifiersUpToThirtyTwoBytes) {
  expect_replies(u8"标识符", kIdentifierPrompt,
                 {
                     {"letters, digits and underscores", "Abc_09z\n", "Abc_09z\n"},
                     {"a lone letter", "x\n", "x\n"},
                     {"a lone underscore", "_\n", "_\n"},
                     {"underscore first", "_a1\n", "_a1\n"},
                     {"last line without a line break", "abc", "abc\n"},
                     {"a line typed with CR LF", "abc\r\n", "abc\n"},
                     {"only the first line is judged", "abc\n1x y\n", "abc\n"},
                 });
}

TEST(identifier, RejectsEveryLineOverThirtyTwoBytesBeforeLookingAtIt) {
  expect_replies(
      u8"标识符", kIdentifierPrompt,
      {
          {"33 bytes starting with a digit", "1" + std::string(32, ' ') + "\n", "太长了!"},
          {"a letter and 16 Chinese characters", "a中文中文中文中文中文中文中文中文\n", "太长了!"},
          {"a line of a megabyte", std::string(1 << 20, 'a') + "\n", "太长了!"},
      });
}

TEST(identifier, RejectsABadFirstCharacterBeforeTheRest) {
  expect_replies(
      u8"标识符", kIdentifierPrompt,
      {
          {"the empty line", "\n", "第一个字符非法!"},
          {"a digit first", "1abc\n", "第一个字符非法!"},
          {"a digit first and a blank later", "1a b\n", "第一个字符非法!"},
          {"a blank first", " abc\n", "第一个字符非法!"},
          {"a Chinese character first", "中a\n", "第一个字符非法!"},
          {"32 bytes of Chinese", "中文中文中文中文中文中文中文中文\n", "第一个字符非法!"},
      });
}

TEST(identifier, RejectsAnyOtherByteAfterTheFirst) {
  expect_replies(u8"标识符", kIdentifierPrompt,
                 {
                     {"a blank inside", "ab c\n", "出现非法字符!"},
                     {"a blank at the end", "ab \n", "出现非法字符!"},
                     {"a tab inside", "a\tb\n", "出现非法字符!"},
                     {"a Chinese character", "a中\n", "出现非法字符!"},
                     {"a zero byte", "ab\0c\n"s, "出现非法字符!"},
                     {"a lone CR inside", "a\rb\n", "出现非法字符!"},
                 });
}

TEST(identifier, EndOfInputAtThePromptEndsQuietly) {
  expect_replies(u8"标识符", kIdentifierPrompt, {{"nothing typed", "", ""}});
}

// --- 统计 ---

const std::string kCountPrompt = "请输入一个字符串:";

std::string counts(long long letters, long long blanks, long long digits, long long others) {
  return "共有英文字母" + std::to_string(letters) + "个，空格" + std::to_string(blanks) +
         "个，数字" + std::to_string(digits) + "个，其它字符" + std::to_string(others) + "个\n";
}

TEST(char_count, CountsEachByteInItsClass) {
  expect_replies(u8"统计", kCountPrompt,
                 {
                     {"punctuation is other", "_?\n", counts(0, 0, 0, 2)},
                     {"a mixed line", "Hello, World 2024!\n", counts(10, 2, 4, 2)},
                     {"letter edges", "AZaz@[`{\n", counts(4, 0, 0, 4)},
                     {"digit edges", "09/:\n", counts(0, 0, 2, 2)},
                     {"a zero byte is other", "a\0b\n"s, counts(2, 0, 0, 1)},
                     {"last line without a line break", "ab 1", counts(2, 1, 1, 0)},
                     {"a line typed with CR LF", "ab\r\n", counts(2, 0, 0, 0)},
                     {"only the first line", "a\nbcd\n", counts(1, 0, 0, 0)},
                 });
}

TEST(char_count, CountsBeyondTheRangeOfAByte) {
  std::string line = std::string(200, 'x') + std::string(128, ' ') + std::string(300, '7') +
                     std::string(255, '\x80');
  expect_replies(u8"统计", kCountPrompt,
                 {
                     {"hundreds of each", line + "\n", counts(200, 128, 300, 255)},
                 });
}

TEST(char_count, CountsALineOfSeveralMegabytes) {
  std::string line;
  for (int i = 0; i < 1 << 20; ++i)
    line += "a1 中";
  expect_replies(u8"统计", kCountPrompt,
                 {
                     {"four megabytes", line + "\n", counts(1 << 20, 1 << 20, 1 << 20, 2 << 20)},
                 });
}

TEST(char_count, EndOfInputAtThePromptEndsQuietly) {
  expect_replies(u8"统计", kCountPrompt, {{"nothing typed", "", ""}});
}

// --- 转换 ---

const std::string kDigitsPrompt = "请输入一个数字：";

TEST(digits, WritesTheDigitsWithoutALineBreak) {
  expect_replies(u8"转换", kDigitsPrompt,
                 {
                     {"one digit", "5\n", "5"},
                     {"trailing zeros", "1000\n", "1000"},
                     {"no line break after the number", "123", "123"},
                     {"blank lines before the number", "\n  \n 99\n", "99"},
                     {"the number part of a token", "12abc\n", "12"},
                 });
}

TEST(digits, WritesNegativeNumbersAsMinusAndTheirDigits) {
  expect_replies(u8"转换", kDigitsPrompt,
                 {
                     {"minus one digit", "-5\n", "-5"},
                     {"minus ten", "-10\n", "-10"},
                     {"minus zero", "-0\n", "0"},
                     {"the smallest int", "-2147483648\n", "-2147483648"},
                 });
}

TEST(digits, InputThatIsNoIntGetsNoDigits) {
  expect_replies(u8"转换", kDigitsPrompt,
                 {
                     {"nothing typed", "", ""},
                     {"only blanks", "  \n", ""},
                     {"a word", "abc\n", ""},
                     {"Chinese", "五\n", ""},
                     {"beyond the largest int", "2147483648\n", ""},
                     {"below the smallest int", "-2147483649\n", ""},
                 });
}

// --- 连接 ---

const std::string kFirstPrompt = "请输入第一个字符串：";
const std::string kSecondPrompt = "请输入第二个字符串：";

TEST(join, AppendsTheSecondLineToTheFirst) {
  expect_replies(u8"连接", kFirstPrompt + kSecondPrompt,
                 {
                     {"two words", "abc\ndef\n", "abcdef\n"},
                     {"empty second line", "abc\n\n", "abc\n"},
                     {"empty first line", "\ndef\n", "def\n"},
                     {"two empty lines", "\n\n", "\n"},
                     {"blank-edged lines", "ab \n cd\n", "ab  cd\n"},
                     {"Chinese byte for byte", "中文\n连接\n", "中文连接\n"},
                     {"second line without a line break", "abc\ndef", "abcdef\n"},
                     {"lines typed with CR LF", "ab\r\ncd\r\n", "abcd\n"},
                     {"a third line is not read", "a\nb\nc\n", "ab\n"},
                 });
}

TEST(join, JoinsLongLines) {
  std::string first(1 << 20, 'x');
  std::string second;
  for (int i = 0; i < 1 << 19; ++i)
    second += "连";
  expect_replies(u8"连接", kFirstPrompt + kSecondPrompt,
                 {
                     {"a megabyte each", first + "\n" + second + "\n", first + second + "\n"},
                     {"a long line after a short one", "a\n" + first + "\n", "a" + first + "\n"},
                     {"a short line after a long one", first + "\nb\n", first + "b\n"},
                 });
}

TEST(join, EndOfInputAtEitherPromptEndsQuietly) {
  expect_replies(u8"连接", kFirstPrompt, {{"nothing typed", "", ""}});
  expect_replies(u8"连接", kFirstPrompt + kSecondPrompt, {{"one line typed", "abc\n", ""}});
}

// --- the programs that read nothing ---

TEST(FixedOutputs, IsWrittenWithoutAFinalLineBreakWhateverIsTyped) {
  struct Fixed {
    const char8_t* program;
    std::string output;
  };
  const std::vector<Fixed> programs = {
      {u8"比较", "-1"},
      {u8"试验", "China"},
      {u8"good",
       "* * * * * * * * * * * * * * * * * * * * * *\n"
       "             Very Good!\n"
       "* * * * * * * * * * * * * * * * * * * * * *"},
  };
  for (const Fixed& f : programs) {
    for (const std::string input : {"", "abc\n"}) {
      auto outcome = run(f.program, input);
      EXPECT_TRUE(outcome.exited_cleanly());
      EXPECT_TRUE(same_bytes(outcome.out, f.output));
    }
  }
}

}  // namespace
