// The contact book, driven as a user runs it: whole transcripts and files.
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/contact_book.h"
#include "tests/support/program_runner.h"

namespace {
using contact_book::book_row;
using testing_support::Outcome;
using testing_support::same_bytes;
using testing_support::Session;

using contact_book::kContacts;
using contact_book::kFrequent;

const std::string kMenu = CONTACT_BOOK_MENU;
const std::string kFormatError = "\n            格式错误，请重新输入！\n                    >>>";
const std::string kExitQuestion = CONTACT_BOOK_EXIT_QUESTION;
const std::string kFarewell = CONTACT_BOOK_FAREWELL;
const std::string kSaved = CONTACT_BOOK_SAVED;
using contact_book::kCannotOpen;
const std::string kLeave = kExitQuestion + kFarewell;
const std::string kSaveAndLeave = kExitQuestion + kSaved + kFarewell;

const std::string kCaption = CONTACT_BOOK_CAPTION;
const std::string kAdd = kCaption + "\n              >>>" + CONTACT_BOOK_ADDED;
const std::string kTable = CONTACT_BOOK_TABLE;

const std::string kTypes =
    "\n             >请输入要查找的类型<\n"
    "               姓名查找请输入1\n"
    "               电话查找请输入2\n"
    "                QQ查找请输入3\n";
const std::string kSearchTypes =
    kTypes + "            常用联系人查找请输入4\n\n" + "                    >>>";
const std::string kPickTypes = kTypes + "\n                    >>>";
const std::string kNameKey = "\n             请输入姓名:";
const std::string kSearchPhoneKey = "\n           请输入电话号码:";
const std::string kPickPhoneKey = "\n             请输入电话号码:";
const std::string kQqKey = "\n             请输入QQ号:";
const std::string kBadType = "\n                输入格式错误！";
const std::string kNoMatch = "\n                <查无此人>!\n";
const std::string kNoFrequent = "                   没有常用联系人QAQ!\n";
const std::string kNotFound = "\n                <查无此人!>\n";
const std::string kNotFoundQq = "\n                 <查无此人!>\n";
const std::string kConfirm = "\n这是不是您需要的信息？是输入1，否输入0：";
const std::string kRevise = kCaption + "              >>>";
const std::string kRevised = "\n                <修改成功!>\n";
const std::string kRevisedQq = "\n                <修改成功>！\n";
const std::string kDeleted = "\n                <删除成功!>\n";

// A saved book: two contacts share a name; flags 1, 0, 2 and -1.
const std::string kBook =
    "Alice      13800000001     10001           1\n"
    "Bob        13900000002     20002           0\n"
    "张三       15000000003     30003           2\n"
    "Bob        13900000009     20009           -1\n";
const std::string kBookFrequent =
    "Alice\t 13800000001\t 10001          \t\n"
    "张三\t 15000000003\t 30003          \t\n"
    "Bob\t 13900000009\t 20009          \t\n";
const std::string kBookTable = kTable +
                               "Alice      13800000001     10001             是\n"
                               "Bob        13900000002     20002             否\n"
                               "张三       15000000003     30003             否\n"
                               "Bob        13900000009     20009             否\n";

// The rows a finder prints.
const std::string kAliceFound = "\nAlice      13800000001     10001             常用\n";
const std::string kBobFound = "\nBob        13900000002     20002             不常用\n";
const std::string kBob2Found = "\nBob        13900000009     20009             不常用\n";
const std::string kZhangFound = "\n张三       15000000003     30003             不常用\n";

// The menu before each step of a dialogue.
std::string dialogue(const std::vector<std::string>& steps) {
  std::string all;
  for (const auto& step : steps)
    all += kMenu + step;
  return all;
}

Outcome run_book(const std::string& book, const std::string& input) {
  Session session;
  session.files = {{kContacts, book}};
  session.input = input;
  return testing_support::run(u8"联系人", session);
}

Outcome run_book(const std::string& input) {
  return run_book(kBook, input);
}

// --- start, menu and leaving ---

TEST(contacts, ExitWithoutSavingLeavesTheFileAsItWas) {
  for (const std::string answer : {"1", "3", "9", "-2", "abc"}) {
    Outcome outcome = run_book("0 " + answer + "\n");
    EXPECT_TRUE(outcome.exited_cleanly()) << answer;
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kLeave}))) << answer;
    EXPECT_EQ(outcome.files, (std::map<std::string, std::string>{{kContacts, kBook}})) << answer;
  }
}

TEST(contacts, ExitAnswerTwoSavesBothFilesThenSaysFarewell) {
  Outcome outcome = run_book("0\n2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, dialogue({kSaveAndLeave})));
  EXPECT_TRUE(same_bytes(outcome.files[kContacts], kBook));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent], kBookFrequent));
  EXPECT_EQ(outcome.files.size(), 2u);
}

TEST(contacts, ChoicesOutsideTheMenuAndNonNumbersGiveTheFormatErrorOnce) {
  // "12abc" is the number 12 followed by the token "abc".
  Outcome outcome = run_book("7\n-1\nabc\n12abc\n\n\n   0\n\n1\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, dialogue({kFormatError, kFormatError, kFormatError,
                                                kFormatError, kFormatError, kLeave})));
}

TEST(contacts, SavingGoesBackToTheMenu) {
  Outcome outcome = run_book("6\n2\n0 1\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, dialogue({kSaved, kBookTable, kLeave})));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent], kBookFrequent));
}

TEST(contacts, AMissingOrUnreadableContactFileEndsBeforeTheMenu) {
  Session missing;
  missing.input = "0 2\n";
  Session folder = missing;
  folder.folders = {kContacts};
  for (const Session& session : {missing, folder}) {
    Outcome outcome = testing_support::run(u8"联系人", session);
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, kCannotOpen));
    EXPECT_TRUE(outcome.files.empty());
  }
}

TEST(contacts, EndOfInputAnywhereEndsAtOnceWithoutSaving) {
  for (const std::string input :
       {"", "1", "1 Zed 123 456", "1 Zed", "3", "3 1", "4 1", "4 1 Bob", "4 1 Bob 1 New 5",
        "5 3 20009", "5 1 Bob 0", "0", "2\n6\n1 Zed 1 2 1\n0"}) {
    Outcome outcome = run_book(input);
    EXPECT_TRUE(outcome.exited_cleanly()) << input << outcome.err;
    EXPECT_EQ(outcome.out.find("感谢"), std::string::npos) << input;
    EXPECT_TRUE(same_bytes(outcome.files[kContacts], kBook)) << input;
  }
}

// --- adding and browsing ---

TEST(contacts, NamesAreInsertedInOrderAndSaved) {
  Outcome outcome = run_book("", "1 z 1 1 0\n1\nx\n2\n2\n1\n1 y 3 3 -1\n2\n0 2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  const std::string table = kTable +
                            "x          2               2                 是\n"
                            "y          3               3                 否\n"
                            "z          1               1                 否\n";
  EXPECT_TRUE(same_bytes(outcome.out, dialogue({kAdd, kAdd, kAdd, table, kSaveAndLeave})));
  EXPECT_TRUE(same_bytes(
      outcome.files[kContacts],
      book_row("x", "2", "2", 1) + book_row("y", "3", "3", -1) + book_row("z", "1", "1", 0)));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent],
                         "x\t 2\t 2              \t\n"
                         "y\t 3\t 3              \t\n"));
}

TEST(contacts, EqualFirstNameGoesInFrontButLaterEqualNamesGoAfterTheirRun) {
  struct Case {
    std::string book, added, order;
  } cases[] = {
      {"b 1 1 0\nd 2 2 0\nd 3 3 0\nf 4 4 0", "b 9", "b9 b1 d2 d3 f4"},
      {"b 1 1 0\nd 2 2 0\nd 3 3 0\nf 4 4 0", "d 9", "b1 d2 d3 d9 f4"},
      {"b 1 1 0\nd 2 2 0\nd 3 3 0\nf 4 4 0", "a 9", "a9 b1 d2 d3 f4"},
      {"b 1 1 0\nd 2 2 0\nd 3 3 0\nf 4 4 0", "g 9", "b1 d2 d3 f4 g9"},
      // An unsorted book: before the first later name that is greater.
      {"c 1 1 0\nm 2 2 0\nd 3 3 0\nz 4 4 0", "e 9", "c1 e9 m2 d3 z4"},
      // GBK names sort after ASCII ones, by byte value; a prefix sorts first.
      {"ab 1 1 0\n张三 2 2 0", "abc 9", "ab1 abc9 张三2"},
      {"ab 1 1 0\n张三 2 2 0", "李四 9", "ab1 李四9 张三2"},
  };
  for (const Case& c : cases) {
    Outcome outcome = run_book(c.book, "1 " + c.added + " 0 0\n0 2\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    std::string order;
    for (std::size_t at = 0; at < outcome.files[kContacts].size();) {
      std::size_t end = outcome.files[kContacts].find('\n', at);
      char name[32] = {}, phone[32] = {};
      std::sscanf(outcome.files[kContacts].substr(at, end - at).c_str(), "%31s %31s", name, phone);
      if (!order.empty()) order += ' ';
      order.append(name).append(phone);
      at = end + 1;
    }
    EXPECT_EQ(order, c.order) << c.book << " + " << c.added;
  }
}

TEST(contacts, AFlagThatIsNotANumberCountsAsNotFrequentAndTheDialogueGoesOn) {
  Outcome outcome = run_book("", "1 Ann 1 2 yes\n2\n0 2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(
      outcome.out, dialogue({kAdd, kTable + "Ann        1               2                 否\n",
                             kSaveAndLeave})));
  EXPECT_TRUE(same_bytes(outcome.files[kContacts], book_row("Ann", "1", "2", 0)));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent], ""));
}

TEST(contacts, OverLongFieldsAreCutWithoutSplittingACharacter) {
  // 16, 18 and 15 bytes: cut to 14, 14 and 13.
  const std::string typed = "一二三四五六七八 123456789012345678 a一二三四五六七 1";
  const std::string saved = "一二三四五六七 12345678901234  a一二三四五六   1\n";
  Outcome from_file = run_book(typed, "0 2\n");
  Outcome from_keys = run_book("", "1 " + typed + "\n0 2\n");
  for (const Outcome& outcome : {from_file, from_keys}) {
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.files.at(kContacts), saved));
    EXPECT_TRUE(same_bytes(outcome.files.at(kFrequent),
                           "一二三四五六七\t 12345678901234\t a一二三四五六  \t\n"));
  }
}

TEST(contacts, EmptyBookShowsOnlyTheHeaderAndLongFieldsPushTheRow) {
  Outcome empty = run_book("", "2\n0 1\n");
  EXPECT_TRUE(same_bytes(empty.out, dialogue({kTable, kLeave})));
  Outcome wide = run_book("一二三四五六 12345678901234567 q 1\n", "2\n0 2\n");
  EXPECT_TRUE(same_bytes(
      wide.out,
      dialogue({kTable + "一二三四五六 12345678901234  q                 是\n", kSaveAndLeave})));
  EXPECT_TRUE(
      same_bytes(wide.files[kContacts], "一二三四五六 12345678901234  q               1\n"));
}

// --- reading the contact file ---

TEST(contacts, LineEndsBlankLinesAndSpacingDoNotChangeTheRecords) {
  for (const std::string& book : std::vector<std::string>{
           kBook,
           "Alice 13800000001 10001 1\r\nBob 13900000002 20002 0\r\n张三 15000000003 30003 "
           "2\r\nBob 13900000009 20009 -1\r\n",
           "\n\nAlice 13800000001 10001 1\n\n\nBob\t13900000002\t20002\t0\n张三 15000000003 30003 "
           "2\nBob 13900000009 20009 -1\n\n\n  \n",
           "Alice 13800000001 10001 1\nBob 13900000002 20002 0\n张三 15000000003 30003 2\nBob "
           "13900000009 20009 -1",
           "Alice 13800000001\n10001 1 Bob 13900000002 20002 0 张三 15000000003 30003 2 Bob\n"
           "13900000009\n20009\n-1\n",
       }) {
    Outcome outcome = run_book(book, "2\n6\n0 1\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kBookTable, kSaved, kLeave})));
    EXPECT_TRUE(same_bytes(outcome.files[kContacts], kBook));
    EXPECT_TRUE(same_bytes(outcome.files[kFrequent], kBookFrequent));
  }
}

TEST(contacts, DamagedRecordsKeepWhatWasReadAndLoseNoNameAfterThem) {
  struct Case {
    std::string book, saved;
  } cases[] = {
      // A last record cut short: the missing fields are "-", the flag 0.
      {"Ann 1 2 1\nBob 3", book_row("Ann", "1", "2", 1) + book_row("Bob", "3", "-", 0)},
      {"Ann 1 2 1\nBob 3 4\n", book_row("Ann", "1", "2", 1) + book_row("Bob", "3", "4", 0)},
      // A record without its flag: the name after it begins the next record.
      {"Alice 138 1\nBob 139 200 0\nCarol 140 300 1\n", book_row("Alice", "138", "1", 0) +
                                                            book_row("Bob", "139", "200", 0) +
                                                            book_row("Carol", "140", "300", 1)},
      {"Ann 1 2 -\nBob 3 4 1\n",
       book_row("Ann", "1", "2", 0) + book_row("-", "Bob", "3", 4) + book_row("1", "-", "-", 0)},
      // A flag is the number its token begins with; the rest begins the next record.
      {"Ann 1 2 1x\nBob 3 4 1\n",
       book_row("Ann", "1", "2", 1) + book_row("x", "Bob", "3", 4) + book_row("1", "-", "-", 0)},
      {"Ann 1 2 99999999999\nBob 3 4 1\n",
       book_row("Ann", "1", "2", 0) + book_row("Bob", "3", "4", 1)},
      // The same where a file's buffer ends right after the sign.
      {"Ann 1 2" + std::string(4095 - 7, ' ') + "-\nBob 3 4 1\n",
       book_row("Ann", "1", "2", 0) + book_row("-", "Bob", "3", 4) + book_row("1", "-", "-", 0)},
  };
  for (const Case& c : cases) {
    Outcome outcome = run_book(c.book, "0 2\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.files[kContacts], c.saved)) << c.book;
  }
}

// --- searching ---

TEST(contacts, EveryMatchIsListedInOrderOrTheNotFoundMessage) {
  struct Case {
    std::string input, shown;
  } cases[] = {
      {"3 1 Bob", kNameKey + kBobFound + kBob2Found},
      {"3 2 15000000003", kSearchPhoneKey + kZhangFound},
      {"3 3 10001", kQqKey + kAliceFound},
      {"3 1 bob", kNameKey + kNoMatch},
      {"3 1 Bo", kNameKey + kNoMatch},
      {"3 3 1000", kQqKey + kNoMatch},
      // Longer than any field: the 14 bytes it starts with must not match.
      {"3 1 ABCDEFGHIJKLMNO", kNameKey + kNoMatch},
      {"3 1 ABCDEFGHIJKLMN",
       kNameKey + "\nABCDEFGHIJKLMN 5               6                 不常用\n"},
      {"3 4", "\n    Alice      13800000001     10001             "},
      {"3 0", kBadType},
      {"3 5", kBadType},
      {"3 -1", kBadType},
      {"3 abc", kBadType},
  };
  for (const Case& c : cases) {
    Outcome outcome = run_book(kBook + "ABCDEFGHIJKLMN 5 6 0\n", c.input + "\n0 1\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kSearchTypes + c.shown, kLeave}))) << c.input;
  }
}

TEST(contacts, FrequentRowsHaveNoLineEndAndAnEmptyBookFindsNothing) {
  Outcome two = run_book("a 1 2 1\nb 3 4 2\nc 5 6 1\n", "3 4\n0 1\n");
  EXPECT_TRUE(same_bytes(
      two.out, dialogue({kSearchTypes + "\n    a          1               2                 " +
                             "\n    c          5               6                 ",
                         kLeave})));
  Outcome empty = run_book("", "3 1 a\n3 2 1\n3 3 2\n3 4\n0 1\n");
  EXPECT_TRUE(same_bytes(
      empty.out,
      dialogue({kSearchTypes + kNameKey + kNoMatch, kSearchTypes + kSearchPhoneKey + kNoMatch,
                kSearchTypes + kQqKey + kNoMatch, kSearchTypes + kNoFrequent, kLeave})));
}

// --- revising and deleting ---

TEST(contacts, TheConfirmedContactChangesInPlace) {
  // The second Bob is confirmed; the first is kept.
  Outcome outcome = run_book("4 1 Bob 0 1 Aaron 555 666 1\n0 2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, dialogue({kPickTypes + kNameKey + kBobFound + kConfirm +
                                                    kBob2Found + kConfirm + kRevise + kRevised,
                                                kSaveAndLeave})));
  EXPECT_TRUE(same_bytes(outcome.files[kContacts],
                         kBook.substr(0, 135) + book_row("Aaron", "555", "666", 1)));
}

TEST(contacts, MessagesByTypeAndAnswersThatAreNotYes) {
  struct Case {
    std::string input, shown;
  } cases[] = {
      {"4 2 13800000001 1 Al 1 2 x", kPickPhoneKey + kAliceFound + kConfirm + kRevise + kRevised},
      {"4 3 20002 1 B 1 2 0", kQqKey + kBobFound + kConfirm + kRevise + kRevisedQq},
      {"4 1 Nobody", kNameKey + kNotFound},
      {"4 2 0", kPickPhoneKey + kNotFound},
      {"4 3 0", kQqKey + kNotFoundQq},
      {"4 1 ABCDEFGHIJKLMNO", kNameKey + kNotFound},
      {"4 1 Bob 0 abc", kNameKey + kBobFound + kConfirm + kBob2Found + kConfirm},
      {"4 1 Bob 2 -1", kNameKey + kBobFound + kConfirm + kBob2Found + kConfirm},
      {"4 4", kBadType},
      {"4 0", kBadType},
      {"4 x", kBadType},
  };
  for (const Case& c : cases) {
    Outcome outcome = run_book(c.input + "\n0 1\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kPickTypes + c.shown, kLeave}))) << c.input;
  }
}

TEST(contacts, ANewNameDoesNotMoveTheContactAndAFlagThatIsNotANumberIsZero) {
  Outcome outcome = run_book("4 2 13800000001 1 Zed 7 8 yes\n2\n0 2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(
      same_bytes(outcome.files[kContacts], book_row("Zed", "7", "8", 0) + kBook.substr(45)));
  EXPECT_TRUE(same_bytes(outcome.files[kFrequent], kBookFrequent.substr(37)));
}

TEST(contacts, FirstLastSecondOfTwoAndNone) {
  struct Case {
    std::string input, shown, saved;
  } cases[] = {
      {"5 1 Alice 1", kNameKey + kAliceFound + kConfirm + kDeleted, kBook.substr(45)},
      {"5 3 20009 1", kQqKey + kBob2Found + kConfirm + kDeleted, kBook.substr(0, 135)},
      {"5 1 Bob 0 1", kNameKey + kBobFound + kConfirm + kBob2Found + kConfirm + kDeleted,
       kBook.substr(0, 135)},
      {"5 1 Bob 0 0", kNameKey + kBobFound + kConfirm + kBob2Found + kConfirm, kBook},
      {"5 3 3000", kQqKey + kNotFoundQq, kBook},
      {"5 4", kBadType, kBook},
  };
  for (const Case& c : cases) {
    Outcome outcome = run_book(c.input + "\n0 2\n");
    EXPECT_TRUE(outcome.exited_cleanly());
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kPickTypes + c.shown, kSaveAndLeave})))
        << c.input;
    EXPECT_TRUE(same_bytes(outcome.files[kContacts], c.saved)) << c.input;
  }
}

TEST(contacts, DeletingTheOnlyContactLeavesAnEmptyBook) {
  Outcome outcome = run_book("Ann 1 2 1\n", "5 2 1 1\n2\n0 2\n");
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(
      outcome.out,
      dialogue({kPickTypes + kPickPhoneKey +
                    "\nAnn        1               2                 常用\n" + kConfirm + kDeleted,
                kTable, kSaveAndLeave})));
  EXPECT_EQ(outcome.files, (std::map<std::string, std::string>{{kContacts, ""}, {kFrequent, ""}}));
}

// --- saving when the files cannot be written ---

TEST(contacts, AFolderInPlaceOfTheFrequentFileFailsTheSaveAndKeepsTheBookAndTheEdits) {
  Session session;
  session.files = {{kContacts, kBook}};
  session.folders = {kFrequent};
  session.input = "5 1 Alice 1\n6\n2\n0 1\n";
  Outcome outcome = testing_support::run(u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly());
  const std::string without_alice =
      kTable + kBookTable.substr(kBookTable.find('\n', kTable.size()) + 1);
  EXPECT_TRUE(
      same_bytes(outcome.out, dialogue({kPickTypes + kNameKey + kAliceFound + kConfirm + kDeleted,
                                        kCannotOpen, without_alice, kLeave})));
  // Nothing else, no temporary file, is left in the folder.
  EXPECT_EQ(outcome.files, (std::map<std::string, std::string>{{kContacts, kBook}}));
}

TEST(contacts, FailedWritesKeepTheOldFilesAndNeverClaimSuccess) {
  auto file_size_limit = [] {
    // The programs ignore the signal of a file grown too large; a Windows
    // program cannot, and its launcher would end by it.
    if (testing_support::windows_programs()) ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{100, 100};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  };
  const std::string old_frequent = "old\n";
  for (bool read_only : {false, true}) {
    testing_support::ScratchFolder folder;
    folder.write(kContacts, kBook);
    folder.write(kFrequent, old_frequent);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::all);
    if (read_only) {
      std::filesystem::permissions(folder.path_of(kContacts), std::filesystem::perms(0444));
      std::filesystem::permissions(folder.path_of(kFrequent), std::filesystem::perms(0666));
    }
    Session session;
    session.input = "1 Zed 1 2 1\n0 2\n0 1\n";
    session.unprivileged = read_only;
    if (!read_only) session.in_child = file_size_limit;
    Outcome outcome = testing_support::run_in(folder.path(), u8"联系人", session);
    std::filesystem::permissions(folder.path(), std::filesystem::perms::owner_all);
    EXPECT_TRUE(outcome.exited_cleanly()) << read_only;
    // The save failed: back to the menu, the new contact still there to be saved.
    EXPECT_TRUE(same_bytes(outcome.out, dialogue({kAdd, kExitQuestion + kCannotOpen, kLeave})));
    EXPECT_EQ(outcome.files,
              (std::map<std::string, std::string>{{kContacts, kBook}, {kFrequent, old_frequent}}));
  }
}

TEST(contacts, RunningOutOfMemoryWhileLoadingIsReportedAndEndsTheProgram) {
#if defined(__SANITIZE_ADDRESS__)
  GTEST_SKIP() << "the address sanitizer reserves more address space than the limit";
#else
  std::string book;
  for (int i = 0; i < 300000; ++i)
    book.append("n").append(std::to_string(i)).append(" 1 2 0\n");
  Session session;
  session.files = {{kContacts, book}};
  session.input = "6\n";
  session.in_child = [] {
    rlimit limit{16 << 20, 16 << 20};
    ::setrlimit(RLIMIT_DATA, &limit);
  };
  Outcome outcome = testing_support::run(u8"联系人", session);
  EXPECT_TRUE(outcome.exited_cleanly());
  EXPECT_TRUE(same_bytes(outcome.out, "内存不足！\n"));
  EXPECT_EQ(outcome.files[kContacts], book);
#endif
}

}  // namespace
