// The benchmark suite: runs the programs as whole processes beside plain C
// yardsticks on inputs it makes itself from a fixed seed (every program on
// its smallest input, contact books of up to a million contacts, large
// Goldbach numbers, lines of up to 100 MiB) and prints for each case the
// wall times, the peak memory, the target and whether it was met. Exits
// with status 1 when a target was missed or a program did not end cleanly.
#include <sys/resource.h>

#include <csignal>
#include <cstdio>
#include <filesystem>

#include "bench/report.h"
#include "bench/sections.h"
#include "platform/console.h"

namespace bench {

const Figures& Context::start_of(const char8_t* program) const {
  static const Figures none{0, 0, "not measured"};
  auto found = start.find(program);
  return found == start.end() ? none : found->second;
}

std::filesystem::path Context::working_folder(const std::string& name) const {
  std::filesystem::path path = folder / name;
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace bench

int main() {
  platform::start_console();
  std::signal(SIGPIPE, SIG_IGN);
  testing_support::ScratchFolder scratch;
  bench::Context context{scratch.path(), {}, {}};

  std::printf("Benchmarks on %s\n", bench::machine_description().c_str());
  std::printf(
      "Each program runs as a whole process beside its yardstick, a plain C program that\n"
      "writes the same bytes (each section says how it comes to them); the two run in turns,\n"
      "after one pair that warms the caches and checks the bytes. Wall time from starting to\n"
      "reaping the process: the median of each, and the median of the ratios of the pairs,\n"
      "judged with a margin of %.0f%% for noise. Peak: the largest resident memory in any\n"
      "run, of the program and of its yardstick.\n",
      bench::kMargin * 100);
  bench::start_up_cases(context);
  bench::contact_cases(context);
  bench::goldbach_cases(context);
  bench::line_cases(context);

  // A process starts as a copy of the suite, resident pages and all, before
  // it becomes the program: the smallest peaks can be partly the suite's.
  rusage self{};
  ::getrusage(RUSAGE_SELF, &self);
  std::printf(
      "\nEach process starts as a copy of the suite (%.1f MiB resident at most), which\n"
      "can raise the smallest peaks.\n",
      self.ru_maxrss / 1024.0);
  bool met = context.table.all_met();
  std::printf("%s\n", met ? "Every target met." : "Some targets missed.");
  return met ? 0 : 1;
}
