// Runs a program and its yardstick, a plain C program doing the same work,
// as whole processes in turns, and keeps their figures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace bench {

struct Figures {
  double median_ms = 0;
  double peak_mib = 0;  // the largest of the runs
  std::string problem;  // why a run did not end cleanly; empty when all did
  bool ok() const { return problem.empty(); }
};

// A program beside its yardstick, run in turns in the same folder, on the
// same input and environment, so both meet the same load.
struct Beside {
  Figures program;
  Figures yardstick;
  double ratio = 0;          // the median over the pairs of runs of program / yardstick time
  double difference_ms = 0;  // the median over the pairs of program - yardstick time
  std::string output;        // what the program wrote (measure_beside_floor only)
  bool ok() const { return program.ok() && yardstick.ok(); }
};

// Runs `runs` pairs of runs of the program and the yardstick, alternating
// which goes first, after one uncounted pair that warms the caches. The
// pair that warms them writes to files in the folder, which must then hold
// the same bytes: both did the same work. The counted runs write to
// /dev/null.
Beside measure_beside(const std::filesystem::path& folder, const char8_t* program,
                      const char8_t* yardstick, testing_support::Session session, int runs);

// The program beside the floor (c_floor), which writes the same bytes with
// one call: runs the program on the input once to learn its output, then
// measures the two side by side. A program that saves a file (`saves` names
// it) is set beside a floor that saves the same bytes too, with one write,
// synced to the disk as a save must be.
Beside measure_beside_floor(const std::filesystem::path& folder, const char8_t* program,
                            const std::string& input, int runs, const char* saves = nullptr);

// The environment variables through which the floors are given their bytes,
// and the name and bytes (in hexadecimal) of the file c_floor saves.
inline constexpr const char* kFloorVariable = "COURSEWORK_FLOOR_OUTPUT";
inline constexpr const char* kFloorFileVariable = "COURSEWORK_FLOOR_FILE";
inline constexpr const char* kFloorFileBytesVariable = "COURSEWORK_FLOOR_FILE_BYTES";
// Set for c_lines when it is to write the lines it read, joined.
inline constexpr const char* kFloorJoinVariable = "COURSEWORK_FLOOR_JOIN";
// Set for c_lines to count the classes of the bytes of the lines as 统计
// does, and to end with status 1 unless it counts these numbers.
inline constexpr const char* kFloorCountVariable = "COURSEWORK_FLOOR_COUNTS";

// The median of the ratios a[i] / b[i], and of the differences a[i] - b[i],
// of runs made side by side.
double median_ratio(const std::vector<double>& a, const std::vector<double>& b);
double median_difference(const std::vector<double>& a, const std::vector<double>& b);

Figures figures_of(std::vector<double> times_ms);

}  // namespace bench
