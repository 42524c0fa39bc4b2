// Every dialogue of dialogues/ against the programs under test: the
// project's own, or those that COURSEWORK_PROGRAMS names, so that every pass
// runs the exercises' dialogues.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "checker/dialogue.h"
#include "checker/verdict.h"
#include "programs_table.h"
#include "tests/support/program_runner.h"

// A program's id names its test.
inline void PrintTo(const ProgramEntry& program, std::ostream* out) {
  *out << program.id;
}

namespace {

namespace fs = std::filesystem;
using namespace testing_support;

std::vector<check::Dialogue> dialogues_of(const char8_t* program) {
  return check::load_dialogues(fs::path(std::u8string(COURSEWORK_DIALOGUES)) /
                               fs::path(std::u8string(program)));
}

class Dialogues : public ::testing::TestWithParam<ProgramEntry> {};

TEST_P(Dialogues, AllPass) {
  const bool windows = windows_programs();
  std::vector<check::Dialogue> all = dialogues_of(GetParam().name);
  ASSERT_FALSE(all.empty());
  for (const check::Dialogue& dialogue : all) {
    Session session;
    session.input = dialogue.input;
    session.files = check::starting_files(dialogue);
    Outcome outcome = run(GetParam().name, session);
    check::Run run;
    run.out = outcome.out;
    run.status = outcome.status;
    run.timed_out = outcome.timed_out;
    if (outcome.signal != 0) run.crash = strsignal(outcome.signal);
    run.files = outcome.files;
    check::Verdict verdict = check::judge(dialogue, run, windows);
    EXPECT_TRUE(verdict.passed) << dialogue.path.string() << ": " << verdict.reason << "\n"
                                << verdict.report;
  }
}

INSTANTIATE_TEST_SUITE_P(Every, Dialogues, ::testing::ValuesIn(kProgramTable),
                         [](const auto& info) { return std::string(info.param.id); });

// 检查.exe started with no path, as when double-clicked, checks the
// programs beside it.
TEST(WindowsChecker, ChecksTheProgramsBesideIt) {
  if (!windows_programs()) GTEST_SKIP() << "for the Windows programs";
  Session session;
  session.time_limit_ms = 300000;
  Outcome outcome = run(u8"检查", session);
  EXPECT_EQ(outcome.status, 0) << outcome.out;
  for (const ProgramEntry& program : kProgramTable) {
    std::string line = reinterpret_cast<const char*>(program.name) + std::string(".exe  ");
    EXPECT_TRUE(contains(outcome.out, line)) << line << " in:\n" << outcome.out;
  }
  EXPECT_FALSE(contains(outcome.out, "first failing")) << outcome.out;
}

// A Windows program writes its record files in text mode: no record of the
// dialogues may hold a byte that text mode would change.
TEST(DialogueData, RecordsHoldNoByteThatTextModeChanges) {
  for (const ProgramEntry& program : kProgramTable) {
    for (const check::Dialogue& dialogue : dialogues_of(program.name)) {
      for (const auto* images : {&dialogue.before, &dialogue.after}) {
        for (const check::FileImage& image : *images) {
          std::string bytes = check::record_bytes(image.record_list);
          EXPECT_EQ(bytes.find_first_of("\n\r\x1a"), std::string::npos)
              << dialogue.path.string() << ": " << check::shown(image.name);
        }
      }
    }
  }
}

// What the notation shows of invisible bytes reads back as those bytes.
TEST(DialogueData, NotationReadsBackAsItsBytes) {
  const std::string bytes = "a\tb \r\nc  \n\nlast";
  std::string text = check::notation(bytes);
  const std::string shown = reinterpret_cast<const char*>(u8"a⇥b ␍\nc␣␣\n\nlast∎");
  EXPECT_EQ(text, shown);
  EXPECT_EQ(check::parse_dialogue(text + "\n", "inline.txt").output, bytes);
}

}  // namespace
