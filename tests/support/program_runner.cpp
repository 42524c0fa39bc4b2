#include "tests/support/program_runner.h"

#include "tests/support/process.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <stdexcept>

namespace testing_support {
namespace fs = std::filesystem;

namespace {

// A file the child gets in place of a pipe; -1 when none is named.
int open_file(const std::string& path, int flags) {
  if (path.empty()) return -1;
  int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0) process::fail("open " + path);
  return fd;
}

// Copies of programs in a folder every user can enter: under /tmp, whatever
// TMPDIR says, since a TMPDIR is often private. Removed when the tests end.
class ReachableCopies {
 public:
  ~ReachableCopies() {
    std::error_code ignored;
    if (!folder_.empty()) fs::remove_all(folder_, ignored);
  }

  fs::path of(const fs::path& program) {
    if (folder_.empty()) {
      char pattern[] = "/tmp/coursework-programs.XXXXXX";
      if (::mkdtemp(pattern) == nullptr) process::fail("mkdtemp");
      folder_ = pattern;
      fs::permissions(folder_, fs::perms(0755));
    }
    fs::path copy = folder_ / program.filename();
    if (!fs::exists(copy)) {
      fs::copy_file(program, copy);
      fs::permissions(copy, fs::perms(0755));
    }
    return copy;
  }

 private:
  fs::path folder_;
};

// The user an unprivileged session runs as.
struct Unprivileged {
  uid_t uid = 65534;
  gid_t gid = 65534;
};

Unprivileged nobody() {
  Unprivileged user;
  if (const passwd* entry = ::getpwnam("nobody")) {
    user.uid = entry->pw_uid;
    user.gid = entry->pw_gid;
  }
  return user;
}

// In the child: becomes `user`, or ends with status 125 and says why.
void drop_privileges(const Unprivileged& user) {
  if (::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0) return;
  static const char message[] = "cannot run as the user nobody\n";
  [[maybe_unused]] ssize_t written = ::write(STDERR_FILENO, message, sizeof message - 1);
  ::_exit(125);
}

}  // namespace

Outcome run_in(const fs::path& folder, const char8_t* deliverable, const Session& session) {
  static const bool pipe_signal_ignored = [] { return ::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();
  (void)pipe_signal_ignored;

  for (const auto& name : session.folders)
    fs::create_directories(file_path(folder, name));
  for (const auto& [name, content] : session.files)
    write_file(folder, name, content);

  // Only root can drop its privileges, and only root needs to; a Windows
  // program keeps the user, whose files' read-only attribute stands for the
  // permissions.
  const bool drop = session.unprivileged && ::geteuid() == 0 && !windows_programs();
  static ReachableCopies reachable;
  std::vector<std::string> command = program_command(deliverable);
  if (drop) command.back() = reachable.of(command.back()).string();
  const Unprivileged user = drop ? nobody() : Unprivileged{};
  const int in_file = open_file(session.input_file, O_RDONLY);
  const int out_file = open_file(session.output_file, O_WRONLY | O_CREAT | O_TRUNC);
  process::Pipes pipes = process::open_pipes();
  const double start_ms = process::now_ms();
  pid_t child = process::start(command, [&] {
    ::dup2(in_file >= 0 ? in_file : pipes.in[0], STDIN_FILENO);
    ::dup2(out_file >= 0 ? out_file : pipes.out[1], STDOUT_FILENO);
    ::dup2(pipes.err[1], STDERR_FILENO);
    if (::chdir(folder.c_str()) != 0) ::_exit(126);
    if (drop) drop_privileges(user);
    if (session.in_child) session.in_child();
  });
  ::close(pipes.in[0]);
  ::close(pipes.out[1]);
  ::close(pipes.err[1]);
  if (in_file >= 0) {
    ::close(in_file);
    ::close(pipes.in[1]);  // the child reads the file; nothing is written to it
    pipes.in[1] = -1;
  }
  if (out_file >= 0) ::close(out_file);

  process::Channels channels{pipes.in[1], session.close_input, pipes.out[0], pipes.err[0]};
  for (int fd : {channels.input, channels.output, channels.error}) {
    if (fd >= 0) process::set_nonblocking(fd);
  }
  Outcome outcome;
  process::exchange(channels, in_file >= 0 ? std::string() : session.input, session.time_limit_ms,
                    child, outcome);
  for (int fd : {channels.input, channels.output, channels.error}) {
    if (fd >= 0) ::close(fd);
  }
  process::reap(child, start_ms, outcome);

  if (session.collect_files) outcome.files = files_in(folder);
  return outcome;
}

Outcome run(const char8_t* deliverable, const Session& session) {
  ScratchFolder folder;
  return run_in(folder.path(), deliverable, session);
}

Outcome run(const char8_t* deliverable, const std::string& input) {
  Session session;
  session.input = input;
  return run(deliverable, session);
}

ScratchFolder::ScratchFolder() {
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base && *base ? base : "/tmp") + "/coursework.XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) process::fail("mkdtemp");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // Undo any permission changes a test made, so everything can be removed.
  for (auto it = fs::recursive_directory_iterator(path_, ignored);
       it != fs::recursive_directory_iterator(); it.increment(ignored)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
  }
  fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ignored);
  fs::remove_all(path_, ignored);
}

void ScratchFolder::write(const std::string& name, const std::string& content) const {
  write_file(path_, name, content);
}

std::string ScratchFolder::read(const std::string& name) const {
  return read_file(path_of(name));
}

std::map<std::string, std::string> ScratchFolder::files() const {
  return files_in(path_);
}

std::string visible(const std::string& bytes) {
  std::string shown;
  for (unsigned char c : bytes) {
    if (c == '\n') {
      shown += "\\n\n";
    } else if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      shown += hex;
    }
  }
  return shown;
}

::testing::AssertionResult same_bytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  std::size_t at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at])
    ++at;
  return ::testing::AssertionFailure()
         << "first difference at byte " << at << " (actual " << actual.size() << " bytes, expected "
         << expected.size() << ")\n--- actual ---\n"
         << visible(actual) << "\n--- expected ---\n"
         << visible(expected);
}

}  // namespace testing_support
