// Nothing saved is ever lost: the contact book's save either writes a file
// completely or leaves it as it was, the book last, and says which; and a book survives
// being loaded and saved unchanged.
#include <signal.h>
#include <sys/resource.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/abuse/abuse.h"
#include "tests/support/contact_book.h"

namespace {
using testing_support::contains;
using testing_support::Outcome;
using testing_support::run;
using testing_support::ScratchFolder;
using testing_support::Session;

using contact_book::kContacts;
using contact_book::kFrequent;
const std::string kSaved = "<保存成功!>";
const std::string kFailed = "打不开！";

const std::string kOldBook =
    "Alice      13800000001     10001           1\n"
    "张三       15000000003     30003           2\n";
const std::string kOldFrequent = "an older frequent-contact file\n";
// Adds a frequent contact, saves, and leaves without saving again.
const std::string kAddAndSave = "1\nBob 139 20002 1\n6\n0\n1\n";

Session saving_session() {
  Session session;
  session.input = kAddAndSave;
  session.files = {{kContacts, kOldBook}, {kFrequent, kOldFrequent}};
  return session;
}

// The child may write no file longer than `limit` bytes, and learns of it by
// a failed write rather than by being killed.
std::function<void()> file_size_limit(rlim_t limit) {
  return [limit] {
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit r{limit, limit};
    ::setrlimit(RLIMIT_FSIZE, &r);
  };
}

TEST(ContactSave, FileSizeLimitAtEveryByteNeverLeavesAHalfWrittenFile) {
  Outcome full = run(u8"联系人", saving_session());
  ASSERT_TRUE(abuse::ended_cleanly(full));
  ASSERT_TRUE(contains(full.out, kSaved));
  const std::string new_book = full.files.at(kContacts);
  const std::string new_frequent = full.files.at(kFrequent);
  ASSERT_NE(new_book, kOldBook);

  const std::size_t largest = std::max(new_book.size(), new_frequent.size());
  for (std::size_t limit = 0; limit <= largest; ++limit) {
    Session session = saving_session();
    session.in_child = file_size_limit(limit);
    Outcome outcome = run(u8"联系人", session);
    SCOPED_TRACE("file size limit " + std::to_string(limit));
    ASSERT_TRUE(abuse::ended_cleanly(outcome));
    const std::string& book = outcome.files[kContacts];
    const std::string& frequent = outcome.files[kFrequent];
    EXPECT_TRUE(book == kOldBook || book == new_book);
    EXPECT_TRUE(frequent == kOldFrequent || frequent == new_frequent);
    bool all_written = book == new_book && frequent == new_frequent;
    EXPECT_EQ(contains(outcome.out, kSaved), all_written);
    EXPECT_EQ(contains(outcome.out, kFailed), !all_written);
    EXPECT_TRUE(book != new_book || frequent == new_frequent)
        << "the book new before its other file";
    EXPECT_EQ(outcome.files.size(), 2u) << "a temporary file was left behind";
  }
}

TEST(ContactSave, AFolderInPlaceOfTheFrequentFileFailsBeforeEitherFileIsWritten) {
  Session session = saving_session();
  session.files.erase(kFrequent);
  session.folders = {kFrequent};
  Outcome outcome = run(u8"联系人", session);
  ASSERT_TRUE(abuse::ended_cleanly(outcome));
  EXPECT_TRUE(contains(outcome.out, kFailed));
  EXPECT_FALSE(contains(outcome.out, kSaved));
  EXPECT_EQ(outcome.files[kContacts], kOldBook);
  EXPECT_EQ(outcome.files.size(), 1u);
}

TEST(ContactSave, ReadOnlyFoldersAndFilesAreReportedAndKeptAsTheyWere) {
  using std::filesystem::perms;
  struct Case {
    const char* what;
    perms folder, contacts, frequent;
  };
  const Case cases[] = {
      {"read-only folder", perms(0555), perms(0644), perms(0644)},
      {"read-only contact file", perms(0777), perms(0444), perms(0666)},
      {"read-only frequent-contact file", perms(0777), perms(0666), perms(0444)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    if (testing_support::windows_programs() && c.folder != perms(0777)) {
      std::printf(
          "skipped under the launcher: %s (the read-only attribute of a Windows folder keeps "
          "no file out, and a Windows program runs here only as a user who may write)\n",
          c.what);
      continue;
    }
    ScratchFolder folder;
    folder.write(kContacts, kOldBook);
    folder.write(kFrequent, kOldFrequent);
    std::filesystem::permissions(folder.path_of(kContacts), c.contacts);
    std::filesystem::permissions(folder.path_of(kFrequent), c.frequent);
    std::filesystem::permissions(folder.path(), c.folder);
    Session session;
    session.input = kAddAndSave;
    session.unprivileged = true;  // so that permissions hold even for root
    Outcome outcome = testing_support::run_in(folder.path(), u8"联系人", session);
    std::filesystem::permissions(folder.path(), perms(0700));
    ASSERT_TRUE(abuse::ended_cleanly(outcome));
    EXPECT_TRUE(contains(outcome.out, kFailed));
    EXPECT_FALSE(contains(outcome.out, kSaved));
    EXPECT_EQ(outcome.files[kContacts], kOldBook);
    EXPECT_EQ(outcome.files[kFrequent], kOldFrequent);
    EXPECT_EQ(outcome.files.size(), 2u) << "a temporary file was left behind";
  }
}

// A random token of 1 to `most` bytes, mixing ASCII and two-byte GBK characters.
std::string random_text(std::mt19937& random, std::size_t most) {
  std::size_t length = 1 + random() % most;
  std::string text;
  while (text.size() < length) {
    if (length - text.size() >= 2 && random() % 2) {
      text += static_cast<char>(0x81 + random() % 0x7E);
      unsigned char trail = static_cast<unsigned char>(0x40 + random() % 0xBF);
      text += static_cast<char>(trail == 0x7F ? 0x80 : trail);
    } else {
      text += static_cast<char>('!' + random() % 94);
    }
  }
  return text;
}

TEST(ContactSave, ABookLoadedAndSavedUnchangedIsWrittenByteForByteAsItWas) {
  for (unsigned seed = 1; seed <= 30; ++seed) {
    std::mt19937 random(seed);
    std::string book, frequent, table = CONTACT_BOOK_TABLE;
    int contacts = static_cast<int>(random() % 40);
    for (int k = 0; k < contacts; ++k) {
      std::string name = random_text(random, 14), phone = random_text(random, 14),
                  qq = random_text(random, 14);
      int flag =
          random() % 3 == 0 ? static_cast<int>(random()) : static_cast<int>(random() % 3) - 1;
      book += contact_book::book_row(name, phone, qq, flag);
      if (flag != 0) frequent += contact_book::frequent_row(name, phone, qq);
      table += contact_book::table_row(name, phone, qq, flag);
    }
    Session session;
    session.input = "2\n6\n0\n1\n";
    session.files = {{kContacts, book}};
    Outcome outcome = run(u8"联系人", session);
    SCOPED_TRACE("seed " + std::to_string(seed));
    ASSERT_TRUE(abuse::ended_cleanly(outcome));
    EXPECT_TRUE(contains(outcome.out, table)) << "the book did not load into the same records";
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kContacts], book));
    EXPECT_TRUE(testing_support::same_bytes(outcome.files[kFrequent], frequent));
  }
}

}  // namespace
