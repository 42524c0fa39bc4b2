#include <fcntl.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "checker/dialogue.h"
#include "checker/run.h"

namespace check {
namespace {

namespace fs = std::filesystem;

const rlim_t kOutputLimit = 16 << 20;

long long now_ms() {
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1000LL + now.tv_nsec / 1000000;
}

fs::path fresh_folder() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/check.XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("no temporary folder");
  return pattern;
}

std::string read_all(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::string signal_name(int number) {
  switch (number) {
    case SIGSEGV:
      return "segmentation fault (a bad pointer or an array overrun)";
    case SIGABRT:
      return "aborted";
    case SIGFPE:
      return "arithmetic error (a division by zero?)";
    case SIGBUS:
      return "bus error";
    case SIGXFSZ:
      return "wrote more than 16 MB (output without end?)";
    default:
      return std::string("signal ") + ::strsignal(number);
  }
}

// The processor time the process has used so far, in clock ticks: one still
// starting (Wine loading a program) uses some, one waiting for input none.
long long cpu_ticks(pid_t pid) {
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  std::istringstream fields(text.substr(text.rfind(')') + 1));
  std::string field;
  long long used = 0;
  for (int i = 3; i <= 15 && fields >> field; ++i)
    if (i == 14 || i == 15) used += std::atoll(field.c_str());  // user and system time
  return used;
}

bool input_all_read(int fd) {
  int left = 0;
  return ::ioctl(fd, FIONREAD, &left) == 0 && left == 0;
}

}  // namespace

Run run_program(const Launch& launch, const std::map<std::string, std::string>& files,
                const std::string& input) {
  Run run;
  fs::path top = fresh_folder();
  fs::path folder = top / "w";
  fs::create_directory(folder);
  auto disk = [&](const std::string& name) {
    return launch.unicode_names ? converted(true, name) : name;
  };
  for (const auto& [name, content] : files)
    std::ofstream(folder / disk(name), std::ios::binary) << content;

  std::vector<char*> argv;
  for (const std::string& word : launch.command)
    argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  std::string out_path = (top / "out").string(), folder_path = folder.string();
  int in[2], failed[2];
  if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(failed, O_CLOEXEC) != 0)
    throw std::runtime_error("no pipe");
  pid_t child = ::fork();
  if (child == 0) {
    ::setpgid(0, 0);
    // A program that prints without end is stopped before it fills the disk.
    rlimit size{kOutputLimit, kOutputLimit};
    ::setrlimit(RLIMIT_FSIZE, &size);
    int out = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int null = ::open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0 || ::chdir(folder_path.c_str()) != 0 || ::dup2(in[0], 0) < 0 ||
        ::dup2(out, 1) < 0 || ::dup2(null, 2) < 0)
      ::_exit(127);
    ::execvp(argv[0], argv.data());
    int error = errno;
    [[maybe_unused]] ssize_t told = ::write(failed[1], &error, sizeof error);
    ::_exit(127);
  }
  ::close(in[0]);
  ::close(failed[1]);
  int error = 0;
  if (::read(failed[0], &error, sizeof error) == sizeof error)
    run.not_started = std::strerror(error);
  ::close(failed[0]);

  ::signal(SIGPIPE, SIG_IGN);
  ::fcntl(in[1], F_SETFL, O_NONBLOCK);
  std::size_t sent = 0;
  long long start = now_ms(), idle_since = -1, cpu = -1;
  bool closed = false;
  int status = 0;
  for (;;) {
    if (::waitpid(child, &status, WNOHANG) == child) break;
    long long now = now_ms();
    if (now - start > launch.time_limit_ms) {
      ::kill(-child, SIGKILL);
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      run.timed_out = true;
      break;
    }
    if (sent < input.size()) {
      ssize_t n = ::write(in[1], input.data() + sent, input.size() - sent);
      if (n > 0)
        sent += static_cast<std::size_t>(n);
      else if (n < 0 && errno == EPIPE)
        sent = input.size();
    } else if (!closed) {
      long long used = cpu_ticks(child);
      if (!input_all_read(in[1]) || used != cpu)
        idle_since = -1, cpu = used;
      else if (idle_since < 0)
        idle_since = now;
      else if (now - idle_since > launch.idle_ms) {
        ::close(in[1]);
        closed = true;
      }
    }
    ::usleep(2000);
  }
  if (!closed) ::close(in[1]);
  if (!run.timed_out) {
    if (WIFSIGNALED(status))
      run.crash = signal_name(WTERMSIG(status));
    else
      run.status = WEXITSTATUS(status);
    run.waited = closed;
  }
  run.out = read_all(top / "out");
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::string name = entry.path().filename().string();
    run.files[launch.unicode_names ? converted(false, name) : name] = read_all(entry.path());
  }
  std::error_code ignored;
  fs::remove_all(top, ignored);
  return run;
}

std::string own_path() {
  std::error_code error;
  return fs::read_symlink("/proc/self/exe", error).string();
}

}  // namespace check
