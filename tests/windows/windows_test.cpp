// What only the Windows programs have to get right, driven through the
// launcher in the code page of the pass: Unicode file names, files that are
// bytes and never text, files that another program holds or that are
// read-only, one contact book on a book, and the console.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "grades/tests/record_image.h"
#include "tests/support/contact_book.h"
#include "tests/support/process.h"
#include "tests/support/program_runner.h"
#include "tests/support/terminal_runner.h"

namespace {
namespace fs = std::filesystem;
using testing_support::contains;
using testing_support::Outcome;
using testing_support::same_bytes;
using testing_support::ScratchFolder;
using testing_support::Session;
using testing_support::utf8;
using Files = std::map<std::string, std::string>;

using contact_book::kContacts;
using contact_book::kFrequent;
const std::string& kBook = contact_book::kOneContactBook;
const std::string kSaved = "<保存成功!>";
using contact_book::kCannotOpen;

// The names in the folder as they are on disk, bytes unconverted.
std::set<std::string> names_on_disk(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.insert(entry.path().filename().native());
  return names;
}

// Another program that has a file open, letting others only read it, for as
// long as this object lives.
class HeldFile {
 public:
  HeldFile(const fs::path& folder, const std::string& name) {
    namespace process = testing_support::process;
    std::vector<std::string> command = testing_support::program_command(u8"hold_file");
    command.push_back(testing_support::disk_name(name));
    process::Pipes pipes = process::open_pipes();
    child_ = process::start(command, [&] {
      ::dup2(pipes.in[0], STDIN_FILENO);
      ::dup2(pipes.out[1], STDOUT_FILENO);
      ::dup2(pipes.err[1], STDERR_FILENO);
      if (::chdir(folder.c_str()) != 0) ::_exit(126);
    });
    for (int fd : {pipes.in[0], pipes.out[1], pipes.err[1], pipes.err[0]})
      ::close(fd);
    input_ = pipes.in[1];
    held_ = said_held(pipes.out[0]);
    ::close(pipes.out[0]);
  }
  ~HeldFile() {
    ::close(input_);  // the end of its input lets the file go
    int status = 0;
    ::waitpid(child_, &status, 0);
  }
  HeldFile(const HeldFile&) = delete;
  HeldFile& operator=(const HeldFile&) = delete;

  bool held() const { return held_; }

 private:
  static bool said_held(int output) {
    std::string said;
    char chunk[64];
    pollfd ready{output, POLLIN, 0};
    while (said.size() < 5 && ::poll(&ready, 1, 20000) > 0) {
      ssize_t got = ::read(output, chunk, sizeof chunk);
      if (got <= 0) break;
      said.append(chunk, static_cast<std::size_t>(got));
    }
    return said == "held\n";
  }

  pid_t child_ = -1;
  int input_ = -1;
  bool held_ = false;
};

// --- file names ---

TEST(FileNames, TheContactFilesAreNamedInUnicodeOnDiskWhateverTheCodePage) {
  ScratchFolder folder;
  folder.write(kContacts, kBook);
  Session session;
  session.input = "6\n0 1\n";
  Outcome outcome = testing_support::run_in(folder.path(), u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  EXPECT_TRUE(contains(outcome.out, kSaved));
  EXPECT_EQ(names_on_disk(folder.path()),
            (std::set<std::string>{utf8(u8"联系人.txt"), utf8(u8"常用联系人.txt"),
                                   utf8(u8"联系人.txt.lock")}));
}

TEST(FileNames, AFileNamedByItsGbkBytesIsNotTheContactFile) {
  ScratchFolder folder;
  std::ofstream(folder.path() / kContacts, std::ios::binary) << kBook;  // GBK bytes as the name
  Session session;
  session.input = "0 1\n";
  Outcome outcome = testing_support::run_in(folder.path(), u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  EXPECT_TRUE(same_bytes(outcome.out, kCannotOpen));
}

// --- files are bytes ---

// A record as 录入 writes it, its total in single precision.
std::string record(const char* num, const char* name, float s1, float s2, float s3) {
  return grades_tests::image(num, name, s1, s2, s3, (s1 + s2) + s3);
}

TEST(BinaryFiles, RecordsWithLineEndAndEndOfFileBytesPassThePipelineUnchanged) {
  // Scores whose bytes are 0x0A, 0x0D, 0x1A, "\r\n" and "\n\x1a": text mode
  // would add, drop or stop at them.
  const std::string first = record("01", "甲", 2.15625f, 8.8125f, 0.6015625f);
  const std::string second = record("02", "乙", 34.5126953125f, 50, 60);
  const std::string third = record("03", "丙", 9.62744140625f, 1, 1);
  ASSERT_TRUE(contains(first, "\x0A\x40") && contains(first, "\x0D\x41") &&
              contains(first, "\x1A\x3F"));
  ASSERT_TRUE(contains(second, "\x0D\x0A") && contains(third, "\x0A\x1A"));

  ScratchFolder folder;
  auto run = [&](const char8_t* program, const std::string& input) {
    Session session;
    session.input = input;
    Outcome outcome = testing_support::run_in(folder.path(), program, session);
    EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
    return outcome;
  };
  run(u8"录入",
      "01 甲 2.15625 8.8125 0.6015625\n02 乙 34.5126953125 50 60\n"
      "03 丙 9.62744140625 1 1\n");
  EXPECT_TRUE(same_bytes(folder.read("stud_dat"), first + second + third));
  run(u8"排序", "");
  EXPECT_TRUE(same_bytes(folder.read("stud_sort"), second + third + first));
  Outcome report = run(u8"打开", "");
  EXPECT_TRUE(same_bytes(report.out,
                         "学号       姓名         1          2          3         总分\n"
                         "02         乙         34.51      50.00      60.00      144.51    \n"
                         "03         丙         9.63       1.00       1.00       11.63     \n"
                         "01         甲         2.16       8.81       0.60       11.57     \n"));
}

TEST(BinaryFiles, AContactFileWithCrLfAndEndOfFileBytesReadsAsOnEverySystem) {
  Session session;
  session.files = {{kContacts, "A\032B 1 2 1\r\nCd 3 4 0\r\n\x1A\r\n"}};
  session.input = "6\n0 1\n";
  Outcome outcome = testing_support::run(u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  EXPECT_TRUE(same_bytes(outcome.files[kContacts],
                         "A\032B        1               2               1\n"
                         "Cd         3               4               0\n"
                         "\x1A          -               -               0\n"));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent], "A\032B\t 1\t 2              \t\n"));
}

// --- files that cannot be replaced ---

TEST(Replacing, FilesHeldByAnotherProgramOrReadOnlyAreReportedAndKept) {
  const std::string old_frequent = "old\n";
  const std::string old_records(168, '\x0A');
  struct Case {
    const char* what;
    const char8_t* program;
    std::string input;
    std::string blocked;  // the file held open or made read-only
    bool read_only;
    std::string shown;  // what the program says of it
  };
  const std::string add_and_save = "1 Zed 1 2 1\n6\n0 1\n";
  const Case cases[] = {
      {"contact file held", u8"联系人", add_and_save, kContacts, false, kCannotOpen},
      {"frequent file held", u8"联系人", add_and_save, kFrequent, false, kCannotOpen},
      {"frequent file read-only", u8"联系人", add_and_save, kFrequent, true, kCannotOpen},
      {"stud_dat held", u8"录入", "1 a 1 1 1\n", "stud_dat", false, "打不开！\n"},
      {"stud_dat read-only", u8"录入", "1 a 1 1 1\n", "stud_dat", true, "打不开！\n"},
      {"stud_sort held", u8"排序", "", "stud_sort", false, "打不开2！\n"},
      {"stud_sort read-only", u8"排序", "", "stud_sort", true, "打不开2！\n"},
      // 读写 leaves a read-only test.txt to Windows, which refuses to open it
      // for writing; Wine lets its user write where the system lets it, and
      // the tests run as root.
      {"test.txt held", u8"读写", "a 1 b 2 c 3 d 4 e 5\n", "test.txt", false, "打不开！\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScratchFolder folder;
    const Files before = {{kContacts, kBook},
                          {kFrequent, old_frequent},
                          {"stud_dat", old_records},
                          {"stud_sort", old_records},
                          {"test.txt", old_frequent}};
    for (const auto& [name, content] : before)
      folder.write(name, content);
    std::optional<HeldFile> holder;
    if (c.read_only) {
      // Under the launcher a file without write permission is read-only.
      fs::permissions(folder.path_of(c.blocked), fs::perms(0444));
    } else {
      holder.emplace(folder.path(), c.blocked);
      ASSERT_TRUE(holder->held());
    }
    Session session;
    session.input = c.input;
    Outcome outcome = testing_support::run_in(folder.path(), c.program, session);
    holder.reset();
    EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
    EXPECT_TRUE(contains(outcome.out, c.shown)) << testing_support::visible(outcome.out);
    EXPECT_FALSE(contains(outcome.out, kSaved));
    EXPECT_EQ(outcome.files.size(), before.size()) << "a temporary file was left behind";
    for (const auto& [name, content] : before)
      EXPECT_EQ(outcome.files[name], content) << name;
  }
}

// --- one contact book on a book ---

// A second contact book on the same folder from another session, which
// stands for another computer on a network folder too, is refused as one
// from the same session is (contacts.ASecondWindow...): under Wine another
// prefix, with a Wine server of its own.
TEST(Locking, ASecondContactBookFromAnotherSessionIsRefused) {
  const char* other_prefix = std::getenv("COURSEWORK_OTHER_WINEPREFIX");
  if (other_prefix == nullptr) GTEST_SKIP() << "COURSEWORK_OTHER_WINEPREFIX is not set";
  ScratchFolder folder;
  folder.write(kContacts, kBook);
  Session first;
  first.input = "1 Bob 139 20002 1\n";
  first.close_input = false;  // the first window stays open at its menu
  first.time_limit_ms = 8000;
  auto open_window = std::async(std::launch::async, [&] {
    return testing_support::run_in(folder.path(), u8"联系人", first);
  });
  ::usleep(3000 * 1000);
  Session second;
  second.input = "1 Carl 137 30003 1\n6\n0 1\n";
  second.in_child = [&] { ::setenv("WINEPREFIX", other_prefix, 1); };
  Outcome refused = testing_support::run_in(folder.path(), u8"联系人", second);
  EXPECT_TRUE(refused.exited_cleanly()) << refused.err;
  EXPECT_TRUE(contains(refused.out, "通信录已在另一个窗口中打开，请先关闭那个窗口！\n"))
      << testing_support::visible(refused.out);
  EXPECT_EQ(folder.files(), (Files{{kContacts, kBook}}));
  EXPECT_TRUE(open_window.get().timed_out) << "the first window ended before the second came";
}

// --- the console ---

testing_support::TerminalSession typing(const std::string& typed) {
  testing_support::TerminalSession session;
  session.typed = typed;
  return session;
}

TEST(WindowsConsole, TextCutByFlushesHeldBackAndShownAtTheEndAndCtrlZEndingInput) {
  struct Case {
    const char* what;
    std::string typed;
    bool end_input;
    std::string shown;
  };
  const Case cases[] = {
      {"a character cut by a flush", utf8(u8"分\n"), true, utf8(u8"名字：中\n名字：再见")},
      // The console shows a lone half character as the code page reads it.
      {"half a character at the end", utf8(u8"半\n"), true, utf8(u8"名字：末?")},
      {"Ctrl-Z at the start of a line", "ab\n\x1A\ncd\n", false,
       utf8(u8"名字：[ab      ]2\n名字：再见")},
      {"Ctrl-Z ending a line",
       "ab\x1A"
       "cd\n",
       false, utf8(u8"名字：[ab      ]2\n名字：再见")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto session = typing(c.typed);
    session.end_input = c.end_input;
    Outcome outcome = testing_support::run_on_terminal(u8"console_probe", session);
    EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
    EXPECT_TRUE(same_bytes(outcome.out, c.shown));
  }
}

TEST(WindowsConsole, OutputLongerThanEveryBufferArrivesWhole) {
  Outcome outcome = testing_support::run_on_terminal(u8"console_probe", typing(utf8(u8"多\n")));
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  // The line is far wider than the console: it is wrapped on the screen.
  std::string shown;
  for (char c : outcome.out) {
    if (c != '\n') shown += c;
  }
  std::string many = "a";
  for (int i = 0; i < 40000; ++i)
    many += utf8(u8"中");
  EXPECT_TRUE(shown == utf8(u8"名字：") + many + utf8(u8"名字：再见")) << shown.size() << " bytes";
}

// A console that Windows made for the program alone closes with it, so the
// program waits for a key first; on a shell's console, or redirected, it
// ends at once.
TEST(WindowsConsole, ThePauseAtTheEndComesOnlyOnAConsoleMadeForTheProgramAlone) {
  using testing_support::Started;
  const std::string banner =
      "* * * * * * * * * * * * * * * * * * * * * *\n"
      "             Very Good!\n"
      "* * * * * * * * * * * * * * * * * * * * * *";
  const std::string pause = utf8(u8"请按任意键继续. . .");
  struct Case {
    const char* what;
    const char8_t* program;
    Started started;
    std::string typed;  // input is not ended
    bool input_on_terminal;
    bool output_on_terminal;
    std::string shown;
  };
  const Case cases[] = {
      {"opened from Explorer, returning from main", u8"good", Started::from_explorer, "x", true,
       true, banner + "\n" + pause + "\n"},
      {"opened from Explorer, ended by the end of input", u8"删除", Started::from_explorer,
       "\x1A\nx", true, true, utf8(u8"您要输入多少个数字(小于20)：\n") + pause + "\n"},
      {"started from a shell", u8"good", Started::from_a_shell, "", true, true, banner},
      {"started from a Unix shell under Wine", u8"good", Started::by_the_launcher, "", true, true,
       banner},
      {"input redirected", u8"good", Started::from_explorer, "", false, true, banner},
      {"output redirected", u8"good", Started::from_explorer, "", true, false, banner},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    auto session = typing(c.typed);
    session.end_input = false;
    session.started = c.started;
    session.input_on_terminal = c.input_on_terminal;
    session.output_on_terminal = c.output_on_terminal;
    Outcome outcome = testing_support::run_on_terminal(c.program, session);
    EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
    EXPECT_TRUE(same_bytes(outcome.out, c.shown));
  }

  // Without a key it keeps waiting.
  auto session = typing("");
  session.end_input = false;
  session.started = Started::from_explorer;
  session.time_limit_ms = 15000;
  Outcome outcome = testing_support::run_on_terminal(u8"good", session);
  EXPECT_TRUE(outcome.timed_out);
  EXPECT_TRUE(same_bytes(outcome.out, banner + "\n" + pause));
}

}  // namespace
