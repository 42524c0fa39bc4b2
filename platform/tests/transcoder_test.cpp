// Converting between GBK and UTF-8 a piece at a time.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/transcoder.h"
#include "tests/support/terminal_runner.h"

namespace {
using platform::Direction;
using platform::locale_is_gbk;
using platform::Transcoder;
using testing_support::same_bytes;
using testing_support::utf8;

// The whole text converted in pieces of `piece` bytes (0: in one piece).
std::string convert(Direction direction, const std::string& text, std::size_t piece = 0) {
  Transcoder converter(direction);
  EXPECT_TRUE(converter.ready());
  std::string out;
  if (piece == 0) piece = text.size() + 1;
  for (std::size_t at = 0; at < text.size(); at += piece) {
    converter.convert(std::string_view(text).substr(at, piece), out);
  }
  converter.finish(out);
  return out;
}

std::string to_utf8(const std::string& gbk) {
  return convert(Direction::gbk_to_utf8, gbk);
}
std::string to_gbk(const std::string& text) {
  return convert(Direction::utf8_to_gbk, text);
}

TEST(Transcoder, ProgramTextReadsTheSameInBothEncodings) {
  // The compiler wrote the first literal in GBK, the second in UTF-8.
  const std::string gbk = "联系人：张三，电话１３９。打不开！ OK\n";
  const std::string text = utf8(u8"联系人：张三，电话１３９。打不开！ OK\n");
  EXPECT_TRUE(same_bytes(to_utf8(gbk), text));
  EXPECT_TRUE(same_bytes(to_gbk(text), gbk));
}

TEST(Transcoder, EveryGbkCharacterComesBackFromUtf8Unchanged) {
  Transcoder decoder(Direction::gbk_to_utf8), encoder(Direction::utf8_to_gbk);
  int converted = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead) {
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      const std::string gbk{static_cast<char>(lead), static_cast<char>(trail)};
      std::string text, back;
      decoder.convert(gbk, text);
      decoder.finish(text);
      if (text == gbk) continue;  // no such character: passed through
      ++converted;
      encoder.convert(text, back);
      encoder.finish(back);
      ASSERT_EQ(back, gbk) << testing_support::visible(gbk);
    }
  }
  EXPECT_GT(converted, 21000);
}

TEST(Transcoder, PiecesOfAnySizeGiveTheSameResult) {
  const std::string gbk = "a张\xFF三\x81\n李\xAA\xA1四 end";
  const std::string text = utf8(u8"a张三 ") + "\xFF\xE4" + utf8(u8"李四😀 end");
  for (auto [direction, input] :
       {std::pair{Direction::gbk_to_utf8, gbk}, std::pair{Direction::utf8_to_gbk, text}}) {
    const std::string whole = convert(direction, input);
    for (std::size_t piece = 1; piece <= 5; ++piece) {
      EXPECT_TRUE(same_bytes(convert(direction, input, piece), whole)) << piece;
    }
    for (std::size_t cut = 1; cut < input.size(); ++cut) {
      Transcoder converter(direction);
      std::string out;
      converter.convert(input.substr(0, cut), out);
      converter.convert(input.substr(cut), out);
      converter.finish(out);
      EXPECT_TRUE(same_bytes(out, whole)) << cut;
    }
  }
}

TEST(Transcoder, BytesThatCannotBeConvertedPassThroughInTheirPlace) {
  struct Case {
    Direction direction;
    std::string in, out;
  } cases[] = {
      // no GBK byte at all
      {Direction::gbk_to_utf8,
       "\xFF"
       "a",
       "\xFF"
       "a"},
      // a lead byte before a line break goes alone; the line break stays
      {Direction::gbk_to_utf8, "\xD6\n中", "\xD6\n" + utf8(u8"中")},
      // a pair without a character goes together, so its second byte
      // is not read as the start of the next character
      {Direction::gbk_to_utf8, "\xAA\xA1\xB0\xA1", "\xAA\xA1" + utf8(u8"啊")},
      // half a character at the very end
      {Direction::gbk_to_utf8, "中\xD6", utf8(u8"中") + "\xD6"},
      // no UTF-8: a stray continuation byte, a cut sequence, 0xFF
      {Direction::utf8_to_gbk,
       "\x80"
       "a\xE4\xB8 \xFF",
       "\x80"
       "a\xE4\xB8 \xFF"},
      // a character GBK lacks keeps its UTF-8 bytes
      {Direction::utf8_to_gbk, utf8(u8"中😀文"), "中" + utf8(u8"😀") + "文"},
      {Direction::utf8_to_gbk, utf8(u8"中") + "\xE4\xB8", "中\xE4\xB8"},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(same_bytes(convert(c.direction, c.in), c.out)) << testing_support::visible(c.in);
  }
}

TEST(Transcoder, AsciiIsLeftAlone) {
  std::string ascii;
  for (int c = 0; c < 0x80; ++c)
    ascii += static_cast<char>(c);
  EXPECT_EQ(to_utf8(ascii), ascii);
  EXPECT_EQ(to_gbk(ascii), ascii);
}

TEST(Locale, FirstNonEmptyVariableDecidesWhetherItNamesAGbkCharacterSet) {
  struct Case {
    const char* lc_all;
    const char* lc_ctype;
    const char* lang;
    bool gbk;
  } cases[] = {
      {nullptr, nullptr, "zh_CN.GBK", true},
      {nullptr, nullptr, "zh_CN.gb2312", true},
      {nullptr, nullptr, "zh_CN.GB-18030@pinyin", true},
      {nullptr, nullptr, "zh_CN.cp936", true},
      {nullptr, nullptr, "zh_CN.euc_cn", true},
      {nullptr, nullptr, "EUC-CN", true},
      {nullptr, "zh_CN.GBK", "C.UTF-8", true},
      {"", "", "zh_CN.GBK", true},
      {"C.UTF-8", "zh_CN.GBK", nullptr, false},
      {nullptr, nullptr, "zh_CN.UTF-8", false},
      {nullptr, nullptr, "C", false},
      {nullptr, nullptr, "POSIX", false},
      {nullptr, nullptr, "zh_TW.BIG5", false},
      {nullptr, nullptr, "zh_CN.GBKX", false},
      {nullptr, nullptr, "en_US.ISO-8859-1@gbk", false},
      {"", "", "", false},
      {nullptr, nullptr, nullptr, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(locale_is_gbk(c.lc_all, c.lc_ctype, c.lang), c.gbk)
        << (c.lc_all ? c.lc_all : "-") << " " << (c.lc_ctype ? c.lc_ctype : "-") << " "
        << (c.lang ? c.lang : "-");
  }
}

}  // namespace
