// A save reaches the disk before it is reported: each new file is synced
// before it takes the old one's place and the folder after, and a sync that
// fails is a save that failed. The program runs under strace, which writes
// down its syncs and renames and can make any one sync fail.
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/abuse/abuse.h"

namespace {
using testing_support::Outcome;
using testing_support::ScratchFolder;
using testing_support::Session;

const std::string kContacts = "联系人.txt";
const std::string kFrequent = "常用联系人.txt";
const std::string kOldBook = "Alice      13800000001     10001           1\n";
const std::string kOldFrequent = "an older frequent-contact file\n";
const std::string kNewBook = kOldBook + "Bob        139             20002           1\n";
const std::string kNewFrequent =
    "Alice\t 13800000001\t 10001          \t\nBob\t 139\t 20002          \t\n";

// strace writes a byte that is no printable ASCII as an octal escape.
std::string unescape(const std::string& text) {
  std::string bytes;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 3 < text.size() &&
        std::isdigit(static_cast<unsigned char>(text[i + 1]))) {
      bytes += static_cast<char>(std::stoi(text.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else if (text[i] == '\\' && i + 1 < text.size()) {
      bytes += text[++i];
    } else {
      bytes += text[i];
    }
  }
  return bytes;
}

// A path as the test shows it: relative to the folder, "." for the folder
// itself, and "tmp(联系人)" for a temporary file beside 联系人.txt.
std::string shown(std::string path, const std::string& folder) {
  if (path == folder) return ".";
  if (path.rfind(folder + "/", 0) == 0) path.erase(0, folder.size() + 1);
  if (path.ends_with(".tmp")) return "tmp(" + path.substr(0, path.find('.')) + ")";
  return path;
}

struct Recorded {
  Outcome outcome;
  std::vector<std::string> calls;  // "sync <path>" and "rename <from> <to>", in order
};

// Adds a contact and saves, with the sync numbered `fail` failing (0: none).
Recorded save_under_strace(int fail) {
  ScratchFolder folder;
  const std::string log = folder.path().string() + ".strace";
  const std::string program = testing_support::program_path(u8"联系人").string();
  Session session;
  session.input = "1\nBob 139 20002 1\n6\n0\n1\n";
  session.files = {{kContacts, kOldBook}, {kFrequent, kOldFrequent}};
  // The child becomes strace, which runs the program in its place. (The
  // leak checker of a sanitizer build cannot work under strace.)
  session.in_child = [&] {
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    std::string inject = "inject=fsync:error=EIO:when=" + std::to_string(fail);
    std::vector<const char*> argv = {
        "strace", "-qq",       "-f", "-y",
        "-o",     log.c_str(), "-e", "trace=fsync,fdatasync,rename,renameat,renameat2"};
    if (fail > 0) {
      argv.push_back("-e");
      argv.push_back(inject.c_str());
    }
    argv.push_back(program.c_str());
    argv.push_back(nullptr);
    ::execvp("strace", const_cast<char* const*>(argv.data()));
    ::_exit(127);
  };
  Recorded recorded{testing_support::run_in(folder.path(), u8"联系人", session), {}};
  std::ifstream in(log);
  const std::regex sync(R"re(f(?:data)?sync\(\d+<(.*)>\))re"),
      rename(R"re(rename\("(.*)", "(.*)"\))re");
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_search(line, match, sync)) {
      recorded.calls.push_back("sync " + shown(unescape(match[1]), folder.path().string()));
    } else if (std::regex_search(line, match, rename)) {
      recorded.calls.push_back("rename " + shown(unescape(match[1]), folder.path().string()) + " " +
                               shown(unescape(match[2]), folder.path().string()));
    }
  }
  std::filesystem::remove(log);
  return recorded;
}

TEST(DurableSave, EachFileIsSyncedBeforeItReplacesTheOldOneAndTheFolderAfter) {
  Recorded recorded = save_under_strace(0);
  ASSERT_TRUE(abuse::ended_cleanly(recorded.outcome)) << "is strace installed?";
  ASSERT_NE(recorded.outcome.out.find("<保存成功!>"), std::string::npos);
  const std::vector<std::string> expected = {
      "sync tmp(联系人)",     "rename tmp(联系人) 联系人.txt",         "sync .",
      "sync tmp(常用联系人)", "rename tmp(常用联系人) 常用联系人.txt", "sync .",
  };
  EXPECT_EQ(recorded.calls, expected);
}

TEST(DurableSave, AFailedSyncIsAFailedSaveAndLeavesEachFileWholeAndNoTemporaryFile) {
  struct Case {
    int fail;
    const char* what;
    std::string book, frequent;
  } cases[] = {
      {1, "the new contact file", kOldBook, kOldFrequent},
      {2, "the folder after the contact file", kNewBook, kOldFrequent},
      {3, "the new frequent-contact file", kNewBook, kOldFrequent},
      {4, "the folder after the frequent-contact file", kNewBook, kNewFrequent},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Outcome outcome = save_under_strace(c.fail).outcome;
    ASSERT_TRUE(abuse::ended_cleanly(outcome)) << "is strace installed?";
    EXPECT_NE(outcome.out.find("打不开！"), std::string::npos);
    EXPECT_EQ(outcome.out.find("<保存成功!>"), std::string::npos);
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kContacts], c.book));
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kFrequent], c.frequent));
    EXPECT_EQ(outcome.files.size(), 2u) << "a temporary file was left behind";
  }
}

}  // namespace
