#include "tests/abuse/abuse.h"

#include "programs_table.h"

#include <cstdlib>
#include <map>
#include <stdexcept>

namespace abuse {
namespace {

Step num(std::string text) {
  return {Step::number, std::move(text)};
}
Step tok(std::string text) {
  return {Step::token, std::move(text)};
}
Step line(std::string text) {
  return {Step::line, std::move(text)};
}

const char* const kBook =
    "Alice      13800000001     10001           1\n"
    "Bob        13900000002     20002           0\n"
    "张三       15000000003     30003           1\n"
    "张三       15000000009     30009           2\n";

std::vector<Step> contact_dialogue() {
  return {
      num("1"), tok("李四"), tok("18600000004"), tok("40004"), num("1"),  // add
      num("2"),                                                           // browse
      num("3"), num("1"), tok("张三"),                                    // search by name
      num("3"), num("2"), tok("13900000002"),                             // by phone
      num("3"), num("3"), tok("99999"),                                   // by QQ, missing
      num("3"), num("4"),                                                 // frequent
      num("3"), num("7"),                                                 // bad type
      num("4"), num("1"), tok("张三"), num("0"), num("1"),                // revise the
                                                                          // second
      tok("张三丰"), tok("15000000010"), tok("30010"), num("0"), num("5"), num("3"), tok("20002"),
      num("1"),                        // delete Bob
      num("5"), num("2"), tok("000"),  // delete, missing
      num("4"), num("9"),              // revise, bad type
      num("8"),                        // bad choice
      num("6"),                        // save
      num("0"), num("2"),              // exit, saving
  };
}

std::vector<Step> grade_entry() {
  std::vector<Step> steps;
  for (const char* who : {"001 张三 85 90.5 77", "002 李四 60 70 80", "003 王五 90 90 90"}) {
    std::string text = who;
    std::size_t a = text.find(' '), b = text.find(' ', a + 1);
    steps.push_back(tok(text.substr(0, a)));
    steps.push_back(tok(text.substr(a + 1, b - a - 1)));
    std::size_t at = b + 1;
    for (int k = 0; k < 3; ++k) {
      std::size_t next = text.find(' ', at);
      steps.push_back(num(text.substr(at, next == std::string::npos ? next : next - at)));
      at = next + 1;
    }
  }
  return steps;
}

std::string student_records() {
  // Three 56-byte records: number, name, three scores and a total.
  std::string file;
  const float rows[3][4] = {{85, 90.5f, 77, 252.5f}, {60, 70, 80, 210}, {90, 90, 90, 270}};
  const char* names[3][2] = {{"001", "张三"}, {"002", "李四"}, {"003", "王五"}};
  for (int r = 0; r < 3; ++r) {
    std::string record(56, '\0');
    record.replace(0, std::string(names[r][0]).size(), names[r][0]);
    record.replace(20, std::string(names[r][1]).size(), names[r][1]);
    for (int k = 0; k < 4; ++k) {
      record.replace(40 + 4 * k, 4, reinterpret_cast<const char*>(&rows[r][k]), 4);
    }
    file += record;
  }
  return file;
}

std::vector<Step> repeat(int times, const std::vector<Step>& pattern) {
  std::vector<Step> steps;
  for (int i = 0; i < times; ++i)
    steps.insert(steps.end(), pattern.begin(), pattern.end());
  return steps;
}

// What each program is typed in a valid session, and the files it needs;
// a program that reads nothing has neither.
std::map<std::string, Program> scripts() {
  return {
      {"contacts", {.dialogue = contact_dialogue(), .files = {{"联系人.txt", kBook}}}},
      {"grade_entry", {.dialogue = grade_entry()}},
      {"grade_sort", {.files = {{"stud_dat", student_records()}}}},
      {"grade_report", {.files = {{"stud_sort", student_records()}}}},
      {"averages",
       {.dialogue = {tok("001"), num("80"), num("90"), num("85"), tok("002"), num("60"), num("70"),
                     num("65")}}},
      {"score_list", {.dialogue = repeat(10, {tok("张三"), num("88")})}},
      {"text_file",
       {.dialogue = repeat(5, {tok("name"), num("-7")}), .files = {{"test.txt", "old\n"}}}},
      {"integral",
       {.dialogue = {num("1"), num("0"), num("1"), num("2"), num("0"), num("1"), num("3"), num("1"),
                     num("0"), num("5"), num("1"), num("2"), num("4")}}},
      {"radix", {.dialogue = {num("-255.75")}}},
      {"goldbach", {.dialogue = {num("98")}}},
      {"dot_product",
       {.dialogue = {num("3"), num("1"), num("2"), num("3"), num("4"), num("5"), num("6")}}},
      {"swap", {.dialogue = {num("3.5"), num("-0.25")}}},
      {"deletion",
       {.dialogue = {num("4"), num("1.5"), num("2.5"), num("3.5"), num("4.5"), num("2")}}},
      {"identifier", {.dialogue = {line("_valid_name9")}}},
      {"char_count", {.dialogue = {line("ab 12\t中文?")}}},
      {"digits", {.dialogue = {num("2147483647")}}},
      {"join", {.dialogue = {line("first "), line(" 第二")}}},
  };
}

}  // namespace

const std::vector<Program>& programs() {
  static const std::vector<Program> all = [] {
    std::map<std::string, Program> by_id = scripts();
    std::vector<Program> list;
    for (const ProgramEntry& entry : kProgramTable) {
      Program program = by_id[entry.id];
      program.id = entry.id;
      program.name = entry.name;
      list.push_back(std::move(program));
    }
    return list;
  }();
  return all;
}

const Program& program(const std::string& id) {
  for (const auto& p : programs()) {
    if (p.id == id) return p;
  }
  throw std::invalid_argument("no program " + id);
}

std::string typed(const std::vector<Step>& steps) {
  std::string input;
  for (const auto& step : steps)
    input += step.text + "\n";
  return input;
}

::testing::AssertionResult ended_cleanly(const testing_support::Outcome& outcome) {
  if (outcome.timed_out) return ::testing::AssertionFailure() << "did not end within the limit";
  if (outcome.signal != 0) {
    return ::testing::AssertionFailure() << "killed by signal " << outcome.signal;
  }
  if (outcome.status != 0) {
    return ::testing::AssertionFailure() << "exit status " << outcome.status << "\n"
                                         << outcome.err.substr(0, 4000);
  }
  if (!outcome.err.empty()) {
    return ::testing::AssertionFailure() << "wrote to standard error:\n"
                                         << outcome.err.substr(0, 4000);
  }
  return ::testing::AssertionSuccess();
}

testing_support::Session session_for(const Program& program, std::string input) {
  testing_support::Session session;
  session.input = std::move(input);
  session.files = program.files;
  session.time_limit_ms = 20000;
  return session;
}

int CaseShare::every() {
  static const int k = [] {
    const char* chosen = std::getenv("COURSEWORK_ABUSE_EVERY");
    int every = chosen ? std::atoi(chosen) : 1;
    return every > 1 ? every : 1;
  }();
  return k;
}

}  // namespace abuse
