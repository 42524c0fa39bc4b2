// Every program, fed what people really type: answers cut short, words where
// numbers belong, pasted essays, bytes that are no text at all, and damaged
// files. Each run must end by itself with status 0 and no sanitizer report.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/abuse/abuse.h"

namespace {
using abuse::Program;
using abuse::Step;
using testing_support::run;

const std::size_t kMiB = 1024 * 1024;

class Abuse : public ::testing::TestWithParam<Program> {
 protected:
  // Runs the program on `input` with its usual files; `what` names the case.
  void expect_clean(const std::string& what, std::string input) {
    if (!share_.take()) return;
    ++runs_;
    auto outcome = run(GetParam().name, abuse::session_for(GetParam(), std::move(input)));
    EXPECT_TRUE(abuse::ended_cleanly(outcome)) << GetParam().id << ": " << what;
  }

  // The valid dialogue with answer `at` replaced.
  std::string with_answer(std::size_t at, const std::string& answer) const {
    auto steps = GetParam().dialogue;
    steps[at].text = answer;
    return abuse::typed(steps);
  }

  void TearDown() override { std::printf("%d runs\n", runs_); }

  int runs_ = 0;
  abuse::CaseShare share_;
};

TEST_P(Abuse, EndOfInputAfterEveryPrefixOfAValidDialogue) {
  const auto& steps = GetParam().dialogue;
  for (std::size_t k = 0; k <= steps.size(); ++k) {
    std::vector<Step> prefix(steps.begin(), steps.begin() + static_cast<long>(k));
    std::string input = abuse::typed(prefix);
    expect_clean("input ends after answer " + std::to_string(k), input);
    if (k < steps.size() && steps[k].text.size() >= 2) {
      const std::string& next = steps[k].text;
      expect_clean("input ends inside answer " + std::to_string(k + 1),
                   input + next.substr(0, next.size() / 2));
    }
  }
}

TEST_P(Abuse, NonNumbersAtEveryNumericRead) {
  const auto& steps = GetParam().dialogue;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].kind != Step::number) continue;
    for (const char* bad : {"abc", "1e999", "--5", "0x1F", "", "-", "+", ".", "nan", "-inf"}) {
      expect_clean("answer " + std::to_string(i + 1) + " is '" + bad + "'", with_answer(i, bad));
    }
    expect_clean("answer " + std::to_string(i + 1) + " is a megabyte of digits",
                 with_answer(i, std::string(kMiB, '9')));
    expect_clean("answer " + std::to_string(i + 1) + " is a huge negative number",
                 with_answer(i, "-" + std::string(400, '7')));
  }
}

TEST_P(Abuse, OverlongTokensAndLinesAtEveryTextRead) {
  const auto& steps = GetParam().dialogue;
  std::string gbk;
  while (gbk.size() < kMiB)
    gbk += "中文";
  for (std::size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].kind == Step::number) continue;
    std::string at = "answer " + std::to_string(i + 1);
    expect_clean(at + " is a megabyte of ASCII", with_answer(i, std::string(kMiB, 'a')));
    expect_clean(at + " is a megabyte of GBK", with_answer(i, gbk));
    expect_clean(at + " is a megabyte of GBK cut inside a character", with_answer(i, gbk + "\xD6"));
  }
  std::string input = abuse::typed(steps);
  if (!input.empty()) {
    input.pop_back();
    expect_clean("the last answer has no line break", input);
  }
}

TEST_P(Abuse, BytesThatAreNoTextAtAll) {
  const auto& steps = GetParam().dialogue;
  const std::string junk("\x81\x00\xFF\x80\xFE\x7F\x01\xA1", 8);
  for (std::size_t i = 0; i < steps.size(); ++i) {
    expect_clean("answer " + std::to_string(i + 1) + " is invalid GBK with NUL bytes",
                 with_answer(i, junk));
  }
  expect_clean("only NUL bytes", std::string(5000, '\0'));
  expect_clean("only line breaks", std::string(5000, '\n'));
  expect_clean("only lead bytes", std::string(5000, '\x81'));
}

TEST_P(Abuse, SeededRandomByteStreams) {
  // Mostly digits, signs and white space, so the numbers that do come
  // through reach deep into the dialogues; some letters, GBK and raw bytes.
  const std::string alphabet = "0123456789012345-+. \n\n\t\r abcxyzE";
  for (unsigned seed = 1; seed <= 200; ++seed) {
    std::mt19937 random(seed);
    std::size_t length = random() % 4000;
    std::string input;
    for (std::size_t k = 0; k < length; ++k) {
      unsigned pick = random() % 100;
      if (pick < 80) {
        input += alphabet[random() % alphabet.size()];
      } else if (pick < 90) {
        input += "张三";
      } else {
        input += static_cast<char>(random() % 256);
      }
    }
    expect_clean("random stream " + std::to_string(seed), input);
  }
}

INSTANTIATE_TEST_SUITE_P(AllPrograms, Abuse, ::testing::ValuesIn(abuse::programs()),
                         [](const auto& info) { return std::string(info.param.id); });

// The programs that read a file, each with its valid dialogue over damaged files.
struct FileCase {
  const char* id;
  std::string file;  // the file the program reads
};

void PrintTo(const FileCase& c, std::ostream* os) {
  *os << c.id;
}

class DamagedFiles : public ::testing::TestWithParam<FileCase> {
 protected:
  const Program& program() const { return abuse::program(GetParam().id); }

  void expect_clean(const std::string& what, const std::string* content, bool folder = false) {
    if (!share_.take()) return;
    auto session = abuse::session_for(program(), abuse::typed(program().dialogue));
    session.files.erase(GetParam().file);
    if (content) session.files[GetParam().file] = *content;
    if (folder) session.folders.push_back(GetParam().file);
    ++runs_;
    auto outcome = run(program().name, session);
    EXPECT_TRUE(abuse::ended_cleanly(outcome)) << GetParam().id << ": " << what;
  }

  void TearDown() override { std::printf("%d runs\n", runs_); }

  int runs_ = 0;
  abuse::CaseShare share_;
};

TEST_P(DamagedFiles, MissingEmptyTruncatedOverlongRandomOrAFolder) {
  const std::string valid = program().files.at(GetParam().file);
  expect_clean("file missing", nullptr);
  expect_clean("a folder in the file's place", nullptr, true);
  std::string empty;
  expect_clean("file empty", &empty);
  std::size_t step = 1;
  for (std::size_t cut = 1; cut < valid.size(); cut += step) {
    std::string truncated = valid.substr(0, cut);
    expect_clean("file cut after byte " + std::to_string(cut), &truncated);
  }
  std::string longer = valid;
  while (longer.size() < 64 * 1024)
    longer += valid;
  expect_clean("file repeated to 64 KiB", &longer);
  std::string huge_token = std::string(kMiB, 'x') + " " + std::string(kMiB, '1') + "\n" + valid;
  expect_clean("file with megabyte tokens", &huge_token);
  for (unsigned seed = 1; seed <= 50; ++seed) {
    std::mt19937 random(seed);
    std::string noise(random() % 3000, '\0');
    for (auto& c : noise)
      c = static_cast<char>(random() % 256);
    expect_clean("random file " + std::to_string(seed), &noise);
    std::string damaged = valid;
    for (int k = 0; k < 5 && !damaged.empty(); ++k) {
      damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
    }
    expect_clean("file with random bytes changed, seed " + std::to_string(seed), &damaged);
  }
}

INSTANTIATE_TEST_SUITE_P(FileReaders, DamagedFiles,
                         ::testing::Values(FileCase{"contacts", "联系人.txt"},
                                           FileCase{"grade_sort", "stud_dat"},
                                           FileCase{"grade_report", "stud_sort"},
                                           FileCase{"text_file", "test.txt"}),
                         [](const auto& info) { return std::string(info.param.id); });

// The programs that write a file, facing a folder where the file must go.
TEST(FoldersInTheWay, WritersReportTheFileAndEndCleanly) {
  struct Case {
    const char8_t* program;
    std::string input;
    std::string folder;
    std::map<std::string, std::string> files;
  };
  const std::vector<Case> cases = {
      {u8"录入", abuse::typed(abuse::program("grade_entry").dialogue), "stud_dat", {}},
      {u8"排序", "", "stud_sort", abuse::program("grade_sort").files},
      {u8"联系人", "6\n0\n2\n", "常用联系人.txt", abuse::program("contacts").files},
  };
  for (const auto& c : cases) {
    testing_support::Session session;
    session.input = c.input;
    session.files = c.files;
    session.folders = {c.folder};
    auto outcome = run(c.program, session);
    EXPECT_TRUE(abuse::ended_cleanly(outcome)) << c.folder;
    EXPECT_NE(outcome.out.find("打不开"), std::string::npos) << c.folder;
  }
}

}  // namespace
