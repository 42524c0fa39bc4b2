// The reading helpers, fed from files: fields cut at a character boundary,
// and numbers read alike on every C library.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "input/read.h"
#include "tests/support/program_runner.h"

namespace {
using testing_support::ScratchFolder;

// A stream over a file holding `content`.
struct Fed {
  explicit Fed(const std::string& content) {
    folder.write("in", content);
    file = std::fopen((folder.path() / "in").c_str(), "rb");
    EXPECT_NE(file, nullptr);
  }
  ~Fed() {
    if (file != nullptr) std::fclose(file);
  }
  std::string rest() {
    std::string all;
    for (int c; (c = std::getc(file)) != EOF;)
      all += static_cast<char>(c);
    return all;
  }
  ScratchFolder folder;
  std::FILE* file = nullptr;
};

TEST(ReadField, CutAtACharacterBoundaryAndAtANulByteTheRestOfTheTokenConsumed) {
  using namespace std::string_literals;
  struct Case {
    std::string input;
    std::string field;  // all six bytes
    bool whole;
  } cases[] = {
      {"ab next", "ab\0\0\0\0"s, true},
      {"abcde next", "abcde\0"s, true},
      {"abcdefgh next", "abcde\0"s, false},
      // The fifth byte begins a character that the width splits: left out.
      {"abcd\xD5\xC5 next", "abcd\0\0"s, false},
      {"ab\xD5\xC5\xC8\xFD next", "ab\xD5\xC5\0\0"s, false},
      // A lead byte without its trail byte stands alone and is kept.
      {"abcd\x81! next", "abcd\x81\0"s, false},
      {"abcd\x81 next", "abcd\x81\0"s, true},
      {"ab\0cdefgh next"s, "ab\0\0\0\0"s, true},
      {"abcde\0fg next"s, "abcde\0"s, true},
  };
  for (const Case& c : cases) {
    Fed fed(c.input);
    char field[6];
    std::memset(field, 'Z', sizeof field);
    ASSERT_EQ(std::fscanf(fed.file, "%5s", field), 1);
    EXPECT_EQ(input::end_field(fed.file, field, sizeof field), c.whole)
        << testing_support::visible(c.input);
    EXPECT_EQ(std::string(field, sizeof field), c.field) << testing_support::visible(c.input);
    EXPECT_EQ(fed.rest(), " next") << testing_support::visible(c.input);
  }
}

// The same on every C library: what a number read gives, and what it leaves
// for the next read.
TEST(ScanNumber, PrefixesOutOfRangeAndLookalikesReadAlike) {
  struct IntCase {
    std::string input;
    int got, value;
    std::string rest;
  } ints[] = {
      {"  \n 42 x", 1, 42, " x"},
      {"-17", 1, -17, ""},
      {"+0005;", 1, 5, ";"},
      {"12abc", 1, 12, "abc"},
      {"2147483647 ", 1, 2147483647, " "},
      {"-2147483648 ", 1, -2147483647 - 1, " "},
      {"2147483648 x", 0, 0, " x"},
      {"99999999999abc", 0, 0, "abc"},
      {"-" + std::string(400, '7') + " x", 0, 0, " x"},
      {"abc x", 0, 0, " x"},
      {"--5 x", 0, 0, " x"},
      {"+x x", 0, 0, " x"},
      {"- x", 0, 0, " x"},
      {"", EOF, 9, ""},
      {" \n\t", EOF, 9, ""},
  };
  for (const IntCase& c : ints) {
    Fed fed(c.input);
    int value = 9;
    EXPECT_EQ(input::scan_number(fed.file, value), c.got) << c.input;
    EXPECT_EQ(value, c.value) << c.input;
    EXPECT_EQ(fed.rest(), c.rest) << c.input;
  }
  struct RealCase {
    std::string input;
    int got;
    double value;
    std::string rest;
  } reals[] = {
      {"10.5 x", 1, 10.5, " x"},
      {"-.25", 1, -0.25, ""},
      {"7.", 1, 7.0, ""},
      {"1e3x", 1, 1000.0, "x"},
      {"1e x", 1, 1.0, " x"},
      {"1E+ x", 1, 1.0, " x"},
      {"1e999", 1, INFINITY, ""},
      {"-inf x", 1, -INFINITY, " x"},
      {"Infinity", 1, INFINITY, ""},
      {"0x1F", 1, 0.0, "x1F"},
      {". x", 0, 0.0, " x"},
      {"-. x", 0, 0.0, " x"},
      {"info x", 0, 0.0, " x"},
      {"abc", 0, 0.0, ""},
      {"  ", EOF, 9.0, ""},
  };
  for (const RealCase& c : reals) {
    Fed fed(c.input);
    double value = 9;
    EXPECT_EQ(input::scan_number(fed.file, value), c.got) << c.input;
    EXPECT_EQ(value, c.value) << c.input;
    EXPECT_EQ(fed.rest(), c.rest) << c.input;
  }
  Fed nan("nan -NaN 0.1");
  double d = 0;
  float f = 0;
  EXPECT_EQ(input::scan_number(nan.file, d), 1);
  EXPECT_TRUE(std::isnan(d));
  EXPECT_EQ(input::scan_number(nan.file, d), 1);
  EXPECT_TRUE(std::isnan(d) && std::signbit(d));
  // A float is converted as a float, never rounded twice.
  EXPECT_EQ(input::scan_number(nan.file, f), 1);
  EXPECT_EQ(f, 0.1f);
}

TEST(ScanNumber, ALeadingNumberLeavesATokenWithoutOneUnread) {
  struct Case {
    std::string input;
    int got, value;
    std::string rest;
  } cases[] = {
      {"1 Bob", 1, 1, " Bob"}, {"12abc", 1, 12, "abc"}, {"Bob 139", 0, 0, "Bob 139"},
      {"-Bob", 0, 0, "-Bob"},  {"+ 1", 0, 0, "+ 1"},    {"99999999999 Bob", 0, 0, " Bob"},
      {"\n-3\n", 1, -3, "\n"},
  };
  for (const Case& c : cases) {
    Fed fed(c.input);
    int value = 9;
    EXPECT_EQ(input::scan_leading_number(fed.file, value), c.got) << c.input;
    EXPECT_EQ(value, c.value) << c.input;
    EXPECT_EQ(fed.rest(), c.rest) << c.input;
  }
}

}  // namespace
