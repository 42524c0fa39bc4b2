// The student-record programs driven as a user runs them, with what they print
// and the files they leave compared byte for byte.
#include <sys/resource.h>
#include <unistd.h>

#include <cmath>
#include <csignal>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grades/tests/record_image.h"
#include "tests/support/program_runner.h"

namespace {
using namespace std::string_literals;
using grades_tests::image;
using testing_support::Outcome;
using testing_support::run;
using testing_support::run_in;
using testing_support::same_bytes;
using testing_support::ScratchFolder;
using testing_support::Session;
using Files = std::map<std::string, std::string>;

Session session(std::string input, Files files = {}, std::vector<std::string> folders = {}) {
  Session s;
  s.input = std::move(input);
  s.files = std::move(files);
  s.folders = std::move(folders);
  return s;
}

// A file the program can open but never write to, on a disk that is full
// for it: no file may grow (and the program must not end by the signal for
// that).
Outcome run_on_full_disk(const char8_t* program, const char* file, const std::string& input) {
  ScratchFolder folder;
  Session full = session(input);
  folder.write(file, "");
  full.in_child = [] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{0, 0};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  };
  return run_in(folder.path(), program, full);
}

const std::string kPrompts =
    "请输入第1个同学的学号、姓名、三门课的成绩：请输入第2个同学的学号、姓名、三门课的成绩："
    "请输入第3个同学的学号、姓名、三门课的成绩：";

TEST(grade_entry, WritesThreeRecordsWithSinglePrecisionTotalsOverAnyOldFile) {
  const std::string expected = image("001", "张三", 85, 90.5f, 77, 252.5f) +
                               image("A7", "李四", 16777216, 1, 1, 16777216) +
                               image("003", "王", 100, 100, 100, 300);
  for (const std::string& input :
       {"001 张三 85 90.5 77\nA7 李四 16777216 1 1\n003 王 100 100 100\n"s,
        "001\n张三\n85\n90.5\n77\nA7 李四\n16777216\n1 1 003 王\n100 100 100"s}) {
    auto outcome = run(u8"录入", session(input, {{"stud_dat", std::string(500, 'x')}}));
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, kPrompts));
    EXPECT_TRUE(same_bytes(outcome.files["stud_dat"], expected));
    EXPECT_TRUE(same_bytes(outcome.files["stud_dat"].substr(40, 16),
                           "\x00\x00\xAA\x42\x00\x00\xB5\x42\x00\x00\x9A\x42\x00\x80\x7C\x43"s));
  }
}

TEST(grade_entry, CutsLongTextAtACharacterAndCountsBadOrMissingScoresAsZero) {
  auto outcome =
      run(u8"录入", "12345678901234567890123 一二三四五六七八九十 abc 5 6x\n002 李四 1 2");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, kPrompts));
  // "x" left over from "6x" is the next number, as typed input goes; 李四 a bad score.
  EXPECT_TRUE(same_bytes(outcome.files["stud_dat"],
                         image("1234567890123456789", "一二三四五六七八九", 0, 5, 6, 11) +
                             image("x", "002", 0, 1, 2, 3) + image("", "", 0, 0, 0, 0)));
}

TEST(grade_entry, ReportsAFileItCannotOpenOrWriteAndStillEndsWithStatusZero) {
  auto unopened = run(u8"录入", session("1 a 1 1 1", {}, {"stud_dat"}));
  EXPECT_TRUE(unopened.exited_cleanly());
  EXPECT_TRUE(same_bytes(unopened.out, "打不开！\n"));
  auto unwritten = run_on_full_disk(u8"录入", "stud_dat", "1 a 1 1 1");
  EXPECT_TRUE(unwritten.exited_cleanly());
  EXPECT_TRUE(same_bytes(unwritten.out, kPrompts + "写不进！\n"));
}

TEST(grade_entry, AnEntryInterruptedHalfWayLeavesTheOldRecordsAsTheyWere) {
  const std::string old = image("001", "张三", 85, 90.5f, 77, 252.5f) + std::string(112, '\0');
  Session interrupted = session("002 李四 60 70 80\n", {{"stud_dat", old}});
  interrupted.close_input = false;  // the user leaves at the second prompt
  interrupted.time_limit_ms = 500;
  auto outcome = run(u8"录入", interrupted);
  EXPECT_TRUE(outcome.timed_out);
  EXPECT_EQ(outcome.files, (Files{{"stud_dat", old}}));
}

TEST(grade_sort, OrdersByTotalHighestFirstKeepingTiesAndNeverMovingANaN) {
  const float nan = std::nanf("");
  struct Case {
    std::vector<float> totals;
    std::vector<int> order;
  };
  for (const Case& c : std::vector<Case>{{{200, 250, 225}, {1, 2, 0}},
                                         {{240, 260, 240}, {1, 0, 2}},
                                         {{7, 7, 7}, {0, 1, 2}},
                                         {{3, 2, 1}, {0, 1, 2}},
                                         {{1, 2, 3}, {2, 1, 0}},
                                         {{nan, 10, 20}, {0, 2, 1}},
                                         {{10, nan, 20}, {0, 1, 2}}}) {
    std::vector<std::string> records;
    for (int k = 0; k < 3; ++k) {
      records.push_back(image(std::to_string(k).c_str(), "", 0, 0, 0, c.totals[k]));
    }
    auto outcome = run(u8"排序", session("", {{"stud_dat", records[0] + records[1] + records[2]},
                                              {"stud_sort", "old"}}));
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_EQ(outcome.out, "");
    EXPECT_TRUE(same_bytes(outcome.files["stud_sort"],
                           records[c.order[0]] + records[c.order[1]] + records[c.order[2]]))
        << c.totals[0] << " " << c.totals[1] << " " << c.totals[2];
  }
}

TEST(grade_sort, ReadsAShortFileAsZerosAndReportsEachFileItCannotOpen) {
  const std::string first = image("1", "", 0, 0, 0, -5);
  auto short_file = run(u8"排序", session("", {{"stud_dat", first + "2\0abcdefgh"s}}));
  EXPECT_TRUE(short_file.exited_cleanly());
  EXPECT_TRUE(same_bytes(short_file.files["stud_sort"],
                         "2\0abcdefgh"s + std::string(46 + 56, '\0') + first));

  auto no_input = run(u8"排序", session("", {{"stud_sort", "kept"}}));
  EXPECT_TRUE(no_input.exited_cleanly());
  EXPECT_TRUE(same_bytes(no_input.out, "打不开1！\n"));
  EXPECT_EQ(no_input.files["stud_sort"], "kept");
  auto no_output = run(u8"排序", session("", {{"stud_dat", first}}, {"stud_sort"}));
  EXPECT_TRUE(no_output.exited_cleanly());
  EXPECT_TRUE(same_bytes(no_output.out, "打不开2！\n"));
}

const std::string kHeader = "学号       姓名         1          2          3         总分\n";

TEST(grade_report, PrintsOneRowPerRecordInFileOrderAndEmptyRowsForAShortFile) {
  const std::string zeros = " 0.00       0.00       0.00       0.00      \n";
  const std::string file = image("001", "张三", 85, 90.5f, 77, 252.5f) +
                           image("0123456789AB", "一二三四五六七八九", 89.996f, 100, -1.005f, 1) +
                           std::string(20, 'N') + std::string(20, 'M') + std::string(16, '\0');
  for (const auto& [content, rows] : std::vector<std::pair<std::string, std::string>>{
           {file,
            "001        张三       85.00      90.50      77.00      252.50    \n"
            "0123456789AB 一二三四五六七八九 90.00      100.00     -1.00      1.00      \n" +
                std::string(20, 'N') + " " + std::string(20, 'M') + zeros},
           {"", std::string(21, ' ') + zeros + std::string(21, ' ') + zeros + std::string(21, ' ') +
                    zeros}}) {
    auto outcome = run(u8"打开", session("", {{"stud_sort", content}}));
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, kHeader + rows));
  }
  auto missing = run(u8"打开", "");
  EXPECT_TRUE(missing.exited_cleanly());
  EXPECT_TRUE(same_bytes(missing.out, "打不开！\n"));
}

TEST(GradePipeline, RanksTypedGradesFromEntryToReport) {
  ScratchFolder folder;
  auto entry =
      run_in(folder.path(), u8"录入", session("01 甲 60 70 80\n02 乙 90 90 90\n03 丙 70 70 70\n"));
  auto sort = run_in(folder.path(), u8"排序", session(""));
  auto report = run_in(folder.path(), u8"打开", session(""));
  EXPECT_TRUE(entry.exited_cleanly() && sort.exited_cleanly() && report.exited_cleanly());
  EXPECT_EQ(folder.read("stud_sort").size(), 168u);
  EXPECT_TRUE(same_bytes(
      report.out, kHeader + "02         乙         90.00      90.00      90.00      270.00    \n"
                            "01         甲         60.00      70.00      80.00      210.00    \n"
                            "03         丙         70.00      70.00      70.00      210.00    \n"));
}

struct Dialogue {
  std::string input;
  std::string output;  // everything after the fixed prompts
};

TEST(averages, PrintsAveragesThenBestAndWorstWithTheEarlierStudentWinningTies) {
  for (const Dialogue& d : std::vector<Dialogue>{
           {"001 80 90 85\n002 60 70 65\n",
            "学号：001      平均分：85.000000\n学号：002      平均分：65.000000\n"
            "巨佬：001 85.000000\n卖弱：002 65.000000\n"},
           {"1 90 85 80 2\n100\n100\n99",
            "学号：1      平均分：85.000000\n学号：2      平均分：99.666667\n"
            "巨佬：2 99.666667\n卖弱：1 85.000000\n"},
           {"a 90 90 90 b 80 100 90",
            "学号：a      平均分：90.000000\n学号：b      平均分：90.000000\n"
            "巨佬：a 90.000000\n卖弱：a 90.000000\n"},
           // No average below the starting lowest: no worst number is recorded.
           {"x 100000 100000 100000 y 200000 200000 200000",
            "学号：x      平均分：100000.000000\n学号：y      平均分：200000.000000\n"
            "巨佬：y 200000.000000\n卖弱： 100000.000000\n"},
           // A long number is cut to its field; bad or missing scores count as 0.
           {"12345678901234567890123 abc 90 90\n002",
            "学号：1234567890123456789      平均分：60.000000\n学号：002      平均分：0.000000\n"
            "巨佬：1234567890123456789 60.000000\n卖弱：002 0.000000\n"},
       }) {
    auto outcome = run(u8"平均分", d.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << d.input;
    EXPECT_TRUE(same_bytes(
        outcome.out,
        "请依次键入同学的学号、三门课成绩，四项间用空格隔开。\n同学1：同学2：" + d.output))
        << d.input;
  }
}

TEST(score_list, ListsTenStudentsByScoreHighestFirstKeepingTheOrderOfTies) {
  std::string prompts = "请输入10个同学的成绩，姓名与成绩用空格隔开：\n";
  std::string never_typed;  // the last seven students: empty name, 0
  for (int k = 1; k <= 10; ++k)
    prompts += "第" + std::to_string(k) + "位同学：";
  for (int k = 0; k < 7; ++k)
    never_typed += " 0分\n";
  const std::string long_name = "一二三四五六七八九十一二三四五六七八九十一二三四五";
  for (const Dialogue& d : std::vector<Dialogue>{
           {"a 70 b 95 c 80 d 95 e 10 f 20 g 30 h 40 i 50 j 60",
            "b 95分\nd 95分\nc 80分\na 70分\nj 60分\ni 50分\nh 40分\ng 30分\nf 20分\ne 10分\n"},
           {"a 1\nb 2\nc 3\nd 4\ne 5\nf 6\ng 7\nh 8\ni 9\nj 10\n",
            "j 10分\ni 9分\nh 8分\ng 7分\nf 6分\ne 5分\nd 4分\nc 3分\nb 2分\na 1分\n"},
           {"张三 0 李四 -5 c -12 d 0 e -5 f 3 g 2 h 1 i -1 j -2",
            "f 3分\ng 2分\nh 1分\n张三 0分\nd 0分\ni -1分\nj -2分\n李四 -5分\ne -5分\nc -12分\n"},
           // A long name is cut at a character; bad or missing scores count as 0.
           {long_name + " 5 x abc y 7",
            "y 7分\n" + long_name.substr(0, 48) + " 5分\nx 0分\n" + never_typed},
       }) {
    auto outcome = run(u8"分数", d.input);
    EXPECT_TRUE(outcome.exited_cleanly()) << d.input;
    EXPECT_TRUE(same_bytes(outcome.out, prompts + d.output)) << d.input;
  }
}

TEST(text_file, WritesThePairsOverTheStartOfTestTxtAndPrintsWhatItReadsBack) {
  const std::string pairs = "张三 90\n李四 -5\nw 0\nx 1\ny 2\n";
  const std::string old_text = std::string(40, '#') + "\nold tail\n";
  const std::string cut = "一二三四五六七 1\nabcdefghijklmn 2\nc 0\ne 4\nf 5\n";
  struct Case {
    std::string input, before, after, out;
  };
  for (const Case& c : std::vector<Case>{
           {"张三 90 李四 -5 w 0 x 1 y 2", "", pairs, pairs},
           {"张三\n90\n李四\n-5\nw\n0\nx\n1\ny\n2\n", old_text,
            pairs + old_text.substr(pairs.size()), pairs},
           // Names cut to 14 bytes at a character; a bad integer counts as 0.
           {"一二三四五六七八 1 abcdefghijklmnop 2 c d e 4 f 5", "", cut, cut},
           // Input ending early: empty names and zeros, read back as the file has them.
           {"a 1", "", "a 1\n 0\n 0\n 0\n 0\n", "a 1\n0 0\n0 0\n 0\n 0\n"},
       }) {
    auto outcome = run(u8"读写", session(c.input, {{"test.txt", c.before}}));
    EXPECT_TRUE(outcome.exited_cleanly()) << c.input;
    EXPECT_TRUE(same_bytes(outcome.files["test.txt"], c.after)) << c.input;
    EXPECT_TRUE(same_bytes(outcome.out, c.out)) << c.input;
  }
}

TEST(text_file, ReportsAFileItCannotOpenOrWriteWithoutCreatingOne) {
  auto missing = run(u8"读写", "a 1 b 2 c 3 d 4 e 5");
  EXPECT_TRUE(missing.exited_cleanly());
  EXPECT_TRUE(same_bytes(missing.out, "打不开！\n"));
  EXPECT_TRUE(missing.files.empty());
  auto unwritten = run_on_full_disk(u8"读写", "test.txt", "a 1 b 2 c 3 d 4 e 5");
  EXPECT_TRUE(unwritten.exited_cleanly());
  EXPECT_TRUE(same_bytes(unwritten.out, "写不进！\n"));
}

}  // namespace
