// The set-up step that ./try and ./test share: it installs exactly what is
// missing, through sudo when not root, and stops with a clear message where
// it cannot. It runs here on a PATH of its own: links to the real tools,
// less those a case hides, and fake apt-get, sudo and id that record their
// calls instead of installing anything.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
namespace fs = std::filesystem;
using testing_support::ScratchFolder;

// A path quoted for the shell.
std::string quoted(const fs::path& path) {
  std::string text = "'";
  for (char c : path.native())
    text += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return text + "'";
}

fs::path real_tool(const std::string& name) {
  std::istringstream path(std::getenv("PATH"));
  for (std::string folder; std::getline(path, folder, ':');) {
    fs::path candidate = fs::path(folder) / name;
    if (!folder.empty() && ::access(candidate.c_str(), X_OK) == 0) return candidate;
  }
  return {};
}

void write_script(const fs::path& path, const std::string& body) {
  std::ofstream(path) << "#!/bin/sh\n" << body;
  fs::permissions(path, fs::perms(0755));
}

struct Machine {
  std::vector<std::string> hidden;  // tools left off PATH
  const char* uid = "0";            // what `id -u` says
  bool apt = true;                  // apt-get is on PATH
  bool sudo = true;                 // sudo is on PATH
  int apt_status = 0;               // how apt-get ends
  bool sudo_asks_password = false;  // sudo runs nothing without one
};

struct Result {
  int status = -1;
  std::string output;  // standard output and error
  std::string calls;   // the fake commands' arguments, a line a call
};

// `errors`: where the script's standard error goes (with its output, or away).
Result set_up(const Machine& machine, const std::string& parts, const char* errors = "2>&1") {
  ScratchFolder folder;
  const fs::path bin = folder.path() / "bin", log = folder.path() / "calls";
  fs::create_directory(bin);
  for (const char* tool : {"g++", "cmake", "ninja", "iconv", "strace"}) {
    if (std::find(machine.hidden.begin(), machine.hidden.end(), tool) != machine.hidden.end())
      continue;
    fs::path real = real_tool(tool);
    EXPECT_FALSE(real.empty()) << tool << " is not on PATH";
    fs::create_symlink(real, bin / tool);
  }
  write_script(bin / "id", std::string("echo ") + machine.uid + "\n");
  if (machine.apt) {
    write_script(bin / "apt-get", "echo \"apt-get $*\" >>" + quoted(log) +
                                      "\necho 'Reading package lists...'\nexit " +
                                      std::to_string(machine.apt_status) + "\n");
  }
  // `sudo -n` runs its command only where sudo needs no password; a sudo
  // that asks for one is recorded as asking.
  if (machine.sudo && machine.sudo_asks_password) {
    write_script(bin / "sudo", "[ \"$1\" = -n ] || echo 'asked for a password' >>" + quoted(log) +
                                   "\necho 'sudo: a password is required' >&2\nexit 1\n");
  } else if (machine.sudo) {
    write_script(bin / "sudo", "if [ \"$1\" = -n ]; then shift; else printf 'sudo ' >>" +
                                   quoted(log) + "; fi\n\"$@\"\n");
  }

  const std::string command = "PATH=" + quoted(bin) + " /bin/bash " +
                              quoted(fs::path(std::u8string(SETUP_SCRIPT))) + " " + parts + " " +
                              errors + " </dev/null";
  Result result;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char chunk[4096];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
    result.output.append(chunk, n);
  int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.calls = folder.read("calls");
  return result;
}

TEST(Setup, InstallsExactlyWhatIsMissingOrSaysWhyItCannot) {
  struct Case {
    const char* what;
    Machine machine;
    std::string parts;
    bool succeeds;
    std::vector<std::string> said;  // each appears in the output
    std::string calls;
  } cases[] = {
      {"everything there, as root", Machine(), "build tests", true, {}, ""},
      {"everything there, as a user", {.hidden = {}, .uid = "1000"}, "build tests", true, {}, ""},
      {"ninja missing, as root",
       {.hidden = {"ninja"}},
       "build tests",
       true,
       {"ninja", "ninja-build"},
       "apt-get update -q\napt-get install -y -q --no-install-recommends ninja-build\n"},
      {"a compiler and cmake missing, as a user",
       {.hidden = {"g++", "cmake"}, .uid = "1000"},
       "build",
       true,
       {"g++", "cmake", "sudo"},
       "sudo apt-get update -q\nsudo apt-get install -y -q --no-install-recommends g++ cmake\n"},
      {"cmake missing, as a user without sudo",
       {.hidden = {"cmake"}, .uid = "1000", .sudo = false},
       "build",
       false,
       {"cmake", "sudo", "'apt-get install --no-install-recommends cmake' as root"},
       ""},
      {"cmake missing, as a user whose sudo asks for a password",
       {.hidden = {"cmake"}, .uid = "1000", .sudo_asks_password = true},
       "build",
       false,
       {"cmake", "password", "'apt-get install --no-install-recommends cmake' as root"},
       ""},
      {"iconv missing, no apt-get",
       {.hidden = {"iconv"}, .apt = false},
       "build",
       false,
       {"iconv", "no apt-get"},
       ""},
      {"apt-get fails",
       {.hidden = {"ninja"}, .apt_status = 100},
       "build",
       false,
       {},
       "apt-get update -q\n"},
      {"a part that does not exist", Machine(), "build testing", false, {"testing"}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Result result = set_up(c.machine, c.parts);
    EXPECT_EQ(result.status == 0, c.succeeds) << result.output;
    if (c.said.empty() && c.succeeds) {
      EXPECT_EQ(result.output, "");  // nothing to install: nothing said
    }
    for (const auto& words : c.said)
      EXPECT_NE(result.output.find(words), std::string::npos) << words << " in:\n" << result.output;
    EXPECT_EQ(result.calls, c.calls);
  }
}

// What apt-get says while it installs is progress, as the build's is: it goes
// to standard error, never into the output of ./try's program.
TEST(Setup, AptSpeaksOnStandardError) {
  Result result = set_up({.hidden = {"ninja"}}, "build", "2>/dev/null");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.output, "");
  EXPECT_NE(result.calls.find("apt-get install"), std::string::npos) << result.calls;
}

}  // namespace
