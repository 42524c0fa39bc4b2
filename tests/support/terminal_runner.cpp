#include "tests/support/terminal_runner.h"

#include "tests/support/process.h"
#include "tests/support/screen.h"

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

constexpr char kEndOfFile = 0x04;         // Ctrl-D
constexpr char kConsoleEndOfFile = 0x1A;  // Ctrl-Z
constexpr char kEnter = '\r';
// Wide enough that no line a program prints is wrapped by the console.
constexpr unsigned short kConsoleColumns = 400;

// Line editing and end of file by Ctrl-D as at any terminal; no echo and no
// change to output line breaks, so the output is exactly what was written.
void set_quiet_terminal(int fd) {
  termios mode{};
  if (::tcgetattr(fd, &mode) != 0) process::fail("tcgetattr");
  mode.c_lflag |= ICANON;
  mode.c_lflag &= ~(ECHO | ECHOE | ECHOK | ECHONL);
  mode.c_oflag &= ~OPOST;
  mode.c_iflag |= IUTF8;
  if (::tcsetattr(fd, TCSANOW, &mode) != 0) process::fail("tcsetattr");
}

// The terminal of a console program: the console reads keys as they come,
// and writes what it shows as it stands.
void set_raw_terminal(int fd) {
  termios mode{};
  if (::tcgetattr(fd, &mode) != 0) process::fail("tcgetattr");
  ::cfmakeraw(&mode);
  if (::tcsetattr(fd, TCSANOW, &mode) != 0) process::fail("tcsetattr");
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

// The keys typed at a console: each line ends with Enter, and Ctrl-Z, Enter
// ends the input.
std::string console_keys(const TerminalSession& session) {
  std::string keys = session.typed;
  for (char& c : keys) {
    if (c == '\n') c = kEnter;
  }
  if (session.end_input) keys += std::string{kConsoleEndOfFile, kEnter};
  return keys;
}

void set_locale(const std::map<std::string, std::string>& environment) {
  for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"})
    ::unsetenv(name);
  for (const auto& [name, value] : environment)
    ::setenv(name.c_str(), value.c_str(), 1);
}

// A Windows program runs under the launcher through a console helper that
// turns off the console's echo of what is typed, as the quiet terminal does.
std::vector<std::string> terminal_command(const char8_t* deliverable, Started started) {
  if (!windows_programs() || started == Started::by_the_launcher)
    return program_command(deliverable);
  std::vector<std::string> command = program_command(u8"no_echo");
  if (started == Started::from_explorer) command.push_back("/alone");
  command.push_back(program_path(deliverable).string());
  return command;
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
  const bool console = windows_programs();

  int master = -1, slave = -1;
  winsize size{};
  size.ws_row = 24;
  size.ws_col = console ? kConsoleColumns : 80;
  if (::openpty(&master, &slave, nullptr, nullptr, &size) != 0) process::fail("openpty");
  ::fcntl(master, F_SETFD, FD_CLOEXEC);
  ::fcntl(slave, F_SETFD, FD_CLOEXEC);
  if (console) {
    set_raw_terminal(slave);
  } else {
    set_quiet_terminal(slave);
  }
  process::Pipes pipes = process::open_pipes();
  const double start_ms = process::now_ms();
  pid_t child = process::start(terminal_command(deliverable, session.started), [&] {
    ::setsid();
    ::ioctl(slave, TIOCSCTTY, 0);
    ::dup2(session.input_on_terminal ? slave : pipes.in[0], STDIN_FILENO);
    ::dup2(session.output_on_terminal ? slave : pipes.out[1], STDOUT_FILENO);
    ::dup2(pipes.err[1], STDERR_FILENO);
    if (::chdir(folder.path().c_str()) != 0) ::_exit(126);
    if (!console) set_locale(session.environment);
  });
  ::close(slave);
  ::close(pipes.in[0]);
  ::close(pipes.out[1]);
  ::close(pipes.err[1]);

  process::Channels channels;
  channels.input = session.input_on_terminal ? master : pipes.in[1];
  // Typed input ends with Ctrl-D; only a pipe is closed at the end of input.
  channels.close_input = session.end_input && !session.input_on_terminal;
  channels.output = session.output_on_terminal ? master : pipes.out[0];
  channels.error = pipes.err[0];
  if (session.input_on_terminal) ::close(pipes.in[1]);
  if (session.output_on_terminal) ::close(pipes.out[0]);
  for (int fd : {master, channels.input, channels.output, channels.error})
    process::set_nonblocking(fd);

  Outcome outcome;
  const std::string typed =
      console && session.input_on_terminal ? console_keys(session) : input_bytes(session);
  process::exchange(channels, typed, session.time_limit_ms, child, outcome);
  for (int fd : {channels.input, channels.output, channels.error}) {
    if (fd >= 0 && fd != master) ::close(fd);
  }
  ::close(master);
  process::reap(child, start_ms, outcome);
  if (console && session.output_on_terminal) outcome.out = shown_text(outcome.out);
  outcome.files = folder.files();
  return outcome;
}

}  // namespace testing_support
