#include "bench/measure.h"

#include <algorithm>
#include <ctime>
#include <vector>

namespace bench {

double now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

Figures figures_of(std::vector<double> times_ms) {
  Figures figures;
  if (times_ms.empty()) return figures;
  std::sort(times_ms.begin(), times_ms.end());
  std::size_t middle = times_ms.size() / 2;
  figures.median_ms =
      times_ms.size() % 2 == 1 ? times_ms[middle] : (times_ms[middle - 1] + times_ms[middle]) / 2;
  figures.fastest_ms = times_ms.front();
  return figures;
}

namespace {

std::string problem_of(const testing_support::Outcome& outcome) {
  if (outcome.timed_out) return "did not end in time";
  if (outcome.signal != 0) return "killed by signal " + std::to_string(outcome.signal);
  if (outcome.status != 0) return "exit status " + std::to_string(outcome.status);
  if (!outcome.err.empty()) return "wrote to standard error";
  return "";
}

}  // namespace

Figures measure(const std::filesystem::path& folder, const char8_t* program,
                testing_support::Session session, int runs) {
  if (session.output_file.empty()) session.output_file = "/dev/null";
  session.collect_files = false;
  session.time_limit_ms = 60000;
  std::vector<double> times;
  long peak_kib = 0;
  for (int run = -1; run < runs; ++run) {  // run -1 warms the caches
    testing_support::Outcome outcome = testing_support::run_in(folder, program, session);
    if (std::string problem = problem_of(outcome); !problem.empty()) {
      Figures failed;
      failed.problem = problem;
      return failed;
    }
    if (run < 0) continue;
    times.push_back(outcome.wall_ms);
    peak_kib = std::max(peak_kib, outcome.peak_kib);
  }
  Figures figures = figures_of(std::move(times));
  figures.peak_mib = peak_kib / 1024.0;
  return figures;
}

Figures measure(const std::filesystem::path& folder, const char8_t* program,
                const std::string& input, int runs) {
  testing_support::Session session;
  session.input = input;
  return measure(folder, program, std::move(session), runs);
}

}  // namespace bench
