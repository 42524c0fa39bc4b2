// The Goldbach split of large numbers: the whole 偶数分解 process, and the
// search inside this process for comparison.
#include <optional>
#include <string>

#include "bench/sections.h"
#include "numeric/goldbach.h"

namespace bench {
namespace {

constexpr int kRuns = 11;
constexpr double kLimitMs = 100;

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
  context.table.section("偶数分解: large even numbers, 11 runs");
  std::filesystem::path folder = context.working_folder("goldbach");
  for (int n : {104742, 10000002, 2147483646}) {
    std::string label = "偶数分解 " + std::to_string(n);
    std::string input = std::to_string(n) + "\n";
    std::optional<goldbach::Pair> pair;
    Figures search = time_in_process(kRuns, [&] { pair = goldbach::split(n); });

    Figures figures = measure(folder, u8"偶数分解", input, kRuns);
    if (figures.ok()) {
      testing_support::Session check;
      check.input = input;
      check.collect_files = false;
      std::string out = testing_support::run_in(folder, u8"偶数分解", check).out;
      if (!ends_with(out, written_pair(n, pair))) figures.problem = "wrong pair";
    }
    context.table.add(measured_row(label, figures, "< 100 ms", below(figures.fastest_ms, kLimitMs),
                                   written_pair(n, pair)));
    context.table.add(measured_row(label + ": search alone", search, "(in this process)"));
  }
}

}  // namespace bench
