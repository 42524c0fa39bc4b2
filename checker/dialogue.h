// A dialogue of an exercise, as a student reads it: a small UTF-8 text of
// what the program shows, what is typed, and the files before and after.
//
//   # A comment: what the dialogue is about (the first one names it).
//   请输入一个数字：«123»        what is typed stands in «»; typed at the end
//   123∎                         of a line, the line end is the typed Enter
//   --- test.txt before ---      a file the folder holds when the program starts
//   --- test.txt after ---       the file as the program must leave it
//
// Every other line the program shows ends with a line end, except one that
// ends in ∎ (the output stops there). A blank that ends a line is written ␣,
// a tab ⇥, a carriage return ␍. The records of stud_dat and stud_sort are lines of six fields:
// number, name, the three scores and the total. A file given before and not
// after must be left as it was. A dialogue whose first line is "! matrix"
// prints a random matrix and then its rearrangement (see matrix.h).
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace check {

struct Record {
  std::string num, name;  // GBK text up to its terminator
  float score[3] = {0, 0, 0};
  float total = 0;
};

struct FileImage {
  std::string name;      // GBK, as the program names it
  bool records = false;  // a record file: `records` counts, not `text`
  std::string text;      // GBK bytes
  std::vector<Record> record_list;
};

struct Dialogue {
  std::string title;  // the first comment, UTF-8
  std::filesystem::path path;
  std::string input;    // GBK bytes typed
  std::string output;   // GBK bytes expected on the screen
  bool matrix = false;  // output derived from the first matrix printed
  std::vector<FileImage> before, after;
};

// Whether the program names this file as a record file of three students.
bool is_record_file(const std::string& gbk_name);

// Reads one dialogue; throws std::runtime_error naming the line at fault.
Dialogue parse_dialogue(const std::string& utf8_text, const std::filesystem::path& path);

// The dialogues of a folder, in the order of their file names.
std::vector<Dialogue> load_dialogues(const std::filesystem::path& folder);

// The files a dialogue starts with, by name, as bytes.
std::map<std::string, std::string> starting_files(const Dialogue& dialogue);

// The 168 bytes of a record file.
std::string record_bytes(const std::vector<Record>& records);

// UTF-8 to GBK; throws on text GBK lacks. Safe from any thread, as are
// the other conversions here.
std::string to_gbk(const std::string& utf8);
// Text converted, or as it stands when it cannot be.
std::string converted(bool to_utf8, const std::string& text);
// GBK to UTF-8 for showing; a byte that is no GBK is shown as \xNN.
std::string shown(const std::string& gbk);

}  // namespace check
