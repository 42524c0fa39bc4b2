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
    if (flag == '1')
      expected_frequent += name + "\t " + phone + "\t " + line.substr(27, 15) + "\t\n";
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
  EXPECT_EQ(bench::below(1, 2), bench::Verdict::met);
  EXPECT_EQ(bench::below(2, 2), bench::Verdict::missed);
}

TEST(Figures, MedianAndFastestOfTheRuns) {
  bench::Figures odd = bench::figures_of({5, 1, 3});
  EXPECT_EQ(odd.median_ms, 3);
  EXPECT_EQ(odd.fastest_ms, 1);
  bench::Figures even = bench::figures_of({4, 1, 2, 8});
  EXPECT_EQ(even.median_ms, 3);
  EXPECT_EQ(even.fastest_ms, 1);
}

TEST(Figures, RatioToTheFloorIsTheMedianOfThePairsAndJudgedWithTheMargin) {
  // Pairs 2/1, 4/2 and 9/3: the median ratio is 2, not 4/2 of the medians.
  EXPECT_EQ(bench::median_ratio({2, 4, 9}, {1, 2, 3}), 2.0);
  EXPECT_EQ(bench::median_ratio({2, 5}, {1, 0}), 2.0);  // a pair without a floor time is left out
  EXPECT_EQ(bench::at_floor(0.9), bench::Verdict::met);
  EXPECT_EQ(bench::at_floor(1 + bench::kFloorMargin), bench::Verdict::met);
  EXPECT_EQ(bench::at_floor(1 + bench::kFloorMargin + 0.001), bench::Verdict::missed);

  bench::BesideFloor measured{bench::figures_of({1.2}), bench::figures_of({1.0}), 1.2, "x"};
  bench::Row row = bench::floor_row("slow", measured);
  EXPECT_EQ(row.verdict, bench::Verdict::missed);
  EXPECT_EQ(row.figures[2], "x1.20");
  measured.floor.problem = "exit status 2";
  row = bench::floor_row("no floor", measured);
  EXPECT_EQ(row.verdict, bench::Verdict::failed);
  EXPECT_EQ(row.note, "floor: exit status 2");
}

TEST(Table, ARunThatDidNotEndCleanlyFailsTheSuite) {
  bench::Table table;
  bench::Figures fine = bench::figures_of({1});
  table.add(bench::measured_row("measured", fine));
  table.add(bench::measured_row("met", fine, "< 2 ms", bench::below(fine.fastest_ms, 2)));
  EXPECT_TRUE(table.all_met());
  bench::Figures crashed = fine;
  crashed.problem = "killed by signal 11";
  bench::Row row = bench::measured_row("crashed", crashed);
  EXPECT_EQ(row.verdict, bench::Verdict::failed);
  EXPECT_EQ(row.note, crashed.problem);
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

TEST(Runner, MeasuresAProgramBesideTheFloorOnTheBytesItWrote) {
  ScratchFolder folder;
  bench::BesideFloor measured = bench::measure_beside_floor(folder.path(), u8"统计", "a1 \n", 3);
  ASSERT_TRUE(measured.ok()) << measured.program.problem << measured.floor.problem;
  EXPECT_EQ(measured.output, "请输入一个字符串:共有英文字母1个，空格1个，数字1个，其它字符0个\n");
  EXPECT_GT(measured.program.median_ms, 0);
  EXPECT_GT(measured.floor.median_ms, 0);
  EXPECT_GT(measured.ratio, 0);
  EXPECT_TRUE(folder.files().empty());  // both wrote to /dev/null only
}

}  // namespace
