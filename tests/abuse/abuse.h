// What the abuse suite feeds the programs: for each program a valid dialogue,
// step by step, from which damaged inputs are derived.
#pragma once

#include <map>
#include <ostream>
#include <string>
#include <vector>

#include "tests/support/program_runner.h"

namespace abuse {

// One answer typed by the user: a number, a white-space-free token, or a
// whole line.
struct Step {
  enum Kind { number, token, line } kind;
  std::string text;
};

struct Program {
  const char* id = "";                            // programs.tsv's, for test names
  const char8_t* name = u8"";                     // the deliverable
  std::vector<Step> dialogue = {};                // a valid session, answer by answer
  std::map<std::string, std::string> files = {};  // the files the valid session needs
};

// Shown by the test names instead of the raw bytes.
inline void PrintTo(const Program& program, std::ostream* os) {
  *os << program.id;
}

// All twenty-five programs, in the order of programs.tsv.
const std::vector<Program>& programs();

// The program with the given id.
const Program& program(const std::string& id);

// The answers typed one per line.
std::string typed(const std::vector<Step>& steps);

// Every run must end by itself, with status 0 and nothing on standard error
// (where the sanitizers report).
::testing::AssertionResult ended_cleanly(const testing_support::Outcome& outcome);

// A session with the abuse suite's time limit.
testing_support::Session session_for(const Program& program, std::string input);

// Picks the cases of one kind of damage that are run: all of them, or, when
// COURSEWORK_ABUSE_EVERY is k, the first and every k-th after it, for
// programs that are slow to start.
class CaseShare {
 public:
  bool take() { return seen_++ % every() == 0; }

 private:
  static int every();
  int seen_ = 0;
};

}  // namespace abuse
