#include "bench/measure.h"

#include <algorithm>
#include <cstdlib>
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

double median_ratio(const std::vector<double>& a, const std::vector<double>& b) {
  std::vector<double> ratios;
  for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
    if (b[i] > 0) ratios.push_back(a[i] / b[i]);
  }
  return figures_of(std::move(ratios)).median_ms;
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
    if (!problem.empty()) return Figures{0, 0, 0, problem};
    Figures all = figures_of(times_ms);
    all.peak_mib = peak_kib / 1024.0;
    return all;
  }
};

void prepare_for_timing(testing_support::Session& session) {
  if (session.output_file.empty()) session.output_file = "/dev/null";
  session.collect_files = false;
  session.time_limit_ms = 60000;
}

}  // namespace

Figures measure(const std::filesystem::path& folder, const char8_t* program,
                testing_support::Session session, int runs) {
  prepare_for_timing(session);
  Runs all;
  for (int run = -1; run < runs; ++run) {  // run -1 warms the caches
    if (!all.add(folder, program, session)) break;
    if (run < 0) all = Runs{};
  }
  return all.figures();
}

Figures measure(const std::filesystem::path& folder, const char8_t* program,
                const std::string& input, int runs) {
  testing_support::Session session;
  session.input = input;
  return measure(folder, program, std::move(session), runs);
}

BesideFloor measure_beside_floor(const std::filesystem::path& folder, const char8_t* program,
                                 const std::string& input, int runs, const char* saves) {
  BesideFloor result;
  // Both get the floor's bytes in their environment, so both start with the
  // same environment; only the floor reads it. The first run, which learns
  // the bytes, gets none.
  const std::string& bytes = result.output;
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
  result.program.problem = problem_of(first);
  if (first.out.find('\0') != std::string::npos) result.program.problem = "wrote a NUL byte";
  if (saves != nullptr && !first.files.contains(saves)) result.program.problem = "saved nothing";
  if (!result.ok()) return result;
  result.output = first.out;
  if (saves != nullptr) {
    for (unsigned char c : first.files[saves]) {
      char pair[3];
      std::snprintf(pair, sizeof pair, "%02x", c);
      file_bytes += pair;
    }
  }
  session.collect_files = false;

  prepare_for_timing(session);
  Runs program_runs, floor_runs;
  bool clean = true;
  for (int run = -1; run < runs && clean; ++run) {  // run -1 warms the caches
    for (bool floor_turn : {run % 2 != 0, run % 2 == 0}) {
      clean = clean && (floor_turn ? floor_runs.add(folder, u8"c_floor", session)
                                   : program_runs.add(folder, program, session));
    }
    if (run < 0 && clean) program_runs = floor_runs = Runs{};
  }
  result.program = program_runs.figures();
  result.floor = floor_runs.figures();
  if (clean) result.ratio = median_ratio(program_runs.times_ms, floor_runs.times_ms);
  return result;
}

}  // namespace bench
