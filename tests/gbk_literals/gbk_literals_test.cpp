// The copies of the sources that a compiler without a GBK option compiles:
// made as the build makes them, their literals are compared with the bytes
// GCC makes of the same text, and text they cannot hold stops the build.
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "tests/support/program_runner.h"

namespace {
namespace fs = std::filesystem;
using testing_support::contains;
using testing_support::same_bytes;
using testing_support::ScratchFolder;

std::string text(const char8_t* utf8) {
  return reinterpret_cast<const char*>(utf8);
}

std::string in_quotes(const std::string& word) {
  return "'" + word + "'";
}

struct Conversion {
  int status = -1;
  std::string copy;    // the copy, or what stood in its place before
  std::string errors;  // what the conversion said
};

// Converts `source`, saved as `name`, with an old copy in the place of the
// new one.
Conversion convert(const std::string& source, const std::string& name = "snippet.cpp") {
  ScratchFolder folder;
  folder.write(name, source);
  folder.write("copy", "old copy");
  const fs::path& at = folder.path();
  std::string command = in_quotes(fs::path(std::u8string(GBK_COPY_COMMAND)).native()) + " " +
                        in_quotes("-DSOURCE=" + (at / name).native()) + " " +
                        in_quotes("-DCOPY=" + (at / "copy").native()) + " -P " +
                        in_quotes(fs::path(std::u8string(GBK_COPY_SCRIPT)).native()) + " >" +
                        in_quotes((at / "errors").native()) + " 2>&1";
  int status = std::system(command.c_str());
  Conversion result;
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.copy = folder.read("copy");
  result.errors = folder.read("errors");
  return result;
}

TEST(GbkCopies, LiteralsHoldTheBytesGccMakesOfTheSameText) {
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
  std::string source = text(u8"// 注释\n"), expected = "// 注释\n";
  for (const auto& t : texts) {
    source.append("\"").append(text(t.text)).append("\"\n");
    expected.append("\"").append(t.gcc).append("\"\n");
  }
  Conversion conversion = convert(source);
  ASSERT_EQ(conversion.status, 0) << conversion.errors;
  const std::size_t body = conversion.copy.find('\n') + 1;
  EXPECT_TRUE(same_bytes(conversion.copy.substr(body), expected));
}

TEST(GbkCopies, TheCopyStartsByNamingTheOriginal) {
  Conversion conversion = convert("int x;\n", "a\"b\\c.cpp");
  ASSERT_EQ(conversion.status, 0) << conversion.errors;
  EXPECT_EQ(conversion.copy.substr(0, 9), "#line 1 \"");
  EXPECT_TRUE(contains(conversion.copy, "/a\\\"b\\\\c.cpp\"\nint x;\n")) << conversion.copy;
}

TEST(GbkCopies, TextACopyCannotHoldIsAnErrorNamingItsLineAndNoCopyIsWritten) {
  struct Case {
    const char* what;
    std::string source;
    const char* said;
  } cases[] = {
      {"a character GBK lacks", text(u8"int a;\n\n\"x가\";"), "snippet.cpp:3: error: text"},
      {"bytes that are not UTF-8", "//\n'\xff'", "snippet.cpp:2: error: text"},
      // GBK 0x81 0x5C: a backslash would carry the comment on
      {"a backslash in GBK, in a comment", text(u8"int a;\n// \u4E57\nint b;"),
       "snippet.cpp:2: error: a character"},
      // GBK 0xD5 0x5C: a backslash would escape the closing quote
      {"a backslash in GBK, in a literal", text(u8"\"中\"\n\n\n\"\u8AA0\""),
       "snippet.cpp:4: error: a character"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Conversion conversion = convert(c.source);
    EXPECT_NE(conversion.status, 0);
    EXPECT_TRUE(contains(conversion.errors, c.said)) << conversion.errors;
    EXPECT_EQ(conversion.copy, "old copy");
  }
}

}  // namespace
