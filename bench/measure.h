// Runs a program as a whole process several times and keeps its figures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace bench {

struct Figures {
  double median_ms = 0;
  double fastest_ms = 0;  // the run least disturbed by other work on the machine
  double peak_mib = 0;    // the largest of the runs; 0 when not measured
  std::string problem;    // why a run did not end cleanly; empty when all did
  bool ok() const { return problem.empty(); }
};

// Runs the program `runs` times in `folder` with the session, after one run
// that warms the caches and is not counted. Standard output is thrown away
// unless the session names a file for it; the folder's files are not read.
Figures measure(const std::filesystem::path& folder, const char8_t* program,
                testing_support::Session session, int runs);

// The same for a dialogue typed on standard input.
Figures measure(const std::filesystem::path& folder, const char8_t* program,
                const std::string& input, int runs);

// A program beside the floor: the C yardstick (c_floor) that writes the
// same bytes with one call, run in turns with the program in the same folder,
// on the same input and environment, so both meet the same load.
struct BesideFloor {
  Figures program;
  Figures floor;
  double ratio = 0;    // the median over the pairs of runs of program time / floor time
  std::string output;  // what the program wrote
  bool ok() const { return program.ok() && floor.ok(); }
};

// Runs the program on the input once to learn its output, then `runs` pairs
// of runs of the program and the floor, alternating which goes first, after
// one uncounted pair that warms the caches. A program that saves a file
// (`saves` names it) is set beside a floor that saves the same bytes too,
// with one write, synced to the disk as a save must be.
BesideFloor measure_beside_floor(const std::filesystem::path& folder, const char8_t* program,
                                 const std::string& input, int runs, const char* saves = nullptr);

// The environment variables through which the floor is given its bytes, and
// the name and bytes (in hexadecimal) of the file it saves.
inline constexpr const char* kFloorVariable = "COURSEWORK_FLOOR_OUTPUT";
inline constexpr const char* kFloorFileVariable = "COURSEWORK_FLOOR_FILE";
inline constexpr const char* kFloorFileBytesVariable = "COURSEWORK_FLOOR_FILE_BYTES";

// The median of the ratios a[i] / b[i] of runs made side by side.
double median_ratio(const std::vector<double>& a, const std::vector<double>& b);

// The times of `runs` runs of a piece of work inside this process.
template <typename Work>
Figures time_in_process(int runs, Work work);

double now_ms();
Figures figures_of(std::vector<double> times_ms);

template <typename Work>
Figures time_in_process(int runs, Work work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    double start = now_ms();
    work();
    times.push_back(now_ms() - start);
  }
  return figures_of(std::move(times));
}

}  // namespace bench
