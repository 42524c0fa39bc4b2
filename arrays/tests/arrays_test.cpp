// The array programs, driven as a user runs them.
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "matrix_model.h"
#include "tests/support/program_runner.h"

namespace {
using arrays_testing::Grid;
using testing_support::run;
using testing_support::same_bytes;
using testing_support::Session;

std::vector<std::vector<int>> numbers_per_line(const std::string& text) {
  std::vector<std::vector<int>> lines(1);
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\n') {
      lines.emplace_back();
      ++i;
    } else if (text[i] >= '0' && text[i] <= '9') {
      std::size_t used = 0;
      lines.back().push_back(std::stoi(text.substr(i), &used));
      i += used;
    } else {
      ++i;
    }
  }
  if (lines.back().empty()) lines.pop_back();
  return lines;
}

// Its bytes are in its dialogue (dialogues/魔方): here, that what it prints
// is a magic square of 1 to 121.
TEST(magic_square, PrintsASquareOfOrderElevenWithEveryLineSummingTo671) {
  auto outcome = run(u8"魔方", "");
  EXPECT_TRUE(outcome.exited_cleanly());
  auto square = numbers_per_line(outcome.out);
  ASSERT_EQ(square.size(), 11u);
  std::vector<bool> seen(122);
  int diagonal = 0, anti_diagonal = 0;
  for (int r = 0; r < 11; ++r) {
    ASSERT_EQ(square[r].size(), 11u);
    int row_sum = 0, column_sum = 0;
    for (int c = 0; c < 11; ++c) {
      row_sum += square[r][c];
      column_sum += square[c][r];
      seen[square[r][c]] = true;
    }
    EXPECT_EQ(row_sum, 671) << "row " << r;
    EXPECT_EQ(column_sum, 671) << "column " << r;
    diagonal += square[r][r];
    anti_diagonal += square[r][10 - r];
  }
  EXPECT_EQ(diagonal, 671);
  EXPECT_EQ(anti_diagonal, 671);
  EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), true), 121);
}

std::string printed(const Grid& g) {
  std::string text;
  char field[8];
  for (const auto& row : g.cells) {
    for (int v : row) {
      std::snprintf(field, sizeof field, "%-4.d", v);
      text += field;
    }
    text += '\n';
  }
  return text;
}

// The first matrix is random: read it back from the printout (a blank field
// is a 0) and work out what the second printout must be.
TEST(matrix, PrintsARandomMatrixThenItsRearrangementUnderTheHeading) {
  auto outcome = run(u8"矩阵", "");
  ASSERT_TRUE(outcome.exited_cleanly());
  ASSERT_GE(outcome.out.size(), 5u * 21u);
  Grid first{};
  for (int r = 0; r < 5; ++r) {
    for (int c = 0; c < 5; ++c) {
      std::string field = outcome.out.substr(r * 21 + c * 4, 4);
      if (field.find_first_not_of(' ') == std::string::npos) continue;
      first.cells[r][c] = std::stoi(field);
      ASSERT_GE(first.cells[r][c], 1);
      ASSERT_LE(first.cells[r][c], 99);
    }
  }
  EXPECT_TRUE(same_bytes(outcome.out, printed(first) + "转换后的矩阵：\n" +
                                          printed(arrays_testing::rearranged(first))));
}

// What 删除 prints before it reads the position, for n values read at once.
std::string asked(int n) {
  std::string text = "您要输入多少个数字(小于20)：";
  for (int i = 1; i <= n; ++i)
    text += "请输入第" + std::to_string(i) + "个数字:";
  return text + "您要删除第几个数字:";
}

const std::string kBad = "输入无效，请重新输入。\n";

struct Dialogue {
  const char* what;
  std::string input;
  std::string output;
};

TEST(deletion, RemovesTheChosenValueAndPrintsOneLineFewer) {
  const Dialogue dialogues[] = {
      {"a middle position", "4\n1.5\n-2.25\n3\n1e3\n2\n",
       asked(4) + "a[1]=1.500000\na[2]=3.000000\na[3]=1000.000000\n"},
      {"the first position", "3 10 20 30 1", asked(3) + "a[1]=20.000000\na[2]=30.000000\n"},
      {"the last position", "3 10 20 30 3", asked(3) + "a[1]=10.000000\na[2]=20.000000\n"},
      {"a position past the end moves nothing", "3 10 20 30 4",
       asked(3) + "a[1]=10.000000\na[2]=20.000000\n"},
      {"position 0 deletes nothing", "3 10 20 30 0", asked(3) + "a[1]=10.000000\na[2]=20.000000\n"},
      {"a negative position deletes nothing", "3 10 20 30 -5",
       asked(3) + "a[1]=10.000000\na[2]=20.000000\n"},
      {"one value deleted leaves nothing", "1 7 1", asked(1)},
      {"a count of 0 reads no values", "0 1", asked(0)},
      {"a negative count reads no values", "-3 1", asked(0)},
  };
  for (const Dialogue& d : dialogues) {
    auto outcome = run(u8"删除", d.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << d.what;
    EXPECT_TRUE(same_bytes(outcome.out, d.output)) << d.what;
  }
}

TEST(deletion, NineteenValuesFitAndTheLastCanBeDeleted) {
  std::string input = "19";
  std::string output = asked(19);
  for (int i = 1; i <= 19; ++i)
    input.append(" ").append(std::to_string(i));
  char line[32];
  for (int i = 1; i <= 18; ++i) {
    std::snprintf(line, sizeof line, "a[%d]=%d.000000\n", i, i);
    output += line;
  }
  auto outcome = run(u8"删除", input + " 19");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, output));
}

TEST(deletion, RefusesTooManyValuesAndTokensThatAreNotNumbersThenAsksAgain) {
  const std::string count = "您要输入多少个数字(小于20)：";
  const Dialogue dialogues[] = {
      {"a count of 20 or more", "20\n99999\n1 5 1\n",
       count + "最多只能输入19个数字，请重新输入。\n" + count +
           "最多只能输入19个数字，请重新输入。\n" + asked(1)},
      {"a count out of the integer range", "99999999999\n0 1\n", count + kBad + asked(0)},
      {"a count that is not a number", "abc\n2 1 2 1\n",
       count + kBad + asked(2) + "a[1]=2.000000\n"},
      {"a value that is not a number is asked again", "2\n1\nx\n2\n2\n",
       count + "请输入第1个数字:请输入第2个数字:" + kBad +
           "请输入第2个数字:您要删除第几个数字:a[1]=1.000000\n"},
      {"the rest of a token after its number is read next", "2\n5abc\n6\n1\n",
       count + "请输入第1个数字:请输入第2个数字:" + kBad +
           "请输入第2个数字:您要删除第几个数字:a[1]=6.000000\n"},
      {"a position that is not a number", "2 1 2\n第一\n1\n",
       asked(2) + kBad + "您要删除第几个数字:a[1]=2.000000\n"},
  };
  for (const Dialogue& d : dialogues) {
    auto outcome = run(u8"删除", d.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << d.what;
    EXPECT_TRUE(same_bytes(outcome.out, d.output)) << d.what;
  }
}

TEST(deletion, EndOfInputEndsTheProgramQuietlyAtEveryQuestion) {
  const Dialogue dialogues[] = {
      {"before the count", "", "您要输入多少个数字(小于20)："},
      {"among the values", "3 1 2",
       "您要输入多少个数字(小于20)：请输入第1个数字:请输入第2个数字:请输入第3个数字:"},
      {"before the position", "2 1 2", asked(2)},
      {"after a refused count", "25",
       "您要输入多少个数字(小于20)：最多只能输入19个数字，请重新输入。\n"
       "您要输入多少个数字(小于20)："},
  };
  for (const Dialogue& d : dialogues) {
    auto outcome = run(u8"删除", d.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << d.what;
    EXPECT_TRUE(same_bytes(outcome.out, d.output)) << d.what;
  }
}

}  // namespace
