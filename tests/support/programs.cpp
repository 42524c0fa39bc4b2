#include "tests/support/programs.h"

#include <iconv.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <vector>

namespace testing_support {
namespace fs = std::filesystem;
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// `text` converted between two encodings, or unchanged when it is not valid
// in the first (a name a test made up of raw bytes).
std::string convert(const char* from, const char* to, const std::string& text) {
  iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out(text.size() * 2 + 4, '\0');
  char* in_at = const_cast<char*>(text.data());
  std::size_t in_left = text.size();
  char* out_at = out.data();
  std::size_t out_left = out.size();
  bool whole = ::iconv(cd, &in_at, &in_left, &out_at, &out_left) != static_cast<std::size_t>(-1);
  ::iconv_close(cd);
  if (!whole) return text;
  out.resize(out.size() - out_left);
  return out;
}

}  // namespace

bool windows_programs() {
  static const bool windows = !environment("COURSEWORK_LAUNCHER").empty();
  return windows;
}

fs::path program_path(const char8_t* deliverable) {
  static const std::vector<fs::path> folders = [] {
    std::vector<fs::path> chosen;
    std::istringstream list(environment("COURSEWORK_PROGRAMS"));
    for (std::string folder; std::getline(list, folder, ':');) {
      if (!folder.empty()) chosen.emplace_back(folder);
    }
    if (chosen.empty()) chosen.push_back(fs::read_symlink("/proc/self/exe").parent_path());
    return chosen;
  }();
  std::u8string name(deliverable);
  if (windows_programs()) name += u8".exe";
  for (const fs::path& folder : folders) {
    if (fs::exists(folder / fs::path(name))) return folder / fs::path(name);
  }
  return folders.front() / fs::path(name);
}

std::vector<std::string> program_command(const char8_t* deliverable) {
  std::vector<std::string> command;
  if (windows_programs()) {
    std::istringstream launcher(environment("COURSEWORK_LAUNCHER"));
    for (std::string word; launcher >> word;)
      command.push_back(word);
  }
  command.push_back(program_path(deliverable).string());
  return command;
}

std::string gbk_as_utf8(const std::string& gbk) {
  return convert("GBK", "UTF-8", gbk);
}

std::string disk_name(const std::string& name) {
  return windows_programs() ? convert("GBK", "UTF-8", name) : name;
}

std::string program_name(const std::string& disk) {
  return windows_programs() ? convert("UTF-8", "GBK", disk) : disk;
}

fs::path file_path(const fs::path& folder, const std::string& name) {
  return folder / disk_name(name);
}

void write_file(const fs::path& folder, const std::string& name, const std::string& content) {
  std::ofstream(file_path(folder, name), std::ios::binary) << content;
}

std::string read_file(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

std::map<std::string, std::string> files_in(const fs::path& folder) {
  std::map<std::string, std::string> all;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = program_name(entry.path().filename().native());
    // The lock file that a Windows contact book leaves beside its book.
    if (entry.is_regular_file() && name != "联系人.txt.lock") all[name] = read_file(entry.path());
  }
  return all;
}

}  // namespace testing_support
