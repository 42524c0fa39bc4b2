// What both runners do with a child process once it is started: feed it its
// input, collect what it writes, and reap it.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace testing_support::process {

[[noreturn]] void fail(const std::string& what);

// The monotonic clock in milliseconds. (<chrono> cannot be compiled with GBK
// literals: the library spells a unit with a character GBK lacks.)
double now_ms();

void set_nonblocking(int fd);

// Three pipes for the child's standard input, output and error; [0] is the
// reading end, [1] the writing end, both closed on exec.
struct Pipes {
  int in[2], out[2], err[2];
};
Pipes open_pipes();

// Forks a child that restores the default SIGPIPE, runs `prepare` (its
// redirections, working folder and environment) and runs `command`: a
// program and its arguments, the program looked up in PATH when its name
// has no slash.
pid_t start(const std::vector<std::string>& command, const std::function<void()>& prepare);

// The parent's ends of the child's standard streams, all non-blocking.
struct Channels {
  int input = -1;           // -1 when nothing is to be written
  bool close_input = true;  // close `input` once everything is written (end of input)
  int output = -1;
  int error = -1;
};

// Writes `input` to the child and collects its output and error until both
// are closed (or report EIO, as a terminal nobody holds does), or kills the
// child when the time limit passes. Closes `channels.input` when it closes
// it, and sets it to -1.
void exchange(Channels& channels, const std::string& input, int time_limit_ms, pid_t child,
              Outcome& outcome);

// Waits for the child and records how it ended, its peak memory and the
// wall time since `start_ms`.
void reap(pid_t child, double start_ms, Outcome& outcome);

}  // namespace testing_support::process
