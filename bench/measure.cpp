#include "bench/measure.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/inputs.h"

namespace bench {

Figures figures_of(std::vector<double> times_ms) {
  Figures figures;
  if (times_ms.empty()) return figures;
  std::sort(times_ms.begin(), times_ms.end());
  std::size_t middle = times_ms.size() / 2;
  figures.median_ms =
      times_ms.size() % 2 == 1 ? times_ms[middle] : (times_ms[middle - 1] + times_ms[middle]) / 2;
  return figures;
}

double median_ratio(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (b[i] > 0) ratios.push_back(a[i] / b[i]);
  }
  return figures_of(std::move(ratios)).median_ms;
}

double median_difference(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> differences;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i)
    differences.push_back(a[i] - b[i]);
  return figures_of(std::move(differences)).median_ms;
}

namespace {

std::string problem_of(const testing_support::Outcome& outcome) {
  if (outcome.timed_out) return "did not end in time";
  if (outcome.signal != 0) return "killed by signal " + std::to_string(outcome.signal);
  if (outcome.status != 0) return "exit status " + std::to_string(outcome.status);
  if (!outcome.err.empty()) return "wrote to standard error";
  return "";
}

// The runs of one program: their times and largest peak, or the problem of
// the run that did not end cleanly.
struct Runs {
  std::vector<double> times_ms;
  long peak_kib = 0;
  std::string problem;

  bool add(const std::filesystem::path& folder, const char8_t* program,
           const testing_support::Session& session) {
    testing_support::Outcome outcome = testing_support::run_in(folder, program, session);
    problem = problem_of(outcome);
    times_ms.push_back(outcome.wall_ms);
    peak_kib = std::max(peak_kib, outcome.peak_kib);
    return problem.empty();
  }

  Figures figures() const {
    if (!problem.empty()) return Figures{0, 0, problem};
    Figures all = figures_of(times_ms);
    all.peak_mib = peak_kib / 1024.0;
    return all;
  }
};

// Runs the warming pair, each writing to a file of its own, and tells
// whether both ended cleanly and wrote the same bytes.
bool warm_up(const std::filesystem::path& folder, const char8_t* program, const char8_t* yardstick,
             testing_support::Session session, Runs& program_runs, Runs& yardstick_runs) {
  const std::filesystem::path mine = folder / "bench-output.program";
  const std::filesystem::path its = folder / "bench-output.yardstick";
  session.output_file = mine.string();
  bool clean = program_runs.add(folder, program, session);
  session.output_file = its.string();
  clean = clean && yardstick_runs.add(folder, yardstick, session);
  if (clean && !same_file(mine, its)) {
    program_runs.problem = "wrote other bytes than the yardstick";
    clean = false;
  }
  std::filesystem::remove(mine);
  std::filesystem::remove(its);
  return clean;
}

}  // namespace

Beside measure_beside(const std::filesystem::path& folder, const char8_t* program,
                      const char8_t* yardstick, testing_support::Session session, int runs) {
  session.collect_files = false;
  session.time_limit_ms = 60000;
  Runs program_runs, yardstick_runs;
  bool clean = warm_up(folder, program, yardstick, session, program_runs, yardstick_runs);
  if (clean) program_runs = yardstick_runs = Runs{};
  session.output_file = "/dev/null";
  for (int run = 0; run < runs && clean; ++run) {
    for (bool yardstick_turn : {run % 2 != 0, run % 2 == 0}) {
      clean = clean && (yardstick_turn ? yardstick_runs.add(folder, yardstick, session)
                                       : program_runs.add(folder, program, session));
    }
  }
  Beside result;
  result.program = program_runs.figures();
  result.yardstick = yardstick_runs.figures();
  if (clean) {
    result.ratio = median_ratio(program_runs.times_ms, yardstick_runs.times_ms);
    result.difference_ms = median_difference(program_runs.times_ms, yardstick_runs.times_ms);
  }
  return result;
}

Beside measure_beside_floor(const std::filesystem::path& folder, const char8_t* program,
                            const std::string& input, int runs, const char* saves) {
  // Both get the floor's bytes in their environment, so both start with the
  // same environment; only the floor reads it. The first run, which learns
  // the bytes, gets none.
  std::string bytes;
  std::string file_bytes;  // in hexadecimal
  testing_support::Session session;
  session.input = input;
  session.collect_files = saves != nullptr;
  session.in_child = [&bytes, &file_bytes, saves] {
    ::setenv(kFloorVariable, bytes.c_str(), 1);
    if (saves == nullptr) return;
    ::setenv(kFloorFileVariable, saves, 1);
    ::setenv(kFloorFileBytesVariable, file_bytes.c_str(), 1);
  };
  testing_support::Outcome first = testing_support::run_in(folder, program, session);
  Beside result;
  result.program.problem = problem_of(first);
  if (first.out.find('\0') != std::string::npos) result.program.problem = "wrote a NUL byte";
  if (saves != nullptr && !first.files.contains(saves)) result.program.problem = "saved nothing";
  if (!result.ok()) return result;
  bytes = first.out;
  if (saves != nullptr) {
    for (unsigned char c : first.files[saves]) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02x", c);
      file_bytes += pair;
    }
  }
  result = measure_beside(folder, program, u8"c_floor", session, runs);
  result.output = bytes;
  return result;
}

}  // namespace bench
