// No work lost: what a user can still meet beyond bad typing. Two windows on
// one book, names that lead to the same file, NUL bytes in a book, data files
// that are no files, leftovers of a save that was killed, and memory that
// runs out.
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <future>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/abuse/abuse.h"
#include "tests/support/contact_book.h"

namespace {
namespace fs = std::filesystem;
using testing_support::contains;
using testing_support::Outcome;
using testing_support::run;
using testing_support::run_in;
using testing_support::same_bytes;
using testing_support::ScratchFolder;
using testing_support::Session;

using contact_book::kContacts;
using contact_book::kFrequent;
const std::string& kBook = contact_book::kOneContactBook;
using contact_book::kCannotOpen;

// The second window may reach the book through a symbolic link from another
// folder: it is still the same book.
TEST(contacts, ASecondWindowOnTheSameBookIsRefusedAndTouchesNothing) {
  for (bool linked : {false, true}) {
    SCOPED_TRACE(linked ? "through a link from another folder" : "in the same folder");
    if (linked && testing_support::windows_programs()) continue;  // no such links there
    ScratchFolder folder, other;
    folder.write(kContacts, kBook);
    if (linked) fs::create_symlink(folder.path_of(kContacts), other.path_of(kContacts));
    Session first;
    first.input = "1\nBob 139 20002 1\n";
    first.close_input = false;  // the first window stays open at its menu
    first.time_limit_ms = 4000;
    auto open_window =
        std::async(std::launch::async, [&] { return run_in(folder.path(), u8"联系人", first); });
    ::usleep(1500 * 1000);

    Session second;
    second.input = "1\nCarl 137 30003 1\n6\n0\n1\n";
    Outcome refused = run_in((linked ? other : folder).path(), u8"联系人", second);
    EXPECT_TRUE(abuse::ended_cleanly(refused));
    EXPECT_TRUE(same_bytes(refused.out, "通信录已在另一个窗口中打开，请先关闭那个窗口！\n"));
    EXPECT_EQ(folder.files(), (std::map<std::string, std::string>{{kContacts, kBook}}));
    EXPECT_TRUE(open_window.get().timed_out) << "the first window ended before the second came";
  }
}

// A folder that may be written but not read cannot be locked: the book is
// not opened at all rather than opened without its lock.
TEST(contacts, AFolderThatCannotBeLockedIsReportedBeforeTheMenuAndTouchesNothing) {
  if (testing_support::windows_programs()) GTEST_SKIP() << "POSIX permissions";
  ScratchFolder folder;
  folder.write(kContacts, kBook);
  fs::permissions(folder.path(), fs::perms(0333));
  Session session;
  session.input = "1\nBob 139 20002 1\n6\n0\n1\n";
  session.unprivileged = true;  // so that permissions hold even for root
  Outcome outcome = run_in(folder.path(), u8"联系人", session);
  fs::permissions(folder.path(), fs::perms(0700));
  EXPECT_TRUE(abuse::ended_cleanly(outcome));
  EXPECT_TRUE(same_bytes(outcome.out, kCannotOpen));
  EXPECT_EQ(folder.files(), (std::map<std::string, std::string>{{kContacts, kBook}}));
}

TEST(contacts, TwoNamesOfOneFileFailTheSaveBeforeAnythingIsWritten) {
  for (bool symbolic : {true, false}) {
    SCOPED_TRACE(symbolic ? "symbolic link" : "hard link");
    ScratchFolder folder;
    folder.write(kContacts, kBook);
    if (symbolic)
      fs::create_symlink(testing_support::disk_name(kContacts), folder.path_of(kFrequent));
    else
      fs::create_hard_link(folder.path_of(kContacts), folder.path_of(kFrequent));
    Session session;
    session.input = "1\nBob 139 20002 1\n6\n0\n1\n";
    Outcome outcome = run_in(folder.path(), u8"联系人", session);
    EXPECT_TRUE(abuse::ended_cleanly(outcome));
    EXPECT_TRUE(contains(outcome.out, kCannotOpen));
    EXPECT_FALSE(contains(outcome.out, "<保存成功!>"));
    EXPECT_EQ(folder.read(kContacts), kBook);
  }
}

// A NUL byte ends a field where the program shows it ending; nothing after it
// shifts into the next field, in the book or typed.
TEST(contacts, ANulByteInAnyFieldMovesNoField) {
  using namespace std::string_literals;
  const std::string lines[] = {
      "ab\0cd 13800000001 10001 1\n"s, "Bob 13\0009 20002 1\n"s, "Carl 137 3\0003 1\n"s,
      "Dan 136 40004 1\0009\n"s,       "\0Eve 135 50005 2\n"s,
  };
  const std::string typed = "1\nx\0y 134 6\0006 1\n"s;
  for (const std::string& line : lines) {
    SCOPED_TRACE(testing_support::visible(line));
    ScratchFolder folder;
    folder.write(kContacts, line + "Zed 1 2 1\n");
    Session session;
    session.input = typed + "2\n6\n0\n1\n";
    Outcome saved = run_in(folder.path(), u8"联系人", session);
    ASSERT_TRUE(abuse::ended_cleanly(saved));
    Session again;
    again.input = "2\n0\n1\n";
    Outcome reloaded = run_in(folder.path(), u8"联系人", again);
    ASSERT_TRUE(abuse::ended_cleanly(reloaded));
    const std::string table = CONTACT_BOOK_TABLE;
    const auto shown = [&](const std::string& out) {
      std::size_t at = out.find(table);
      return out.substr(at, out.find("\n\n", at + table.size()) - at);
    };
    EXPECT_TRUE(same_bytes(shown(reloaded.out), shown(saved.out)));
    EXPECT_EQ(std::count(saved.files[kContacts].begin(), saved.files[kContacts].end(), '\n'), 3);
    EXPECT_FALSE(contains(saved.files[kContacts], std::string(1, '\0')));
  }
}

// A save removes only its own temporary files: those a killed save left,
// never the user's own copies beside the book.
TEST(contacts, ASaveRemovesWhatAKilledSaveLeftKeepsTheUsersCopiesAndTheBookPrivate) {
  const bool posix = !testing_support::windows_programs();
  ScratchFolder folder;
  folder.write(kContacts, kBook);
  if (posix) fs::permissions(folder.path_of(kContacts), fs::perms(0600));
  const std::string users[] = {kContacts + ".20231201.old", kContacts + ".0.old",
                               kContacts + ".bak", kContacts + ".4194305.0.tmp"};
  for (const std::string& name : users)
    folder.write(name, kBook);
  folder.write(kContacts + ".~saving.tmp", "half a book");
  folder.write(kFrequent + ".~saving.tmp", "half a file");
  Session session;
  session.input = "6\n0\n1\n";
  Outcome outcome = run_in(folder.path(), u8"联系人", session);
  EXPECT_TRUE(abuse::ended_cleanly(outcome));
  EXPECT_EQ(outcome.files.size(), 2u + std::size(users));
  for (const std::string& name : users)
    EXPECT_EQ(outcome.files[name], kBook) << name;
  if (posix) {
    EXPECT_EQ(fs::status(folder.path_of(kFrequent)).permissions(), fs::perms(0600));
    EXPECT_EQ(fs::status(folder.path_of(kContacts)).permissions(), fs::perms(0600));
  }
}

// A pipe where a data file belongs never makes a program wait.
TEST(DataFiles, APipeInAFilesPlaceIsNoFileAndNothingWaitsForIt) {
  if (testing_support::windows_programs()) GTEST_SKIP() << "no pipes in a Windows folder";
  struct Case {
    const char* id;
    std::string file;
    std::string said;
  } cases[] = {
      {"contacts", kContacts, kCannotOpen},       {"grade_sort", "stud_dat", "打不开1！\n"},
      {"grade_sort", "stud_sort", "打不开2！\n"}, {"grade_report", "stud_sort", kCannotOpen},
      {"text_file", "test.txt", kCannotOpen},     {"grade_entry", "stud_dat", kCannotOpen},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.id) + " " + c.file);
    const abuse::Program& program = abuse::program(c.id);
    ScratchFolder folder;
    Session session = abuse::session_for(program, abuse::typed(program.dialogue));
    session.files.erase(c.file);
    session.time_limit_ms = 5000;
    ASSERT_EQ(::mkfifo(folder.path_of(c.file).c_str(), 0600), 0);
    Outcome outcome = run_in(folder.path(), program.name, session);
    EXPECT_TRUE(abuse::ended_cleanly(outcome));
    EXPECT_TRUE(outcome.out.ends_with(c.said));
  }
}

// An endless token or line on standard input under a limit of the address
// space: the program says that memory ran out, ends with status 0, and its
// files are as they were.
TEST(DataFiles, RunningOutOfMemoryEndsEveryProgramCleanly) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
  if (testing_support::windows_programs()) GTEST_SKIP() << "Wine cannot start under the limit";
  for (const abuse::Program& program : abuse::programs()) {
    SCOPED_TRACE(program.id);
    Session session = abuse::session_for(program, "");
    session.input_file = "/dev/zero";
    session.in_child = [] {
      rlimit limit{64 << 20, 64 << 20};
      ::setrlimit(RLIMIT_AS, &limit);
    };
    Outcome outcome = run(program.name, session);
    EXPECT_TRUE(abuse::ended_cleanly(outcome));
    if (!program.dialogue.empty()) {
      EXPECT_TRUE(outcome.out.ends_with("内存不足！\n"));
    }
    for (const auto& [name, content] : program.files)
      EXPECT_EQ(outcome.files[name], content) << name;
  }
#endif
}

}  // namespace
