// 检查: runs the exercises' dialogues against a student's programs.
//   检查 PATH...        each PATH a program, or a folder of programs named
//                       as the exercises (联系人, 录入, ... NAME.exe too)
//   检查 --class DIR    DIR holds one folder per student: a table of the
//                       dialogues passed, also written to DIR/check.csv
// The dialogues are found in the folder `dialogues` beside the program, or
// in the one --dialogues names.
#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#ifndef _WIN32
#include <mutex>
#include <thread>
#endif
#include <optional>
#include <sstream>

#include "checker/dialogue.h"
#include "checker/run.h"
#include "checker/screen.h"
#include "checker/verdict.h"
#include "programs_table.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace fs = std::filesystem;
using namespace check;

namespace {

std::string u8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

std::string utf8(const fs::path& path) {
  return u8(path.u8string().c_str());
}

fs::path path_of(const std::string& utf8_text) {
  return fs::path(std::u8string(utf8_text.begin(), utf8_text.end()));
}

// Each dialogue's time limit in seconds (--time-limit, for the checker's
// own tests).
int time_limit_s = 10;

// A program found in a folder: the exercise it answers and its file.
struct Found {
  std::string name;  // the exercise's name, UTF-8
  fs::path file;
  bool windows = false;
};

struct Result {
  int passed = 0, total = 0;
  bool skipped = false;
  std::string failure;  // the first failing dialogue: its name and reason
  std::string report;
};

std::string program_name_of(const fs::path& file, bool& windows) {
  std::string stem = utf8(file.filename());
  windows = stem.size() > 4 && (stem.ends_with(".exe") || stem.ends_with(".EXE"));
  if (windows) stem.resize(stem.size() - 4);
  for (const ProgramEntry& entry : kProgramTable)
    if (stem == u8(entry.name)) return stem;
  return "";
}

std::vector<Found> find_programs(const fs::path& path) {
  std::vector<Found> found;
  std::error_code error;
  if (fs::is_directory(path, error)) {
    for (const ProgramEntry& entry : kProgramTable) {
      for (const char* suffix : {"", ".exe"}) {
        fs::path file = path / path_of(u8(entry.name) + suffix);
        if (fs::is_regular_file(file, error)) {
          found.push_back({u8(entry.name), file, *suffix != '\0'});
          break;
        }
      }
    }
  } else if (fs::is_regular_file(path, error)) {
    bool windows = false;
    std::string name = program_name_of(path, windows);
    if (!name.empty()) found.push_back({name, path, windows});
  }
  return found;
}

#ifndef _WIN32
bool on_path(const std::string& command) {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && ::access((folder + "/" + command).c_str(), X_OK) == 0) return true;
  return false;
}
#endif

// How a program is started: Linux programs as they are, Windows programs
// through Wine (or the launcher COURSEWORK_LAUNCHER names), or on Windows
// as they are.
std::optional<Launch> launch_for(const Found& program) {
  Launch launch;
#ifndef _WIN32
  if (program.windows) {
    const char* launcher = std::getenv("COURSEWORK_LAUNCHER");
    if (launcher && *launcher) {
      std::istringstream words(launcher);
      for (std::string word; words >> word;)
        launch.command.push_back(word);
    } else if (on_path("wine")) {
      // Wine keeps fixed addresses that address randomisation may take.
      if (on_path("setarch")) launch.command = {"setarch", "-R"};
      launch.command.push_back("wine");
    } else {
      return std::nullopt;
    }
    launch.unicode_names = true;
  }
#else
  launch.unicode_names = true;
#endif
  launch.command.push_back(fs::absolute(program.file).string());
  launch.time_limit_ms = 1000 * std::max(1, time_limit_s);
  launch.idle_ms = std::min(launch.idle_ms, launch.time_limit_ms / 2);
  return launch;
}

// Each program's dialogues, read once.
const std::vector<Dialogue>& dialogues_of(const std::string& name, const fs::path& folder) {
  static std::map<std::string, std::vector<Dialogue>> read;
#ifndef _WIN32
  static std::mutex once;
  std::lock_guard lock(once);
#endif
  auto found = read.find(name);
  if (found == read.end()) found = read.emplace(name, load_dialogues(folder / path_of(name))).first;
  return found->second;
}

Result check_program(const Found& program, const fs::path& dialogues) {
  Result result;
  std::optional<Launch> launch = launch_for(program);
  if (!launch) {
    result.skipped = true;
    return result;
  }
  const std::vector<Dialogue>& all = dialogues_of(program.name, dialogues);
  result.total = static_cast<int>(all.size());
  for (const Dialogue& dialogue : all) {
    Verdict verdict = judge(
        dialogue, run_program(*launch, starting_files(dialogue), dialogue.input), program.windows);
    if (verdict.passed) {
      ++result.passed;
    } else if (result.failure.empty()) {
      std::string file = utf8(dialogue.path.filename());
      result.failure = file + ": " + verdict.reason;
      result.report = "  dialogue " + file + " (" + dialogue.title + ")\n" + verdict.report;
    }
  }
  return result;
}

std::string cell(const Result& result) {
  if (result.skipped) return "skipped";
  return std::to_string(result.passed) + "/" + std::to_string(result.total);
}

std::string names_looked_for() {
  std::string names;
  for (const ProgramEntry& entry : kProgramTable)
    names += (names.empty() ? "" : ", ") + u8(entry.name);
  return names;
}

int check_paths(const std::vector<fs::path>& paths, const fs::path& dialogues, Screen& screen) {
  std::vector<Found> programs;
  for (const fs::path& path : paths) {
    std::vector<Found> found = find_programs(path);
    programs.insert(programs.end(), found.begin(), found.end());
  }
  if (programs.empty()) {
    screen.say("No program found. The checker looks for programs named as the exercises: " +
               names_looked_for() + " (on Windows, NAME.exe).\n");
    return 2;
  }
  bool all_passed = true, any_checked = false;
  for (const Found& program : programs) {
    Result result = check_program(program, dialogues);
    std::string name = utf8(program.file.filename());
    if (result.skipped) {
      screen.say(name + "  skipped: no Wine to run Windows programs\n");
      continue;
    }
    any_checked = true;
    screen.say(name + "  " + cell(result) + " dialogues passed\n");
    if (result.passed != result.total) {
      all_passed = false;
      screen.say("  first failing dialogue: " + result.failure + "\n" + result.report);
    }
  }
  return all_passed && any_checked ? 0 : 1;
}

int check_class(const fs::path& folder, const fs::path& dialogues, Screen& screen) {
  std::vector<fs::path> students;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(folder, error))
    if (entry.is_directory()) students.push_back(entry.path());
  std::sort(students.begin(), students.end());
  const std::size_t count = std::size(kProgramTable);
  std::vector<std::vector<std::optional<Result>>> table(students.size(),
                                                        std::vector<std::optional<Result>>(count));
  std::vector<std::pair<std::size_t, Found>> jobs;
  for (std::size_t s = 0; s < students.size(); ++s)
    for (const Found& program : find_programs(students[s]))
      jobs.push_back({s, program});
  if (jobs.empty()) {
    screen.say("No program found in the students' folders of " + folder.string() +
               ". The checker looks for programs named as the exercises: " + names_looked_for() +
               ".\n");
    return 2;
  }
  // Each job fills a cell of its own.
  std::atomic<std::size_t> next = 0;
  auto work = [&] {
    for (std::size_t j; (j = next++) < jobs.size();) {
      std::size_t column = 0;
      while (u8(kProgramTable[column].name) != jobs[j].second.name)
        ++column;
      table[jobs[j].first][column] = check_program(jobs[j].second, dialogues);
    }
  };
#ifdef _WIN32
  work();  // this runtime has no threads: one program after another
#else
  std::vector<std::thread> workers;
  for (unsigned i = 0; i < std::max(2u, std::thread::hardware_concurrency()); ++i)
    workers.emplace_back(work);
  for (std::thread& worker : workers)
    worker.join();
#endif

  std::string text = "student", csv = "student";
  for (const ProgramEntry& entry : kProgramTable) {
    text += "\t" + u8(entry.name);
    csv += "," + u8(entry.name);
  }
  text += "\n", csv += "\n";
  std::string failures;
  bool all_passed = true;
  for (std::size_t s = 0; s < students.size(); ++s) {
    std::string student = utf8(students[s].filename());
    text += student, csv += student;
    std::string first;
    for (std::size_t p = 0; p < count; ++p) {
      const std::optional<Result>& result = table[s][p];
      std::string shown_cell = result ? cell(*result) : "-";
      text += "\t" + shown_cell, csv += "," + shown_cell;
      if (result && !result->skipped && result->passed != result->total) {
        all_passed = false;
        if (first.empty()) first = u8(kProgramTable[p].name) + ", " + result->failure;
      }
      if (!result) all_passed = false;
    }
    text += "\n", csv += "\n";
    if (!first.empty()) failures += "  " + student + ": " + first + "\n";
  }
  std::ofstream(folder / "check.csv", std::ios::binary) << csv;
  screen.say(text + "(- no such program; the table is also in " + (folder / "check.csv").string() +
             ")\n");
  if (!failures.empty()) screen.say("\nEach student's first failure:\n" + failures);
  return all_passed ? 0 : 1;
}

fs::path default_dialogues() {
  fs::path beside = fs::path(own_path()).parent_path() / "dialogues";
  std::error_code error;
  if (fs::is_directory(beside, error)) return beside;
  return fs::path(std::u8string(COURSEWORK_DIALOGUES));
}

int usage(Screen& screen) {
  screen.say(
      "usage: check PATH...       each PATH a program or a folder of programs\n"
      "       check --class DIR   DIR holds one folder per student\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  Screen screen;
  std::vector<std::string> args = screen.arguments(argc, argv);
  fs::path dialogues = default_dialogues();
  bool whole_class = false;
  std::vector<fs::path> paths;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dialogues" && i + 1 < args.size())
      dialogues = path_of(args[++i]);
    else if (args[i] == "--class")
      whole_class = true;
    else if (args[i] == "--time-limit" && i + 1 < args.size())
      time_limit_s = std::atoi(args[++i].c_str());
    else if (args[i].rfind("-", 0) == 0)
      return usage(screen);
    else
      paths.push_back(path_of(args[i]));
  }
  if (paths.empty()) paths = screen.default_paths();
  if (paths.empty() || (whole_class && paths.size() != 1)) return usage(screen);
  int status = 2;
  try {
    status = whole_class ? check_class(paths[0], dialogues, screen)
                         : check_paths(paths, dialogues, screen);
  } catch (const std::exception& fault) {
    screen.say(std::string("check: ") + fault.what() + "\n");
  }
  screen.finish();
  return status;
}
