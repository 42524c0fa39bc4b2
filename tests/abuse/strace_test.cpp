// A save reaches the disk before it is reported: each new file is synced
// before it takes the old one's place and the folder after, the book last,
// and a call that fails is a save that failed, with the book as it was. The
// program runs under strace, which writes down its syncs and renames and can
// make any one call fail.
#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/abuse/abuse.h"
#include "tests/support/contact_book.h"

namespace {
using testing_support::contains;
using testing_support::Outcome;
using testing_support::same_bytes;
using testing_support::ScratchFolder;
using testing_support::Session;

using contact_book::kContacts;
using contact_book::kFrequent;
const std::string& kOldBook = contact_book::kOneContactBook;
const std::string kOldFrequent = "an older frequent-contact file\n";

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

// Runs the program in `folder` under strace, with the options given (what to
// write down in `log`, what to make fail). The child becomes strace, which
// runs the program in its place. (The leak checker of a sanitizer build
// cannot work under strace.)
Outcome under_strace(const char8_t* deliverable, Session session, const std::string& folder,
                     const std::vector<std::string>& options) {
  const std::string program = testing_support::program_path(deliverable).string();
  session.in_child = [&] {
    ::setenv("ASAN_OPTIONS", "detect_leaks=0", 1);
    std::vector<const char*> argv = {"strace", "-qq", "-f", "-y"};
    for (const std::string& option : options)
      argv.push_back(option.c_str());
    argv.push_back(program.c_str());
    argv.push_back(nullptr);
    ::execvp("strace", const_cast<char* const*>(argv.data()));
    ::_exit(127);
  };
  return testing_support::run_in(folder, deliverable, session);
}

// What a killed save left beside each file.
const std::string kLeftover = "left by a killed save\n";
const std::string kBookLeftover = kContacts + ".~saving.tmp";
const std::string kFrequentLeftover = kFrequent + ".~saving.tmp";

// Adds a contact and saves, with the call `fail` ("fsync:error=EIO:when=2",
// empty for none) failing.
Recorded save_under_strace(const std::string& fail) {
  ScratchFolder folder;
  const std::string log = folder.path().string() + ".strace";
  Session session;
  session.input = "1\nBob 139 20002 1\n6\n0\n1\n";
  session.files = {{kContacts, kOldBook},
                   {kFrequent, kOldFrequent},
                   {kBookLeftover, kLeftover},
                   {kFrequentLeftover, kLeftover}};
  std::vector<std::string> options = {"-o", log, "-e",
                                      "trace=fsync,fdatasync,rename,renameat,renameat2,unlink"};
  if (!fail.empty()) {
    options.push_back("-e");
    options.push_back("inject=" + fail);
  }
  Recorded recorded{under_strace(u8"联系人", session, folder.path().string(), options), {}};
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

TEST(DurableSave, EachFileIsSyncedBeforeItReplacesTheOldOneAndTheFolderAfterTheBookLast) {
  Recorded recorded = save_under_strace("");
  ASSERT_TRUE(abuse::ended_cleanly(recorded.outcome)) << "is strace installed?";
  ASSERT_NE(recorded.outcome.out.find("<保存成功!>"), std::string::npos);
  const std::vector<std::string> expected = {
      "sync tmp(常用联系人)", "rename tmp(常用联系人) 常用联系人.txt", "sync .",
      "sync tmp(联系人)",     "rename tmp(联系人) 联系人.txt",         "sync .",
  };
  EXPECT_EQ(recorded.calls, expected);
  EXPECT_EQ(recorded.outcome.files.size(), 2u) << "what the killed save left is still there";
}

// A failure at any step leaves the book byte for byte as it was, and says
// so; only the folder's sync after the book took its place comes too late
// for that, and is said in words of its own.
TEST(DurableSave, AFailedCallOfTheSaveLeavesTheBookAsItWasOrSaysItMayNotBeOnTheDisk) {
  enum Result { failed, unsynced, saved };
  struct Case {
    std::string call;  // the call that fails, numbered among its kind
    Result result;
    bool frequent_new;
  } cases[] = {
      {"unlink:when=1", failed, false},  // the frequent file's leftover stays in the way
      {"fsync:when=1", failed, false},  {"rename:when=1", failed, false},
      {"fsync:when=2", failed, true},   {"unlink:when=2", failed, true},
      {"fsync:when=3", failed, true},   {"rename:when=2", failed, true},
      {"fsync:when=4", unsynced, true},
  };
  const std::string said[] = {"打不开！", "通信录已写好，但没能确认它已存到磁盘上，请再保存一次！",
                              "<保存成功!>"};
  for (const Case& c : cases) {
    for (const char* error : {"EIO", "EROFS", "ENOSPC", "EACCES"}) {
      const std::string fail =
          c.call.substr(0, c.call.find(':')) + ":error=" + error + c.call.substr(c.call.find(':'));
      SCOPED_TRACE(fail);
      Outcome outcome = save_under_strace(fail).outcome;
      ASSERT_TRUE(abuse::ended_cleanly(outcome)) << "is strace installed?";
      for (Result r : {failed, unsynced, saved})
        EXPECT_EQ(outcome.out.find(said[r]) != std::string::npos, r == c.result) << said[r];
      if (c.result == failed)
        EXPECT_TRUE(same_bytes(outcome.files[kContacts], kOldBook));
      else
        EXPECT_TRUE(contains(outcome.files[kContacts], "Bob"));
      EXPECT_EQ(outcome.files[kFrequent] != kOldFrequent, c.frequent_new);
      for (const auto& [name, content] : outcome.files)
        EXPECT_TRUE(name == kContacts || name == kFrequent || content == kLeftover)
            << name << ": a temporary file of this save was left behind";
    }
  }
}

// The numbers of the reads, counting from 1, that a run of the program makes
// of its file `name`.
std::vector<int> reads_of(const abuse::Program& program, const Session& session,
                          const std::string& name) {
  ScratchFolder folder;
  const std::string log = folder.path().string() + ".strace";
  under_strace(program.name, session, folder.path().string(), {"-o", log, "-e", "trace=read"});
  std::vector<int> reads;
  std::ifstream in(log);
  int number = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" read(") == std::string::npos) continue;  // after the process number
    ++number;
    std::size_t path = line.find('<') + 1;
    if (unescape(line.substr(path, line.find(">,") - path)).ends_with("/" + name))
      reads.push_back(number);
  }
  std::filesystem::remove(log);
  return reads;
}

// A data file that cannot be read to its end is never taken for a shorter
// one: an I/O error at any read of it is "打不开！" (or the program's own
// variant), and no file is saved shorter than it was.
TEST(ReadErrors, ABookOrARecordFileThatFailsToReadIsNeverSavedShorter) {
  struct Case {
    const char* id;
    std::string input;
    std::string data, kept;  // the file read, and the file that must not be shortened
    std::string refused;     // said when the data file failed
  } cases[] = {
      {"contacts", "6\n0\n1\n", kContacts, kContacts, "打不开！\n"},
      {"grade_sort", "", "stud_dat", "stud_sort", "打不开1！\n"},
  };
  for (const Case& c : cases) {
    const abuse::Program& program = abuse::program(c.id);
    Session session = abuse::session_for(program, c.input);
    const std::string old_kept = c.kept == c.data ? session.files[c.data] : std::string(168, 'k');
    session.files[c.kept] = old_kept;
    const std::vector<int> reads = reads_of(program, session, c.data);
    ASSERT_FALSE(reads.empty()) << c.id << " reads no " << c.data << "; is strace installed?";
    for (int failing : reads) {
      SCOPED_TRACE(std::string(c.id) + ", read " + std::to_string(failing) + " fails");
      ScratchFolder folder;
      Outcome outcome = under_strace(
          program.name, session, folder.path().string(),
          {"-o", "/dev/null", "-e", "inject=read:error=EIO:when=" + std::to_string(failing)});
      ASSERT_TRUE(abuse::ended_cleanly(outcome));
      EXPECT_TRUE(same_bytes(outcome.out, c.refused));
      EXPECT_EQ(outcome.files[c.kept], old_kept);
    }
  }
}

}  // namespace
