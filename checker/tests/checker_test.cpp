// 检查 on whole folders: the project's programs and right plain-C solutions
// pass; each wrong plain-C program is caught by a message that points at
// its one mistake; a hang, a crash and a wait for a key fail with their
// reason; a folder without programs is an error; a class gets its table.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/support/program_runner.h"

namespace {

namespace fs = std::filesystem;
using testing_support::contains;

std::string u8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

struct Checked {
  int status = -1;
  std::string out;  // UTF-8
};

Checked check(const std::string& arguments) {
  std::string command = "'" + u8(COURSEWORK_CHECKER) + "' --dialogues '" +
                        u8(COURSEWORK_DIALOGUES) + "' --time-limit 2 " + arguments + " 2>&1";
  Checked checked;
  FILE* pipe = ::popen(command.c_str(), "r");
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    checked.out.append(buffer, n);
  int status = ::pclose(pipe);
  checked.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return checked;
}

std::string students(const std::string& folder) {
  return "'" + u8(COURSEWORK_STUDENTS) + "/" + folder + "'";
}

TEST(Checker, RightProgramsPass) {
  Checked own = check("'" + fs::path(u8(COURSEWORK_CHECKER)).parent_path().string() + "'");
  EXPECT_EQ(own.status, 0) << own.out;
  EXPECT_TRUE(contains(own.out, u8(u8"联系人  5/5 dialogues passed"))) << own.out;
  EXPECT_TRUE(contains(own.out, u8(u8"试验  1/1 dialogues passed"))) << own.out;
  Checked plain_c = check(students("right"));
  EXPECT_EQ(plain_c.status, 0) << plain_c.out;
  EXPECT_TRUE(contains(plain_c.out, u8(u8"转换  4/4"))) << plain_c.out;
  Checked one = check(students("right") + u8(u8"/排序"));
  EXPECT_EQ(one.status, 0) << one.out;
}

TEST(Checker, EachMistakeIsCaughtWithWhatItIs) {
  const struct {
    const char* folder;
    std::string message;
  } cases[] = {
      {"ties", u8(u8"02-总分相同.txt: stud_sort, record 2, number '03', expected '01'")},
      {"first_score", u8(u8"01-排名.txt: stud_sort, record 1, number '003', expected '002'")},
      {"rounded", u8(u8"01-十点五.txt: screen, line 2: '8' where the exercise has '1'")},
      {"corners", "01-"},
      {"half_width", "a half-width ':' where the exercise has the full-width"},
      {"line_end", "the exercise stops here, the program goes on with a line end"},
      {"hangs", "hangs: still running at the time limit"},
      {"crashes", "crashed: segmentation fault"},
      {"endless", "wrote more than 16 MB (output without end?)"},
      {"waits", "waits for a key (or more input) after the dialogue's last answer"},
      {"utf8", "writes UTF-8 where the exercise writes GBK"},
      {"feof", u8(u8"01-空的通信录.txt: screen, line 17: a blank at the end of the line")},
      {"frequent", u8(u8"file 常用联系人.txt, line 1: '0' where the exercise has a blank")},
      {"width", "a blank where the exercise has '5'"},
  };
  for (const auto& c : cases) {
    Checked checked = check(students(c.folder));
    EXPECT_EQ(checked.status, 1) << c.folder << ":\n" << checked.out;
    EXPECT_TRUE(contains(checked.out, c.message)) << c.folder << ":\n" << checked.out;
  }
}

TEST(Checker, NoProgramIsAnError) {
  testing_support::ScratchFolder empty;
  Checked checked = check("'" + empty.path().string() + "'");
  EXPECT_EQ(checked.status, 2);
  EXPECT_TRUE(contains(checked.out, u8(u8"No program found. The checker looks for programs named "
                                       u8"as the exercises: 联系人, 录入,")))
      << checked.out;
}

TEST(Checker, AClassGetsATableAndItsCsv) {
  testing_support::ScratchFolder course;
  fs::create_directory_symlink(fs::path(u8(COURSEWORK_STUDENTS)) / "right", course.path() / u8"甲");
  fs::create_directory_symlink(fs::path(u8(COURSEWORK_STUDENTS)) / "ties", course.path() / u8"乙");
  Checked checked = check("--class '" + course.path().string() + "'");
  EXPECT_EQ(checked.status, 1) << checked.out;
  EXPECT_TRUE(contains(checked.out, u8(u8"甲\t5/5\t-\t3/3\t-"))) << checked.out;
  EXPECT_TRUE(contains(checked.out, u8(u8"乙: 排序, 02-总分相同.txt:"))) << checked.out;
  std::ifstream csv(course.path() / "check.csv");
  std::stringstream text;
  text << csv.rdbuf();
  EXPECT_TRUE(contains(text.str(), u8(u8"student,联系人,录入,排序,打开,")));
  EXPECT_TRUE(contains(text.str(), u8(u8"乙,-,-,2/3,-,"))) << text.str();
}

}  // namespace
