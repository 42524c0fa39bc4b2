// A save reaches the disk before it is reported: each new file is synced
// before it takes the old one's place and the folder after, and a sync that
// fails is a save that failed.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

std::string recorder_path() {
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe");
  return (self.parent_path() / "sync_recorder.so").string();
}

// Runs a save of the contact book with the recorder loaded; `fail` is the
// sync to fail (0: none). Gives back the outcome and the recorded calls, with
// the folder's own path taken off and each temporary file named "tmp".
struct Recorded {
  Outcome outcome;
  std::vector<std::string> calls;
};

Recorded save_recorded(int fail) {
  ScratchFolder folder;
  const std::string log = (folder.path() / "calls.log").string();
  Session session;
  session.input = "1\nBob 139 20002 1\n6\n0\n1\n";
  session.files = {{kContacts, kOldBook}, {kFrequent, kOldFrequent}};
  session.in_child = [log, fail] {
    ::setenv("LD_PRELOAD", recorder_path().c_str(), 1);
    ::setenv("SYNC_RECORDER_LOG", log.c_str(), 1);
    ::setenv("SYNC_RECORDER_FAIL", std::to_string(fail).c_str(), 1);
    ::setenv("ASAN_OPTIONS", "verify_asan_link_order=0", 1);
  };
  Recorded recorded{testing_support::run_in(folder.path(), u8"联系人", session), {}};
  recorded.outcome.files.erase("calls.log");
  std::ifstream in(log);
  const std::string prefix = folder.path().string();
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string call, shown;
    words >> call;
    shown = call;
    for (std::string path; words >> path;) {
      if (path.rfind(prefix, 0) == 0) path = path == prefix ? "." : path.substr(prefix.size() + 1);
      if (path.size() > 4 && path.ends_with(".tmp"))
        path = "tmp(" + path.substr(0, path.find('.')) + ")";
      shown += " " + path;
    }
    recorded.calls.push_back(shown);
  }
  return recorded;
}

TEST(DurableSave, EachFileIsSyncedBeforeItReplacesTheOldOneAndTheFolderAfter) {
  Recorded recorded = save_recorded(0);
  ASSERT_TRUE(abuse::ended_cleanly(recorded.outcome));
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
    Outcome outcome = save_recorded(c.fail).outcome;
    ASSERT_TRUE(abuse::ended_cleanly(outcome));
    EXPECT_NE(outcome.out.find("打不开！"), std::string::npos);
    EXPECT_EQ(outcome.out.find("<保存成功!>"), std::string::npos);
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kContacts], c.book));
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kFrequent], c.frequent));
    EXPECT_EQ(outcome.files.size(), 2u) << "a temporary file was left behind";
  }
}

}  // namespace
