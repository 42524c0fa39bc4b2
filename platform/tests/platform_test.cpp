// The careful reader and the GBK field helpers, fed from files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/gbk.h"
#include "platform/input.h"
#include "tests/support/program_runner.h"

namespace {
using platform::Got;
using platform::Reader;
using testing_support::ScratchFolder;

// A reader over a file holding `content`.
struct Fed {
  explicit Fed(const std::string& content)
      : folder(),
        written((folder.write("in", content), true)),
        reader((folder.path() / "in").c_str()) {
    EXPECT_TRUE(reader.opened());
  }
  ScratchFolder folder;
  bool written;
  Reader reader;
};

TEST(Reader, NumbersSkipWhiteSpaceAcrossLinesAndStopAtEnd) {
  Fed fed(" 12\n\n\t-7 +3\r\n");
  int a = 0, b = 0, c = 0, d = 99;
  EXPECT_EQ(fed.reader.read_int(a), Got::value);
  EXPECT_EQ(fed.reader.read_int(b), Got::value);
  EXPECT_EQ(fed.reader.read_int(c), Got::value);
  EXPECT_EQ(fed.reader.read_int(d), Got::end);
  EXPECT_EQ(a, 12);
  EXPECT_EQ(b, -7);
  EXPECT_EQ(c, 3);
  EXPECT_EQ(d, 99);  // untouched at end of input
}

TEST(Reader, TokenWithoutNumberIsConsumedWholeAndReportedBad) {
  for (const std::string bad : {"abc", "--5", "-", "+x", "\xD6\xD0"}) {
    Fed fed(bad + " 42");
    int v = 0;
    EXPECT_EQ(fed.reader.read_int(v), Got::bad) << bad;
    EXPECT_EQ(fed.reader.read_int(v), Got::value) << bad;
    EXPECT_EQ(v, 42) << bad;
  }
}

TEST(Reader, NumericPrefixIsTakenAndTheRestOfTheTokenLeftForTheNextRead) {
  Fed fed("12abc 0x1F 1e999");
  int v = 0;
  std::string token;
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 12);
  EXPECT_EQ(fed.reader.read_token(token), Got::value);
  EXPECT_EQ(token, "abc");
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 0);
  EXPECT_EQ(fed.reader.read_token(token), Got::value);
  EXPECT_EQ(token, "x1F");
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 1);
  EXPECT_EQ(fed.reader.read_int(v), Got::bad);  // e999
  EXPECT_EQ(fed.reader.read_int(v), Got::end);
}

TEST(Reader, IntegersOutsideTheIntRangeAreBadButTheLimitsAreRead) {
  Fed fed("2147483647 -2147483648 2147483648 -99999999999999999999 5");
  int v = 0;
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 2147483647);
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, -2147483647 - 1);
  EXPECT_EQ(fed.reader.read_int(v), Got::bad);
  EXPECT_EQ(fed.reader.read_int(v), Got::bad);
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 5);
}

TEST(Reader, FloatingPointReadsMatchTheLibraryConversions) {
  Fed fed("10.5 -0.25 1e999 .5x 0.1");
  double d = 0;
  float f = 0;
  EXPECT_EQ(fed.reader.read_double(d), Got::value);
  EXPECT_EQ(d, 10.5);
  EXPECT_EQ(fed.reader.read_double(d), Got::value);
  EXPECT_EQ(d, -0.25);
  EXPECT_EQ(fed.reader.read_double(d), Got::value);
  EXPECT_TRUE(std::isinf(d));
  EXPECT_EQ(fed.reader.read_double(d), Got::value);
  EXPECT_EQ(d, 0.5);
  EXPECT_EQ(fed.reader.read_double(d), Got::bad);  // x
  EXPECT_EQ(fed.reader.read_float(f), Got::value);
  EXPECT_EQ(f, 0.1f);
}

TEST(Reader, TokensOfAnyLengthAreReadWhole) {
  std::string huge(3 * 1024 * 1024 + 17, 'q');
  Fed fed("a " + huge + "\n张三");
  std::string token;
  EXPECT_EQ(fed.reader.read_token(token), Got::value);
  EXPECT_EQ(token, "a");
  EXPECT_EQ(fed.reader.read_token(token), Got::value);
  EXPECT_EQ(token, huge);
  EXPECT_EQ(fed.reader.read_token(token), Got::value);
  EXPECT_EQ(token, "张三");
  EXPECT_EQ(fed.reader.read_token(token), Got::end);
}

TEST(Reader, LinesKeepBlanksDropTheLineBreakAndCountALastUnfinishedLine) {
  std::string long_line(200000, 'x');
  Fed fed("  two  words \n\n" + long_line + "\nlast");
  std::vector<std::string> lines;
  platform::Buffer line;
  while (fed.reader.read_line(line))
    lines.emplace_back(line.view());
  EXPECT_EQ(lines, (std::vector<std::string>{"  two  words ", "", long_line, "last"}));
}

// A line longer than the reader's buffer is handed over instead of copied;
// what follows it must still be read exactly, and the buffer that receives
// it may have held anything before. A carriage return before a line break
// goes with it.
TEST(Reader, LongLinesLeaveTheRestOfTheInputIntact) {
  const std::string long_line = std::string(3 * 1024 * 1024 + 5, 'x') + "张";
  Fed fed("ab\r\n" + long_line + "\r\n42 tail\n" + long_line + "\n" + long_line);
  platform::Buffer line;
  line.assign("previous");
  EXPECT_TRUE(fed.reader.read_line(line));
  EXPECT_EQ(line.view(), "ab");
  EXPECT_TRUE(fed.reader.read_line(line));
  EXPECT_TRUE(line.view() == long_line) << line.size();
  EXPECT_EQ(line.data()[line.size()], '\0');
  int v = 0;
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 42);
  EXPECT_TRUE(fed.reader.read_line(line));
  EXPECT_EQ(line.view(), " tail");
  for (int i = 0; i < 2; ++i) {  // the second one ends the input unfinished
    platform::Buffer fresh;
    EXPECT_TRUE(fed.reader.read_line(fresh));
    EXPECT_TRUE(fresh.view() == long_line) << i << ": " << fresh.size();
  }
  EXPECT_FALSE(fed.reader.read_line(line));
}

TEST(Reader, EmptyInputHasNoLineAndNoToken) {
  Fed fed("");
  platform::Buffer line;
  std::string s;
  int v = 0;
  EXPECT_FALSE(fed.reader.read_line(line));
  EXPECT_EQ(fed.reader.read_token(s), Got::end);
  EXPECT_EQ(fed.reader.read_int(v), Got::end);
}

TEST(Reader, RewindReadsTheFileAgainFromItsStart) {
  Fed fed("7 8");
  int v = 0;
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_TRUE(fed.reader.rewind());
  EXPECT_EQ(fed.reader.read_int(v), Got::value);
  EXPECT_EQ(v, 7);
}

TEST(Reader, OnlyRegularFilesOpenAndNoneWaitsForAWriter) {
  ScratchFolder folder;
  const std::string pipe = (folder.path() / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& name : {folder.path().string(), (folder.path() / "missing").string(),
                                  pipe, std::string("/dev/null")}) {
    EXPECT_FALSE(Reader(name.c_str()).opened()) << name;
  }
}

TEST(Reader, AReadErrorIsAFailureNotTheEndOfTheFile) {
  ScratchFolder folder;
  int not_a_file = ::open(folder.path().c_str(), O_RDONLY);  // reading a folder fails
  Reader reader(not_a_file);
  std::string token;
  EXPECT_EQ(reader.read_token(token), Got::end);
  EXPECT_TRUE(reader.failed());
  ::close(not_a_file);
  Fed fed("");
  EXPECT_EQ(fed.reader.read_token(token), Got::end);
  EXPECT_FALSE(fed.reader.failed());
}

TEST(Reader, FieldsStopAtANulByteAndNumbersThatAreNoneCountAsZero) {
  Fed fed(std::string("ab\0cd", 5) + " 张三李 x 5");
  char field[6];
  ASSERT_TRUE(platform::read_field(field, sizeof field, fed.reader));
  EXPECT_EQ(std::string(field, sizeof field), std::string("ab\0\0\0\0", 6));
  ASSERT_TRUE(platform::read_field(field, sizeof field, fed.reader));
  EXPECT_EQ(std::string(field, sizeof field), std::string("张三\0\0", 6));
  int v = 9;
  EXPECT_TRUE(platform::read_number(v, fed.reader));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(platform::read_number(v, fed.reader));
  EXPECT_EQ(v, 5);
  EXPECT_FALSE(platform::read_number(v, fed.reader));
  EXPECT_FALSE(platform::read_field(field, sizeof field, fed.reader));
  EXPECT_EQ(v, 5);
}

TEST(Gbk, CutNeverSplitsATwoByteCharacter) {
  struct Case {
    std::string text;
    std::size_t max;
    std::size_t expected;
  };
  // A character that would straddle the limit is left out whole; 0xFF never
  // starts a character; a lone lead byte at the end counts as one byte.
  const std::vector<Case> cases = {
      {"abcdef", 4, 4},     {"ab\xD5\xC5", 3, 2},
      {"ab\xD5\xC5", 4, 4}, {"\xD5\xC5\xC8\xFD\xC0\xEE", 5, 4},
      {"a\xFF", 2, 2},      {"ab\x81", 3, 3},
      {"", 14, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::gbk_prefix_length(c.text, c.max), c.expected)
        << testing_support::visible(c.text) << " max " << c.max;
  }
}

TEST(Gbk, CopyFieldTerminatesAndZeroFills) {
  char field[6];
  std::memset(field, 'Z', sizeof field);
  platform::copy_field(field, sizeof field, "ab\xD5\xC5\xC8\xFD");
  EXPECT_EQ(std::string(field, sizeof field), std::string("ab\xD5\xC5\0\0", 6));
}

}  // namespace
