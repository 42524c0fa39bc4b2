// Shared by the terminal tests: a program run once on a UTF-8 terminal and
// once on pipes in the same locale.
#pragma once

#include <map>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/terminal_runner.h"

namespace terminal_tests {

// The same text as a UTF-8 terminal shows it and as the GBK bytes the
// program writes and reads.
struct Text {
  std::string utf8;
  std::string gbk;
  Text operator+(const Text& more) const { return {utf8 + more.utf8, gbk + more.gbk}; }
};

// BOTH("名字") is the Text of a string literal (or of a macro that stands for
// one): the compiler encodes it once as UTF-8 and once as GBK.
#define BOTH(literal) BOTH_ENCODINGS(literal)
#define BOTH_ENCODINGS(literal) \
  (::terminal_tests::Text{::testing_support::utf8(u8##literal), literal})

struct Dialogue {
  const char8_t* program;
  Text typed;
  Text shown;
  std::map<std::string, std::string> files = {};  // GBK names and contents
};

inline testing_support::TerminalSession utf8_session(const std::string& typed, bool on_terminal) {
  testing_support::TerminalSession session;
  session.typed = typed;
  session.environment = {{"LANG", "C.UTF-8"}};
  session.input_on_terminal = session.output_on_terminal = on_terminal;
  return session;
}

// On a UTF-8 terminal the dialogue reads as UTF-8; on pipes in the same
// locale it stays GBK, byte for byte. Either way the files left behind are
// the same GBK files. Gives back the run on the terminal.
inline testing_support::Outcome expect_dialogue(const Dialogue& d) {
  using testing_support::same_bytes;
  auto session = utf8_session(d.typed.utf8, true);
  session.files = d.files;
  auto on_terminal = testing_support::run_on_terminal(d.program, session);
  EXPECT_TRUE(on_terminal.exited_cleanly()) << on_terminal.err;
  EXPECT_TRUE(same_bytes(on_terminal.out, d.shown.utf8)) << "on a terminal";

  session = utf8_session(d.typed.gbk, false);
  session.files = d.files;
  auto on_pipes = testing_support::run_on_terminal(d.program, session);
  EXPECT_TRUE(on_pipes.exited_cleanly()) << on_pipes.err;
  EXPECT_TRUE(same_bytes(on_pipes.out, d.shown.gbk)) << "on pipes";
  EXPECT_EQ(on_terminal.files, on_pipes.files);
  return on_terminal;
}

}  // namespace terminal_tests
