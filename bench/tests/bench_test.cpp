// The benchmark inputs, the figures derived from the measurements, the
// runner's measuring of a whole process and the floor it is measured beside.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "bench/inputs.h"
#include "bench/report.h"
#include "tests/support/contact_book.h"
#include "tests/support/program_runner.h"

namespace {
using testing_support::ScratchFolder;

std::string read_all(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

bool all_digits(const std::string& text) {
  return text.find_first_not_of("0123456789") == std::string::npos;
}

// Bytes above 0x7F come in pairs, each a whole GBK character.
bool whole_characters(const std::string& text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (static_cast<unsigned char>(text[i]) < 0x80) continue;
    if (i + 1 >= text.size() || static_cast<unsigned char>(text[i + 1]) < 0xA1) return false;
    ++i;
  }
  return true;
}

TEST(ContactBook, LinesHaveTheSavedLayoutAndTheFrequentFileMatches) {
  ScratchFolder folder;
  ASSERT_TRUE(bench::write_contact_book(folder.path() / "book", folder.path() / "often", 2000,
                                        bench::kSeed));
  std::vector<std::string> book = lines_of(read_all(folder.path() / "book"));
  ASSERT_EQ(book.size(), 2000u);
  std::string expected_frequent;
  for (const std::string& line : book) {
    ASSERT_EQ(line.size(), 44u) << line;
    std::string name = line.substr(0, line.find(' '));
    std::string phone = line.substr(11, 15), qq = line.substr(27, 15);
    phone.erase(phone.find_last_not_of(' ') + 1);
    qq.erase(qq.find_last_not_of(' ') + 1);
    EXPECT_TRUE(!name.empty() && name.size() <= 10 && whole_characters(name)) << line;
    EXPECT_EQ(name.find('_'), std::string::npos);  // so kMissingName never matches
    EXPECT_TRUE(phone.size() == 11 && all_digits(phone)) << line;
    EXPECT_TRUE(qq.size() >= 5 && qq.size() <= 10 && all_digits(qq) && qq[0] != '0') << line;
    char flag = line.back();
    EXPECT_TRUE(flag == '0' || flag == '1') << line;
    if (flag == '1') expected_frequent += contact_book::frequent_row(name, phone, qq);
  }
  EXPECT_EQ(read_all(folder.path() / "often"), expected_frequent);
  EXPECT_NE(expected_frequent.find('\t'), std::string::npos);
}

TEST(ContactBook, TheSeedAloneDecidesTheBook) {
  ScratchFolder folder;
  const auto& dir = folder.path();
  ASSERT_TRUE(bench::write_contact_book(dir / "a", dir / "fa", 500, 7));
  ASSERT_TRUE(bench::write_contact_book(dir / "b", dir / "fb", 500, 7));
  ASSERT_TRUE(bench::write_contact_book(dir / "c", dir / "fc", 500, 8));
  EXPECT_TRUE(bench::same_file(dir / "a", dir / "b"));
  EXPECT_TRUE(bench::same_file(dir / "fa", dir / "fb"));
  EXPECT_FALSE(bench::same_file(dir / "a", dir / "c"));
}

TEST(Lines, HaveTheirExactLengthsWholeCharactersAndTheirClassesCounted) {
  ScratchFolder folder;
  bench::ByteClasses classes;
  // One length crosses the generator's chunk size, one is odd.
  ASSERT_TRUE(bench::write_lines(folder.path() / "in", {200001, 0, 3}, 11, &classes));
  std::string all = read_all(folder.path() / "in");
  std::vector<std::string> lines = lines_of(all);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].size(), 200001u);
  EXPECT_EQ(lines[1].size(), 0u);
  EXPECT_EQ(lines[2].size(), 3u);
  EXPECT_EQ(all.size(), 200001u + 3 + 3);
  bench::ByteClasses counted;
  for (char c : lines[0]) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) {
      ++counted.letters;
    } else if (c == ' ') {
      ++counted.blanks;
    } else if (c >= '0' && c <= '9') {
      ++counted.digits;
    } else {
      ++counted.others;
    }
    EXPECT_NE(c, '\r');
  }
  EXPECT_EQ(classes, counted);
  EXPECT_GT(counted.letters * counted.blanks * counted.digits * counted.others, 0);
  for (const std::string& line : lines)
    EXPECT_TRUE(whole_characters(line));
}

TEST(SameFile, TellsEqualFilesFromDifferentOrMissingOnes) {
  ScratchFolder folder;
  std::string big(3 << 20, 'x');
  folder.write("a", big);
  folder.write("b", big);
  big[(2 << 20) + 5] = 'y';
  folder.write("c", big);
  folder.write("d", big + "z");
  const auto& dir = folder.path();
  EXPECT_TRUE(bench::same_file(dir / "a", dir / "b"));
  EXPECT_FALSE(bench::same_file(dir / "a", dir / "c"));
  EXPECT_FALSE(bench::same_file(dir / "c", dir / "d"));
  EXPECT_FALSE(bench::same_file(dir / "a", dir / "missing"));
}

TEST(Figures, GrowthTakesOffTheStartUpAndComparesTheCostPerItem) {
  // 2 ms to start; 1 ms per thousand items.
  EXPECT_NEAR(bench::growth_per_item(12, 10000, 102, 100000, 2), 1.0, 1e-9);
  // Quadratic work: ten times the items, a hundred times the time.
  EXPECT_NEAR(bench::growth_per_item(3, 1000, 102, 10000, 2), 10.0, 1e-9);
  // A run no slower than start-up does not divide by zero.
  EXPECT_GT(bench::growth_per_item(2, 1000, 50, 10000, 2), 1.0);
  EXPECT_NEAR(bench::memory_per_input(130, 3, 100), 1.27, 1e-9);
  EXPECT_EQ(bench::memory_per_input(2, 3, 100), 0.0);
  EXPECT_EQ(bench::at_most(2, 2), bench::Verdict::met);
  EXPECT_EQ(bench::at_most(2.01, 2), bench::Verdict::missed);
}

TEST(Figures, MedianOfTheRuns) {
  bench::Figures odd = bench::figures_of({5, 1, 3});
  EXPECT_EQ(odd.median_ms, 3);
  bench::Figures even = bench::figures_of({4, 1, 2, 8});
  EXPECT_EQ(even.median_ms, 3);
}

TEST(Figures, PairsAreComparedRunByRunAndJudgedWithTheMargin) {
  // Pairs 2/1, 4/2 and 9/3: the median ratio is 2, not 4/2 of the medians.
  EXPECT_EQ(bench::median_ratio({2, 4, 9}, {1, 2, 3}), 2.0);
  // A pair without a yardstick time is left out.
  EXPECT_EQ(bench::median_ratio({2, 5}, {1, 0}), 2.0);
  // Differences 1, 2 and 6: the median is 2.
  EXPECT_EQ(bench::median_difference({2, 4, 9}, {1, 2, 3}), 2.0);
  EXPECT_EQ(bench::at_yardstick(0.9), bench::Verdict::met);
  EXPECT_EQ(bench::at_yardstick(1 + bench::kMargin), bench::Verdict::met);
  EXPECT_EQ(bench::at_yardstick(1 + bench::kMargin + 0.001), bench::Verdict::missed);
  EXPECT_EQ(bench::margin_target(), "time <= +3%");
  EXPECT_EQ(bench::both(bench::Verdict::met, bench::Verdict::met), bench::Verdict::met);
  EXPECT_EQ(bench::both(bench::Verdict::met, bench::Verdict::missed), bench::Verdict::missed);
}

TEST(Table, RowsBesideTheYardstickAndRunsThatDidNotEndCleanly) {
  bench::Beside measured{bench::figures_of({1.2}), bench::figures_of({1.0}), 1.2, 0.2, ""};
  measured.program.peak_mib = 2;
  measured.yardstick.peak_mib = 1.5;
  bench::Row row = bench::beside_row("slow", measured, "t", bench::at_yardstick(measured.ratio));
  EXPECT_EQ(row.figures,
            (std::vector<std::string>{"1.20 ms", "1.00 ms", "x1.20", "2.0 MiB", "1.5 MiB"}));
  EXPECT_EQ(row.figures.size(), bench::kColumns.size());
  EXPECT_EQ(row.verdict, bench::Verdict::missed);

  bench::Table table;
  table.add(bench::derived_row("growth", "x1.00", "< x2", bench::Verdict::met));
  EXPECT_TRUE(table.all_met());
  measured.yardstick.problem = "exit status 2";
  row = bench::beside_row("no yardstick", measured, "t", bench::Verdict::met);
  EXPECT_EQ(row.verdict, bench::Verdict::failed);
  EXPECT_EQ(row.note, "yardstick: exit status 2");
  table.add(row);
  EXPECT_FALSE(table.all_met());
}

// The runner measures the program itself: standard input from a file,
// standard output to a file, and the figures of the child.
TEST(Runner, TakesInputFromAFileSendsOutputToAFileAndMeasuresTheChild) {
  ScratchFolder folder;
  const std::string line(16 << 20, 'a');
  folder.write("in", line + "\n");
  testing_support::Session session;
  session.input_file = (folder.path() / "in").string();
  session.output_file = (folder.path() / "out").string();
  session.collect_files = false;
  testing_support::Outcome outcome = testing_support::run_in(folder.path(), u8"统计", session);
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(outcome.out.empty());
  EXPECT_TRUE(outcome.files.empty());
  EXPECT_EQ(folder.read("out"),
            "请输入一个字符串:共有英文字母16777216个，空格0个，数字0个，其它字符0个\n");
  EXPECT_GT(outcome.wall_ms, 0);
  EXPECT_GE(outcome.peak_kib, 16 << 10);  // the line itself was in the child's memory

  testing_support::Session piped;
  piped.input = "a1 \n";
  outcome = testing_support::run_in(folder.path(), u8"统计", piped);
  EXPECT_EQ(outcome.out, "请输入一个字符串:共有英文字母1个，空格1个，数字1个，其它字符0个\n");
  EXPECT_EQ(outcome.files.count("in"), 1u);
  EXPECT_GT(outcome.peak_kib, 0);
}

// The floor writes the bytes it is given, with nothing added, and refuses
// to run without them.
TEST(Floor, WritesExactlyItsBytesAndFailsWithoutThem) {
  const std::string bytes = "请输入一个字符串:\n\t* *";
  testing_support::Session given;
  given.in_child = [&] { ::setenv(bench::kFloorVariable, bytes.c_str(), 1); };
  testing_support::Outcome outcome = testing_support::run(u8"c_floor", given);
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_EQ(outcome.out, bytes);

  testing_support::Session none;
  none.in_child = [] { ::unsetenv(bench::kFloorVariable); };
  outcome = testing_support::run(u8"c_floor", none);
  EXPECT_EQ(outcome.status, 2);
  EXPECT_TRUE(outcome.out.empty());
}

// The line floor writes its bytes and, told to join, the lines as 连接
// joins them: a last line without a line break, a blank at an end.
TEST(Floor, OfLinesJoinsThemAsTheJoinProgramDoes) {
  const std::string input = "甲 b \n c乙";
  testing_support::Session session;
  session.input = input;
  session.in_child = [] {
    ::setenv(bench::kFloorVariable, "请输入第一个字符串：请输入第二个字符串：", 1);
    ::setenv(bench::kFloorJoinVariable, "1", 1);
  };
  testing_support::Outcome joined = testing_support::run(u8"c_lines", session);
  EXPECT_TRUE(joined.exited_cleanly());
  EXPECT_TRUE(testing_support::same_bytes(joined.out, testing_support::run(u8"连接", input).out));

  session.in_child = [] { ::setenv(bench::kFloorVariable, "x", 1); };
  EXPECT_EQ(testing_support::run(u8"c_lines", session).out, "x");
}

// The contact book's yardstick does the book's work: the same bytes on the
// screen and in both files, for every phase the benchmark types and for a
// search that finds two contacts.
TEST(Floor, OfTheContactBookPrintsAndSavesWhatTheBookDoes) {
  using contact_book::book_row;
  const std::string book =
      book_row("zhang", "13800000000", "12345", 1) + book_row("李四", "13900000000", "23456", 0) +
      book_row("zhang", "13700000000", "34567", 2) + book_row("王五", "13600000000", "45678", -1);
  for (const std::string& input :
       {std::string("2\n3\n1\nnobody_here\n6\n0\n1\n"), std::string("3\n1\nzhang\n0\n2\n")}) {
    testing_support::Session session;
    session.input = input;
    session.files = {{"联系人.txt", book}};
    testing_support::Outcome program = testing_support::run(u8"联系人", session);
    testing_support::Outcome yardstick = testing_support::run(u8"c_contacts", session);
    EXPECT_TRUE(program.exited_cleanly()) << program.err;
    EXPECT_TRUE(yardstick.exited_cleanly());
    EXPECT_TRUE(testing_support::same_bytes(yardstick.out, program.out)) << input;
    EXPECT_EQ(yardstick.files, program.files) << input;
    EXPECT_EQ(yardstick.files["联系人.txt"], book);
  }
}

TEST(Runner, MeasuresAProgramBesideTheFloorOnTheBytesItWrote) {
  ScratchFolder folder;
  bench::Beside measured = bench::measure_beside_floor(folder.path(), u8"统计", "a1 \n", 3);
  ASSERT_TRUE(measured.ok()) << measured.program.problem << measured.yardstick.problem;
  EXPECT_EQ(measured.output, "请输入一个字符串:共有英文字母1个，空格1个，数字1个，其它字符0个\n");
  EXPECT_GT(measured.program.median_ms, 0);
  EXPECT_GT(measured.yardstick.median_ms, 0);
  EXPECT_GT(measured.ratio, 0);
  EXPECT_TRUE(folder.files().empty());  // the bytes compared were not left behind
}

// A yardstick that writes other bytes did other work: no figures, a problem.
TEST(Runner, RefusesAYardstickThatWritesOtherBytes) {
  ScratchFolder folder;
  testing_support::Session session;
  session.input = "a1 \n";
  session.in_child = [] { ::setenv(bench::kFloorVariable, "请输入一个字符串:", 1); };
  bench::Beside measured = bench::measure_beside(folder.path(), u8"统计", u8"c_lines", session, 3);
  EXPECT_FALSE(measured.ok());
  EXPECT_EQ(measured.program.problem, "wrote other bytes than the yardstick");
  EXPECT_TRUE(folder.files().empty());
}

}  // namespace
