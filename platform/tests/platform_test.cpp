// Opening files: only regular files open, and none waits for a writer.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "platform/file.h"
#include "tests/support/program_runner.h"

namespace {
using testing_support::ScratchFolder;

TEST(OpenFile, OnlyRegularFilesOpenAndNoneWaitsForAWriter) {
  ScratchFolder folder;
  folder.write("file", "x");
  std::FILE* file = platform::open_file((folder.path() / "file").c_str(), "r+b");
  ASSERT_NE(file, nullptr);
  std::fclose(file);
  const std::string pipe = (folder.path() / "pipe").string();
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& name : {folder.path().string(), (folder.path() / "missing").string(),
                                  pipe, std::string("/dev/null")}) {
    EXPECT_EQ(platform::open_file(name.c_str(), "rb"), nullptr) << name;
  }
}

}  // namespace
