#include "tests/support/terminal_runner.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace testing_support {
namespace {

constexpr char kEndOfFile = 0x04;  // Ctrl-D

[[noreturn]] void fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

long now_ms() {
  timespec t{};
  ::clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
}

void set_nonblocking(int fd) {
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// Line editing and end of file by Ctrl-D as at any terminal; no echo and no
// change to output line breaks, so the output is exactly what was written.
void set_quiet_terminal(int fd) {
  termios mode{};
  if (::tcgetattr(fd, &mode) != 0) fail("tcgetattr");
  mode.c_lflag |= ICANON;
  mode.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL);
  mode.c_oflag &= ~OPOST;
  mode.c_iflag |= IUTF8;
  if (::tcsetattr(fd, TCSANOW, &mode) != 0) fail("tcsetattr");
}

// What reaches the program's input: the typed bytes, then end of file. On a
// terminal Ctrl-D ends input only at the start of a line; after an unfinished
// line the first one hands that line over and a second one is needed.
std::string input_bytes(const TerminalSession& session) {
  std::string bytes = session.typed;
  if (session.end_input && session.input_on_terminal) {
    if (!bytes.empty() && bytes.back() != '\n') bytes += kEndOfFile;
    bytes += kEndOfFile;
  }
  return bytes;
}

void set_locale(const std::map<std::string, std::string>& environment) {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
    ::unsetenv(name);
  for (const auto& [name, value] : environment)
    ::setenv(name.c_str(), value.c_str(), 1);
}

struct Channels {
  int terminal = -1;  // the parent's side of the pseudo-terminal
  int input = -1;     // where typed bytes go: the terminal or a pipe
  int output = -1;    // where output comes from: the terminal or a pipe
  int error = -1;
};

// Moves bytes between the parent and the child until output and error are
// closed (a terminal reports EIO once the child has let go of it) or the time
// limit has passed.
void exchange(Channels& ch, const std::string& input, bool close_input,
              const TerminalSession& session, pid_t child, Outcome& outcome) {
  const long deadline = now_ms() + session.time_limit_ms;
  std::size_t written = 0;
  bool out_open = true, err_open = true;
  auto input_done = [&] {
    if (close_input && ch.input != ch.terminal && ch.input >= 0) {
      ::close(ch.input);
      ch.input = -1;
    }
  };
  if (input.empty()) input_done();
  char chunk[65536];
  while (out_open || err_open) {
    long left = deadline - now_ms();
    if (left <= 0) {
      ::kill(child, SIGKILL);
      outcome.timed_out = true;
      break;
    }
    pollfd fds[3];
    int n = 0, in_slot = -1, out_slot = -1, err_slot = -1;
    if (ch.input >= 0 && written < input.size()) {
      in_slot = n;
      fds[n++] = {ch.input, POLLOUT, 0};
    }
    if (out_open) {
      out_slot = n;
      fds[n++] = {ch.output, POLLIN, 0};
    }
    if (err_open) {
      err_slot = n;
      fds[n++] = {ch.error, POLLIN, 0};
    }
    int ready = ::poll(fds, n, static_cast<int>(left));
    if (ready < 0 && errno != EINTR) fail("poll");
    if (in_slot >= 0 && fds[in_slot].revents) {
      ssize_t w = ::write(ch.input, input.data() + written, input.size() - written);
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
    drain(out_slot, ch.output, outcome.out, out_open);
    drain(err_slot, ch.error, outcome.err, err_open);
  }
}

}  // namespace

std::string utf8(std::u8string_view text) {
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

Outcome run_on_terminal(const char8_t* deliverable, const TerminalSession& session) {
  static const bool pipe_signal_ignored = [] { return ::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)pipe_signal_ignored;

  ScratchFolder folder;
  for (const auto& [name, content] : session.files)
    folder.write(name, content);
  const std::filesystem::path program = program_path(deliverable);

  int master = -1, slave = -1;
  winsize size{};
  size.ws_row = 24;
  size.ws_col = 80;
  if (::openpty(&master, &slave, nullptr, nullptr, &size) != 0) fail("openpty");
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  set_quiet_terminal(slave);
  int in_pipe[2], out_pipe[2], err_pipe[2];
  if (::pipe2(in_pipe, O_CLOEXEC) || ::pipe2(out_pipe, O_CLOEXEC) || ::pipe2(err_pipe, O_CLOEXEC))
    fail("pipe");

  std::fflush(nullptr);
  pid_t child = ::fork();
  if (child < 0) fail("fork");
  if (child == 0) {
    ::signal(SIGPIPE, SIG_DFL);
    ::setsid();
    ::ioctl(slave, TIOCSCTTY, 0);
    ::dup2(session.input_on_terminal ? slave : in_pipe[0], STDIN_FILENO);
    ::dup2(session.output_on_terminal ? slave : out_pipe[1], STDOUT_FILENO);
    ::dup2(err_pipe[1], STDERR_FILENO);
    if (::chdir(folder.path().c_str()) != 0) ::_exit(126);
    set_locale(session.environment);
    const char* argv[] = {program.c_str(), nullptr};
    ::execv(program.c_str(), const_cast<char* const*>(argv));
    ::_exit(127);
  }
  ::close(slave);
  ::close(in_pipe[0]);
  ::close(out_pipe[1]);
  ::close(err_pipe[1]);

  Channels ch;
  ch.terminal = master;
  ch.input = session.input_on_terminal ? master : in_pipe[1];
  ch.output = session.output_on_terminal ? master : out_pipe[0];
  ch.error = err_pipe[0];
  if (session.input_on_terminal) ::close(in_pipe[1]);
  if (session.output_on_terminal) ::close(out_pipe[0]);
  for (int fd : {master, ch.input, ch.output, ch.error})
    set_nonblocking(fd);

  Outcome outcome;
  exchange(ch, input_bytes(session), session.end_input, session, child, outcome);
  for (int fd : {ch.input, ch.output, ch.error, master}) {
    if (fd >= 0 && fd != master) ::close(fd);
  }
  ::close(master);

  int wait_status = 0;
  while (::waitpid(child, &wait_status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(wait_status)) {
    outcome.status = WEXITSTATUS(wait_status);
  } else if (WIFSIGNALED(wait_status)) {
    outcome.signal = WTERMSIG(wait_status);
  }
  outcome.files = folder.files();
  return outcome;
}

}  // namespace testing_support
