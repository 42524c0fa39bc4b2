// The Goldbach split of large numbers: the whole 偶数分解 process beside the
// floor, and the search inside this process for comparison.
#include <optional>
#include <string>

#include "bench/sections.h"
#include "numeric/goldbach.h"

namespace bench {
namespace {

constexpr int kRuns = 300;
constexpr int kSearchRuns = 11;

// The pair the program must write for n, as it writes it.
std::string written_pair(int n, const std::optional<goldbach::Pair>& pair) {
  if (!pair) return "";
  return std::to_string(n) + "=" + std::to_string(pair->first) + "+" + std::to_string(pair->second);
}

bool ends_with(const std::string& text, const std::string& end) {
  return !end.empty() && text.size() >= end.size() &&
         text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

void goldbach_cases(Context& context) {
  context.table.section("偶数分解: large even numbers beside the floor, 300 runs each",
                        kFloorColumns);
  std::filesystem::path folder = context.working_folder("goldbach");
  for (int n : {104742, 10000002, 2147483646}) {
    std::string label = "偶数分解 " + std::to_string(n);
    std::optional<goldbach::Pair> pair;
    Figures search = time_in_process(kSearchRuns, [&] { pair = goldbach::smallest_pair(n); });

    BesideFloor measured =
        measure_beside_floor(folder, u8"偶数分解", std::to_string(n) + "\n", kRuns);
    if (measured.ok() && !ends_with(measured.output, written_pair(n, pair))) {
      measured.program.problem = "wrong pair";
    }
    context.table.add(floor_row(label, measured, written_pair(n, pair)));
    context.table.add({label + ": search alone",
                       {milliseconds(search.median_ms), "", "", ""},
                       "(in this process)",
                       Verdict::none,
                       ""});
  }
}

}  // namespace bench
