// Times the Goldbach split: the 偶数分解 program as a whole process, started
// next to this benchmark with the number on its standard input, and the
// search function alone, for a few numbers from the table's limit up to the
// top of the int range. Prints milliseconds; measures, never judges.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "numeric/goldbach.h"

extern char** environ;

namespace {

constexpr int kRuns = 15;
constexpr int kNumbers[] = {104742, 10000002, 2147483646};

double now_ms() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

struct Figures {
  double least;
  double median;
  double most;
};

Figures figures_of(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return {times.front(), times[times.size() / 2], times.back()};
}

// One run of the program with `input` on its standard input and its output
// thrown away; the wall time from start to exit, or a negative number when it
// could not be run.
double time_process(const std::filesystem::path& program, const std::string& input) {
  int pipe_ends[2];
  if (pipe(pipe_ends) != 0) return -1;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe_ends[0], STDIN_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipe_ends[1]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);

  std::string path = program.string();
  char* argv[] = {path.data(), nullptr};
  double start = now_ms();
  pid_t child = 0;
  int failed = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipe_ends[0]);
  bool written = !failed && write(pipe_ends[1], input.data(), input.size()) ==
                                static_cast<ssize_t>(input.size());
  close(pipe_ends[1]);
  if (failed) return -1;
  int status = 0;
  waitpid(child, &status, 0);
  double elapsed = now_ms() - start;
  return written && WIFEXITED(status) && WEXITSTATUS(status) == 0 ? elapsed : -1;
}

std::filesystem::path program_beside_me() {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() /
         std::filesystem::path(u8"偶数分解");
}

}  // namespace

int main() {
  std::signal(SIGPIPE, SIG_IGN);  // a program that ends unread fails its run, not the benchmark
  std::filesystem::path program = program_beside_me();
  std::printf("Goldbach split, %d runs each: least / median / most, in ms\n", kRuns);
  std::printf("%12s %28s %28s   pair\n", "n", "whole process", "search alone");
  for (int n : kNumbers) {
    std::vector<double> process_times;
    std::vector<double> search_times;
    std::optional<goldbach::Pair> pair;
    for (int run = 0; run < kRuns; ++run) {
      double elapsed = time_process(program, std::to_string(n) + "\n");
      if (elapsed < 0) {
        std::printf("cannot run %s\n", program.c_str());
        return 1;
      }
      process_times.push_back(elapsed);
      double start = now_ms();
      pair = goldbach::split(n);
      search_times.push_back(now_ms() - start);
    }
    Figures process = figures_of(process_times);
    Figures search = figures_of(search_times);
    std::printf("%12d %8.3f %8.3f %8.3f    %8.3f %8.3f %8.3f   %d+%d\n", n, process.least,
                process.median, process.most, search.least, search.median, search.most,
                pair ? pair->first : 0, pair ? pair->second : 0);
  }
  return 0;
}
