// The Goldbach split of large numbers: the whole 偶数分解 process beside the
// floor, which writes the same bytes and searches nothing.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/sections.h"

namespace bench {
namespace {

constexpr int kRuns = 300;
// What the search for the pair may add to starting the program.
constexpr double kAllowanceMs = 1;

struct Split {
  int n;
  const char* pair;  // as the program writes it
};

// Large numbers up to the largest even int. The smallest prime of
// 2146294622's pair is large, so its search tries the most partners.
const std::vector<Split>& splits() {
  static const std::vector<Split> all = {
      {104742, "104742=13+104729"},
      {10000002, "10000002=11+9999991"},
      {2146294622, "2146294622=1303+2146293319"},
      {2147483646, "2147483646=17+2147483629"},
  };
  return all;
}

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void goldbach_cases(Context& context) {
  context.table.section("偶数分解: large even numbers beside c_floor, " + std::to_string(kRuns) +
                        " pairs of runs");
  std::filesystem::path folder = context.working_folder("goldbach");
  for (const Split& split : splits()) {
    Beside measured =
        measure_beside_floor(folder, u8"偶数分解", std::to_string(split.n) + "\n", kRuns);
    if (measured.ok() && !ends_with(measured.output, split.pair)) {
      measured.program.problem = "wrong pair";
    }
    char note[64];
    std::snprintf(note, sizeof note, "%+.2f ms  %s", measured.difference_ms, split.pair);
    context.table.add(beside_row("偶数分解 " + std::to_string(split.n), measured, "time <= +1 ms",
                                 at_most(measured.difference_ms, kAllowanceMs), note));
  }
}

}  // namespace bench
