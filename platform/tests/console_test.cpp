// The console set-up end to end: a small program on a pseudo-terminal in
// various locales, and on pipes.
#include <string>

#include <gtest/gtest.h>

#include "tests/support/terminal_runner.h"

namespace {
using testing_support::run_on_terminal;
using testing_support::same_bytes;
using testing_support::TerminalSession;
using testing_support::utf8;

const std::map<std::string, std::string> kUtf8Locale = {{"LANG", "C.UTF-8"}};

TerminalSession typing(const std::string& typed,
                       const std::map<std::string, std::string>& environment = kUtf8Locale) {
  TerminalSession session;
  session.typed = typed;
  session.environment = environment;
  return session;
}

TEST(Console, Utf8TerminalShowsUtf8AndTypedTextReachesTheProgramAsGbk) {
  auto outcome = run_on_terminal(u8"console_probe", typing(utf8(u8"张三\nab\n")));
  EXPECT_TRUE(outcome.exited_cleanly()) << outcome.err;
  // The field is eight GBK bytes wide: a name of two characters takes four.
  EXPECT_TRUE(same_bytes(outcome.out, utf8(u8"名字：[张三    ]4\n"
                                           u8"名字：[ab      ]2\n"
                                           u8"名字：再见")));
}

TEST(Console, LocaleDecidesWhetherATerminalIsConverted) {
  const std::string converted = utf8(u8"名字：[张三    ]4\n名字：再见");
  const std::string as_written = "名字：[张三    ]4\n名字：再见";
  struct Case {
    std::map<std::string, std::string> environment;
    bool converts;
  } cases[] = {
      {{{"LANG", "C.UTF-8"}}, true},
      {{{"LANG", "en_US.UTF-8"}}, true},  // named but not installed
      {{}, true},                         // no locale at all: servers, containers, ssh
      {{{"LANG", ""}}, true},
      {{{"LANG", "C"}}, true},
      {{{"LC_ALL", "POSIX"}, {"LANG", "zh_CN.GBK"}}, true},
      {{{"LC_ALL", "zh_CN.GBK"}, {"LANG", "C.UTF-8"}}, false},  // a GBK terminal
      {{{"LC_CTYPE", "zh_CN.gb18030"}}, false},
  };
  for (const auto& c : cases) {
    std::string name = c.converts ? utf8(u8"张三\n") : "张三\n";
    auto outcome = run_on_terminal(u8"console_probe", typing(name, c.environment));
    std::string where;
    for (const auto& [variable, value] : c.environment)
      where += variable + "=" + value + " ";
    EXPECT_TRUE(outcome.exited_cleanly()) << where;
    EXPECT_TRUE(same_bytes(outcome.out, c.converts ? converted : as_written)) << where;
  }
}

TEST(Console, OnlyTheTerminalSideOfAProgramIsConverted) {
  TerminalSession output_only = typing("张三\n");
  output_only.input_on_terminal = false;
  auto outcome = run_on_terminal(u8"console_probe", output_only);
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, utf8(u8"名字：[张三    ]4\n名字：再见")));

  TerminalSession input_only = typing(utf8(u8"张三\n"));
  input_only.output_on_terminal = false;
  outcome = run_on_terminal(u8"console_probe", input_only);
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, "名字：[张三    ]4\n名字：再见"));
}

TEST(Console, CharactersCutByFlushesOrTheBufferArriveWhole) {
  auto outcome = run_on_terminal(u8"console_probe", typing(utf8(u8"分\n多\n")));
  EXPECT_TRUE(outcome.exited_cleanly());
  std::string many = "a";
  for (int i = 0; i < 40000; ++i)
    many += utf8(u8"中");
  EXPECT_TRUE(outcome.out == utf8(u8"名字：中\n名字：") + many + utf8(u8"\n名字：再见"))
      << outcome.out.size() << " bytes";
}

TEST(Console, HalfACharacterLeftAtTheEndIsWrittenAsItStands) {
  auto outcome = run_on_terminal(u8"console_probe", typing(utf8(u8"半\n")));
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, utf8(u8"名字：末") + "\xD6"));
}

TEST(Console, TypedBytesThatAreNoUtf8PassThroughBothWays) {
  // 0xFF is no UTF-8 and no GBK; 0xA1 followed by a blank is half a GBK
  // character. Both reach the program and come back as they were typed.
  auto outcome = run_on_terminal(u8"console_probe", typing("\xFF\xA1\n"));
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(
      same_bytes(outcome.out, utf8(u8"名字：") + "[\xFF\xA1      ]2\n" + utf8(u8"名字：再见")));
}

TEST(Console, AnUnfinishedLastLineAndEndOfInputAreRead) {
  auto outcome = run_on_terminal(u8"console_probe", typing(utf8(u8"李四")));
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, utf8(u8"名字：[李四    ]4\n名字：再见")));
}

TEST(Console, ThePromptShowsBeforeTheProgramWaits) {
  TerminalSession waiting = typing("");
  waiting.end_input = false;
  waiting.time_limit_ms = 1000;
  auto outcome = run_on_terminal(u8"console_probe", waiting);
  EXPECT_TRUE(outcome.timed_out);
  EXPECT_TRUE(same_bytes(outcome.out, utf8(u8"名字：")));
}

}  // namespace
