// Every program on its smallest input: what starting it costs.
#include <fstream>
#include <string>
#include <vector>

#include "bench/sections.h"

namespace bench {
namespace {

constexpr int kRuns = 300;

struct StartCase {
  const char8_t* program;
  const char* label;
  const char* input;
  const char* saves = nullptr;  // the file the program saves
};

// The shortest dialogue that takes each program through to its end.
const std::vector<StartCase>& start_cases() {
  static const std::vector<StartCase> cases = {
      {u8"联系人", "联系人", "0\n1\n"},
      {u8"录入", "录入", "1 a 0 0 0\n2 b 0 0 0\n3 c 0 0 0\n", "stud_dat"},
      {u8"排序", "排序", "", "stud_sort"},
      {u8"打开", "打开", ""},
      {u8"平均分", "平均分", "1 0 0 0\n2 0 0 0\n"},
      {u8"分数", "分数", "a 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\n"},
      {u8"读写", "读写", "a 0\na 0\na 0\na 0\na 0\n"},
      {u8"积分", "积分", "4\n"},
      {u8"进制", "进制", "0\n"},
      {u8"偶数分解", "偶数分解", "8\n"},
      {u8"内积", "内积", "1\n1\n1\n"},
      {u8"阶乘", "阶乘", ""},
      {u8"宏", "宏", "1 2\n"},
      {u8"矩阵", "矩阵", ""},
      {u8"魔方", "魔方", ""},
      {u8"组合数表", "组合数表", ""},
      {u8"合并", "合并", ""},
      {u8"删除", "删除", "1\n1\n1\n"},
      {u8"标识符", "标识符", "a\n"},
      {u8"统计", "统计", "\n"},
      {u8"转换", "转换", "0\n"},
      {u8"连接", "连接", "a\nb\n"},
      {u8"比较", "比较", ""},
      {u8"good", "good", ""},
      {u8"试验", "试验", ""},
  };
  return cases;
}

// The files the programs read: an empty contact book, three blank student
// records in each record file, an empty test.txt.
void write_start_files(const std::filesystem::path& folder) {
  std::ofstream(folder / "联系人.txt");
  std::ofstream(folder / "stud_dat") << std::string(3 * 56, '\0');
  std::ofstream(folder / "stud_sort") << std::string(3 * 56, '\0');
  std::ofstream(folder / "test.txt");
}

}  // namespace

void start_up_cases(Context& context) {
  context.table.section("Start-up: every program on its smallest input beside c_floor, " +
                        std::to_string(kRuns) + " pairs of runs");
  std::filesystem::path folder = context.working_folder("start");
  write_start_files(folder);
  // The floor beside itself shows how far two equal programs differ in this
  // run: the noise the margin allows for.
  Beside noise = measure_beside_floor(folder, u8"c_floor", "", kRuns);
  context.table.add(
      beside_row("the floor itself (noise)", noise, margin_target(), at_yardstick(noise.ratio)));
  for (const StartCase& c : start_cases()) {
    Beside measured = measure_beside_floor(folder, c.program, c.input, kRuns, c.saves);
    context.start[c.program] = measured.program;
    context.table.add(beside_row(c.label, measured, margin_target(), at_yardstick(measured.ratio)));
  }
}

}  // namespace bench
