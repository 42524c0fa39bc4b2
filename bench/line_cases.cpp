// The line programs beside c_lines, which reads the same lines with getline
// and writes the same bytes with fwrite, on a line of a mebibyte and on one
// of a hundred: 统计 and 标识符 on the line alone, 连接 on the line and a
// short one, and on two lines of half the length.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/inputs.h"
#include "bench/sections.h"

namespace bench {
namespace {

namespace fs = std::filesystem;

constexpr int kRuns = 11;
constexpr long long kMiB = 1 << 20;
constexpr long long kSmall = 1 * kMiB;
constexpr long long kLarge = 100 * kMiB;
constexpr double kMemoryLimit = 3;  // times the input, beyond the program's start-up
// The per-byte cost of a line 100 times longer. Quadratic work would cost
// 100 times more per byte; linear work costs somewhat more once the line no
// longer fits the caches and every page of it is new to the process.
constexpr double kGrowthLimit = 3;

struct LineCase {
  const char8_t* program;
  const char* label;
  const char* input;  // the input's file name in the working folder
  // The bytes the program writes, those before the joined lines if it joins.
  std::string (*reply)(const ByteClasses& line);
  bool joins = false;
  bool counts = false;
};

std::string count_reply(const ByteClasses& c) {
  char reply[256];
  std::snprintf(reply, sizeof reply,
                "请输入一个字符串:共有英文字母%lld个，空格%lld个，数字%lld个，其它字符%lld个\n",
                c.letters, c.blanks, c.digits, c.others);
  return reply;
}

std::string identifier_reply(const ByteClasses&) {
  return "请输入一个标识符：太长了!";
}

std::string join_prompts(const ByteClasses&) {
  return "请输入第一个字符串：请输入第二个字符串：";
}

const std::vector<LineCase>& cases() {
  static const std::vector<LineCase> all = {
      {u8"统计", "统计", "one", count_reply, false, true},
      {u8"标识符", "标识符", "one", identifier_reply},
      {u8"连接", "连接", "long_short", join_prompts, true},
      {u8"连接", "连接 halves", "halves", join_prompts, true},
  };
  return all;
}

std::string size_text(long long length) {
  return std::to_string(length / kMiB) + " MiB";
}

// The three inputs: one line; that line and a short one; two lines of half
// the length each. Gives the classes of the bytes of the single line.
bool write_inputs(const fs::path& folder, long long length, ByteClasses& line) {
  return write_lines(folder / "one", {length}, kSeed, &line) &&
         write_lines(folder / "long_short", {length, 12}, kSeed) &&
         write_lines(folder / "halves", {length / 2, length - length / 2}, kSeed);
}

Beside measure_case(const fs::path& folder, const LineCase& c, const ByteClasses& line) {
  testing_support::Session session;
  session.input_file = (folder / c.input).string();
  const std::string bytes = c.reply(line);
  const std::string counts = std::to_string(line.letters) + " " + std::to_string(line.blanks) +
                             " " + std::to_string(line.digits) + " " + std::to_string(line.others);
  session.in_child = [&bytes, &counts, &c] {
    ::setenv(kFloorVariable, bytes.c_str(), 1);
    if (c.joins) ::setenv(kFloorJoinVariable, "1", 1);
    if (c.counts) ::setenv(kFloorCountVariable, counts.c_str(), 1);
  };
  return measure_beside(folder, c.program, u8"c_lines", session, kRuns);
}

Row row_for(const Context& context, const LineCase& c, long long length, const Beside& measured) {
  double memory = memory_per_input(measured.program.peak_mib, context.start_of(c.program).peak_mib,
                                   static_cast<double>(length) / kMiB);
  char note[64];
  std::snprintf(note, sizeof note, "memory %.2fx the input", memory);
  Verdict verdict =
      both(at_yardstick(measured.ratio), memory < kMemoryLimit ? Verdict::met : Verdict::missed);
  return beside_row(std::string(c.label) + " " + size_text(length), measured,
                    margin_target() + ", memory < 3x", verdict, note);
}

}  // namespace

void line_cases(Context& context) {
  context.table.section("Long lines of typed text beside c_lines, " + std::to_string(kRuns) +
                        " pairs of runs");
  fs::path folder = context.working_folder("lines");
  std::vector<Figures> small, large;
  for (long long length : {kSmall, kLarge}) {
    ByteClasses line;
    if (!write_inputs(folder, length, line)) {
      context.table.add(failed_row(size_text(length), "cannot write the inputs"));
      return;
    }
    for (const LineCase& c : cases()) {
      Beside measured = measure_case(folder, c, line);
      (length == kSmall ? small : large).push_back(measured.program);
      context.table.add(row_for(context, c, length, measured));
    }
  }
  fs::remove_all(folder);

  const std::string target = "per byte < x3 (linear)";
  for (std::size_t i = 0; i < cases().size(); ++i) {
    const LineCase& c = cases()[i];
    std::string label = std::string(c.label) + " " + size_text(kSmall) + " -> " + size_text(kLarge);
    const Figures& start = context.start_of(c.program);
    if (!small[i].ok() || !large[i].ok() || !start.ok()) {
      context.table.add(failed_row(label, "not measured"));
      continue;
    }
    double growth =
        growth_per_item(small[i].median_ms, kSmall, large[i].median_ms, kLarge, start.median_ms);
    context.table.add(derived_row(label, times(growth), target, at_most(growth, kGrowthLimit)));
  }
}

}  // namespace bench
