// Shared by the terminal tests: a program run once on a UTF-8 terminal and
// once on pipes in the same locale.
#pragma once

#include <string>

#include <gtest/gtest.h>

#include "tests/support/terminal_runner.h"

namespace terminal_tests {

// What is typed and what the program writes, as a UTF-8 terminal shows them
// (from u8"..." literals) and as GBK bytes.
struct Dialogue {
  const char8_t* program;
  std::u8string_view typed;
  std::u8string_view shown;
  std::string typed_gbk;
  std::string shown_gbk;
  std::map<std::string, std::string> files = {};
};

inline testing_support::TerminalSession utf8_session(const std::string& typed, bool on_terminal) {
  testing_support::TerminalSession session;
  session.typed = typed;
  session.environment = {{"LANG", "C.UTF-8"}};
  session.input_on_terminal = session.output_on_terminal = on_terminal;
  return session;
}

// The dialogue on a UTF-8 terminal reads as UTF-8; on pipes in the same
// locale it stays GBK, byte for byte.
inline void expect_dialogue(const Dialogue& d) {
  using testing_support::same_bytes;
  using testing_support::utf8;
  auto session = utf8_session(utf8(d.typed), true);
  session.files = d.files;
  auto outcome = testing_support::run_on_terminal(d.program, session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  EXPECT_TRUE(same_bytes(outcome.out, utf8(d.shown))) << "on a terminal";

  session = utf8_session(d.typed_gbk, false);
  session.files = d.files;
  outcome = testing_support::run_on_terminal(d.program, session);
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  EXPECT_TRUE(same_bytes(outcome.out, d.shown_gbk)) << "on pipes";
}

}  // namespace terminal_tests
