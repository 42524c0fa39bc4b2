#include "tests/support/process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace testing_support::process {

void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

double now_ms() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void set_nonblocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

Pipes open_pipes() {
  Pipes pipes{};
  if (::pipe2(pipes.in, O_CLOEXEC) || ::pipe2(pipes.out, O_CLOEXEC) ||
      ::pipe2(pipes.err, O_CLOEXEC))
    fail("pipe");
  return pipes;
}

pid_t start(const std::vector<std::string>& command, const std::function<void()>& prepare) {
  std::vector<char*> argv;
  for (const auto& word : command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::fflush(nullptr);  // nothing buffered in the parent is written twice
  pid_t child = ::fork();
  if (child < 0) fail("fork");
  if (child == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    prepare();
    ::execvp(argv[0], argv.data());
    ::_exit(127);
  }
  return child;
}

void exchange(Channels& channels, const std::string& input, int time_limit_ms, pid_t child,
              Outcome& outcome) {
  const double deadline = now_ms() + time_limit_ms;
  std::size_t written = 0;
  auto input_done = [&] {
    if (channels.close_input && channels.input >= 0) {
      ::close(channels.input);
      channels.input = -1;
    }
  };
  if (input.empty()) input_done();
  bool out_open = true, err_open = true;
  char chunk[65536];
  while (out_open || err_open) {
    double left = deadline - now_ms();
    if (left <= 0) {
      ::kill(child, SIGKILL);
      outcome.timed_out = true;
      break;
    }
    pollfd fds[3];
    int n = 0, in_slot = -1, out_slot = -1, err_slot = -1;
    if (channels.input >= 0 && written < input.size()) {
      in_slot = n;
      fds[n++] = {channels.input, POLLOUT, 0};
    }
    if (out_open) {
      out_slot = n;
      fds[n++] = {channels.output, POLLIN, 0};
    }
    if (err_open) {
      err_slot = n;
      fds[n++] = {channels.error, POLLIN, 0};
    }
    int ready = ::poll(fds, n, static_cast<int>(left) + 1);
    if (ready < 0 && errno != EINTR) fail("poll");
    if (ready <= 0) continue;
    if (in_slot >= 0 && fds[in_slot].revents) {
      ssize_t w = ::write(channels.input, input.data() + written, input.size() - written);
      if (w > 0) written += static_cast<std::size_t>(w);
      if (w < 0 && errno != EAGAIN && errno != EINTR) written = input.size();
      if (written == input.size()) input_done();
    }
    auto drain = [&](int slot, int fd, std::string& into, bool& open) {
      if (slot < 0 || !fds[slot].revents) return;
      ssize_t r = ::read(fd, chunk, sizeof chunk);
      if (r > 0) {
        into.append(chunk, static_cast<std::size_t>(r));
      } else if (r == 0 || (errno != EAGAIN && errno != EINTR)) {
        open = false;  // end of a pipe, or EIO from a terminal nobody holds
      }
    };
    drain(out_slot, channels.output, outcome.out, out_open);
    drain(err_slot, channels.error, outcome.err, err_open);
  }
}

void reap(pid_t child, double start_ms, Outcome& outcome) {
  if (outcome.timed_out) ::kill(child, SIGKILL);
  int wait_status = 0;
  rusage usage{};
  while (::wait4(child, &wait_status, 0, &usage) < 0 && errno == EINTR) {
  }
  outcome.wall_ms = now_ms() - start_ms;
  outcome.peak_kib = usage.ru_maxrss;
  if (WIFEXITED(wait_status)) {
    outcome.status = WEXITSTATUS(wait_status);
  } else if (WIFSIGNALED(wait_status)) {
    outcome.signal = WTERMSIG(wait_status);
  }
}

}  // namespace testing_support::process
