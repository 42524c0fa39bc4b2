// The tool that writes the text of literals as escapes of its GBK bytes, for
// a compiler that cannot make GBK literals itself: run on small sources as
// the build runs it, its copies are compared whole, line breaks included, and
// its escapes with the bytes GCC makes of the same literals.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
namespace fs = std::filesystem;
using testing_support::same_bytes;
using testing_support::ScratchFolder;

std::string text(const char8_t* utf8) {
  return reinterpret_cast<const char*>(utf8);
}

std::string quoted(const fs::path& path) {
  return "'" + path.native() + "'";
}

struct Conversion {
  int status = -1;
  std::string copy;    // the copy, or what stood in its place before
  std::string errors;  // what the tool said
};

// Runs the tool on `source`, saved as `name`, with an old copy in the place
// of the new one.
Conversion convert(const std::string& source, const std::string& name = "snippet.cpp") {
  ScratchFolder folder;
  folder.write(name, source);
  folder.write("copy", "old copy");
  const fs::path& at = folder.path();
  std::string command = quoted(fs::path(std::u8string(GBK_LITERALS_TOOL))) + " " +
                        quoted(at / name) + " " + quoted(at / "copy") + " 2>" +
                        quoted(at / "errors");
  int status = std::system(command.c_str());
  Conversion result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.copy = folder.read("copy");
  result.errors = folder.read("errors");
  return result;
}

// The copy less its first line, the #line directive.
std::string body(const Conversion& conversion) {
  return conversion.copy.substr(conversion.copy.find('\n') + 1);
}

TEST(GbkLiterals, NarrowLiteralsBecomeEscapesAndEverythingElseStaysAsWritten) {
  struct Case {
    const char* what;
    const char8_t* source;
    const char8_t* copy;
    const char* name = "snippet.cpp";
  } cases[] = {
      {"comments", u8"// 中 \"中\"\n/* '中'\n */ \"中\"",
       u8"// 中 \"中\"\n/* '中'\n */ \"\\326\\320\""},
      {"a comment continued on the next line", u8"// 中 \\\n\"中\" x\n\"中\"",
       u8"// 中 \\\n\"中\" x\n\"\\326\\320\""},
      {"wide and UTF-8 literals", u8"u8\"中\" u\"中\" U\"中\" L\"中\" u8'a' L'中' u8R\"(中)\"",
       u8"u8\"中\" u\"中\" U\"中\" L\"中\" u8'a' L'中' u8R\"(中)\""},
      {"escapes and quotes", u8"\"\\\"中\\\\\" \"\\x41中\" '\"' \"'中'\" '\\''",
       u8"\"\\\"\\326\\320\\\\\" \"\\x41\\326\\320\" '\"' \"'\\326\\320'\" '\\''"},
      {"universal character names, a digit after them", u8"\"\\u4e2d\\U00004E2D\\u00091\"",
       u8"\"\\326\\320\\326\\320\\0111\""},
      {"a character literal", u8"char c = '中';", u8"char c = '\\326\\320';"},
      {"digit separators", u8"int n = 1'000'000 + 0x1'F; char c = '中';",
       u8"int n = 1'000'000 + 0x1'F; char c = '\\326\\320';"},
      {"a digit after the text", u8"\"中1\" \"1中7\"", u8"\"\\326\\3201\" \"1\\326\\3207\""},
      {"a literal continued on the next line", u8"\"中\\\n文\"\nx",
       u8"\"\\326\\320\\316\\304\\\n\"\nx"},
      {"a raw literal with Chinese text, over two lines", u8"R\"x(一 \"q\" \\n?\n二)x\" 3",
       u8"\"\\322\\273 \\\"q\\\" \\\\n\\?\\n\"\n\"\\266\\376\" 3"},
      {"a raw literal of ASCII alone", u8"R\"(a\\n\"\n)\"", u8"R\"(a\\n\"\n)\""},
      {"a raw literal in a macro", u8"#define M R\"(一\n二)\"\nM",
       u8"#define M \"\\322\\273\\n\"\\\n\"\\266\\376\"\nM"},
      {"directives", u8"#include \"中.h\"\n#include <中'>\n#error 中 \"中\"\n#define M \"中\"",
       u8"#include \"中.h\"\n#include <中'>\n#error 中 \"中\"\n#define M \"\\326\\320\""},
      {"a quote left open", u8"#if 0\nit's 中\n#endif\n\"中\"",
       u8"#if 0\nit's 中\n#endif\n\"\\326\\320\""},
      {"C, which has no raw literals", u8"R\"(中)\"", u8"R\"(\\326\\320)\"", "snippet.c"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Conversion conversion = convert(text(c.source), c.name);
    EXPECT_EQ(conversion.status, 0) << conversion.errors;
    EXPECT_TRUE(same_bytes(body(conversion), text(c.copy)));
  }
}

TEST(GbkLiterals, TheCopyStartsByNamingTheOriginal) {
  Conversion conversion = convert("int x;\n", "a\"b\\c.cpp");
  EXPECT_EQ(conversion.copy.substr(0, 9), "#line 1 \"");
  EXPECT_NE(conversion.copy.find("/a\\\"b\\\\c.cpp\"\nint x;\n"), std::string::npos)
      << conversion.copy;
}

TEST(GbkLiterals, TextWithoutGbkBytesIsAnErrorNamingItsLineAndNoCopyIsWritten) {
  struct Case {
    const char* what;
    std::string source;
    const char* said;
  } cases[] = {
      {"a character GBK lacks", text(u8"int a;\n\n\"x가\";"), "snippet.cpp:3: error: \""},
      {"bytes that are not UTF-8", "//\n'\xff'", "snippet.cpp:2: error: text"},
      {"in a raw literal, on its second line", text(u8"R\"(\n中가)\""), "snippet.cpp:2: error"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Conversion conversion = convert(c.source);
    EXPECT_EQ(conversion.status, 1);
    EXPECT_NE(conversion.errors.find(c.said), std::string::npos) << conversion.errors;
    EXPECT_EQ(conversion.copy, "old copy");
  }
}

// The bytes a run of octal escapes and plain characters stands for.
std::string unescaped(const std::string& literal) {
  std::string bytes;
  for (std::size_t i = 0; i < literal.size(); ++i) {
    if (literal[i] == '\\') {
      bytes += static_cast<char>(std::stoi(literal.substr(i + 1, 3), nullptr, 8));
      i += 3;
    } else {
      bytes += literal[i];
    }
  }
  return bytes;
}

TEST(GbkLiterals, EscapesHoldTheBytesGccMakesOfTheSameText) {
  // Compiled by GCC with its GBK option, each first literal is GBK bytes.
  const struct {
    const char* gcc;
    const char8_t* text;
  } texts[] = {
      {"联系人通信录", u8"联系人通信录"},
      {"，。！？：；、", u8"，。！？：；、"},
      {"（）【】《》“”‘’", u8"（）【】《》“”‘’"},
      {"～·—…￥×÷±", u8"～·—…￥×÷±"},
      {"０１２ＡＢａｂ", u8"０１２ＡＢａｂ"},
      {"①②ⅰⅡ", u8"①②ⅰⅡ"},
      {"ぁアαβАб", u8"ぁアαβАб"},
      {"丂瞭鍃龥", u8"丂瞭鍃龥"},
      {"国國学學", u8"国國学學"},
      {"a中b9", u8"a中b9"},
  };
  std::string source;
  for (const auto& t : texts)
    source.append("\"").append(text(t.text)).append("\"\n");
  Conversion conversion = convert(source);
  ASSERT_EQ(conversion.status, 0) << conversion.errors;
  std::istringstream lines(body(conversion));
  for (const auto& t : texts) {
    SCOPED_TRACE(text(t.text));
    std::string line;
    ASSERT_TRUE(std::getline(lines, line));
    ASSERT_TRUE(line.size() >= 2 && line.front() == '"' && line.back() == '"') << line;
    EXPECT_TRUE(same_bytes(unescaped(line.substr(1, line.size() - 2)), t.gcc));
  }
}

}  // namespace
