// Every program of programs.tsv on its smallest input: what starting it
// costs.
#include <fstream>
#include <map>
#include <string>

#include "bench/sections.h"
#include "platform/transcoder.h"
#include "programs_table.h"

namespace bench {
namespace {

constexpr int kRuns = 300;

struct StartCase {
  const char* input;
  const char* saves = nullptr;  // the file the program saves
};

// The shortest dialogue that takes each program through to its end, by id.
const std::map<std::string, StartCase>& start_cases() {
  static const std::map<std::string, StartCase> cases = {
      {"contacts", {"0\n1\n"}},
      {"grade_entry", {"1 a 0 0 0\n2 b 0 0 0\n3 c 0 0 0\n", "stud_dat"}},
      {"grade_sort", {"", "stud_sort"}},
      {"grade_report", {""}},
      {"averages", {"1 0 0 0\n2 0 0 0\n"}},
      {"score_list", {"a 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\na 0\n"}},
      {"text_file", {"a 0\na 0\na 0\na 0\na 0\n"}},
      {"integral", {"4\n"}},
      {"radix", {"0\n"}},
      {"goldbach", {"8\n"}},
      {"dot_product", {"1\n1\n1\n"}},
      {"factorials", {""}},
      {"swap", {"1 2\n"}},
      {"matrix", {""}},
      {"magic_square", {""}},
      {"pascal", {""}},
      {"insertion", {""}},
      {"deletion", {"1\n1\n1\n"}},
      {"identifier", {"a\n"}},
      {"char_count", {"\n"}},
      {"digits", {"0\n"}},
      {"join", {"a\nb\n"}},
      {"compare", {""}},
      {"banner", {""}},
      {"word", {""}},
  };
  return cases;
}

// A program's name as the table prints it, in GBK like all its text.
std::string label_of(const char8_t* name) {
  platform::Transcoder to_gbk(platform::Direction::utf8_to_gbk);
  std::string label;
  to_gbk.convert(reinterpret_cast<const char*>(name), label);
  to_gbk.finish(label);
  return label;
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
  for (const ProgramEntry& program : kProgramTable) {
    auto found = start_cases().find(program.id);
    if (found == start_cases().end()) {
      context.table.add(failed_row(label_of(program.name), "no start-up dialogue in bench"));
      continue;
    }
    const StartCase& c = found->second;
    Beside measured = measure_beside_floor(folder, program.name, c.input, kRuns, c.saves);
    context.start[program.name] = measured.program;
    context.table.add(beside_row(label_of(program.name), measured, margin_target(),
                                 at_yardstick(measured.ratio)));
  }
}

}  // namespace bench
