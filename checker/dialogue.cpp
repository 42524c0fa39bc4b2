#include "checker/dialogue.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "checker/encoding.h"

namespace check {
namespace {

namespace fs = std::filesystem;

std::string u8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

const std::string kTypedOpen = u8(u8"«");
const std::string kTypedClose = u8(u8"»");
const std::string kEnd = u8(u8"∎");
const std::string kBlank = u8(u8"␣");
const std::string kTab = u8(u8"⇥");
const std::string kReturn = u8(u8"␍");

struct Fault : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

void replace_all(std::string& text, const std::string& from, const std::string& to) {
  for (std::size_t at = 0; (at = text.find(from, at)) != std::string::npos; at += to.size())
    text.replace(at, from.size(), to);
}

// A piece of a line as bytes: the markers of blanks and tabs undone, GBK.
std::string bytes_of(std::string piece) {
  replace_all(piece, kBlank, " ");
  replace_all(piece, kTab, "\t");
  replace_all(piece, kReturn, "\r");
  return to_gbk(piece);
}

// "--- NAME before ---" or "--- NAME after ---": the name and which.
bool file_heading(const std::string& line, std::string& name, bool& after) {
  if (line.rfind("--- ", 0) != 0 || !ends_with(line, " ---")) return false;
  std::string inner = line.substr(4, line.size() - 8);
  std::size_t blank = inner.rfind(' ');
  if (blank == std::string::npos) return false;
  std::string which = inner.substr(blank + 1);
  if (which != "before" && which != "after") return false;
  name = to_gbk(inner.substr(0, blank));
  after = which == "after";
  return true;
}

Record parse_record(const std::string& line) {
  std::istringstream fields(line);
  std::string num, name, number[4];
  Record record;
  if (!(fields >> num >> name >> number[0] >> number[1] >> number[2] >> number[3]))
    throw Fault("a record needs six fields: number, name, three scores, total");
  record.num = to_gbk(num);
  record.name = to_gbk(name);
  float* values[4] = {&record.score[0], &record.score[1], &record.score[2], &record.total};
  for (int i = 0; i < 4; ++i) {
    char* end = nullptr;
    *values[i] = std::strtof(number[i].c_str(), &end);
    if (*end != '\0') throw Fault("'" + number[i] + "' is no number");
  }
  return record;
}

// The lines of one file section as the file's bytes.
std::string text_of(const std::vector<std::string>& lines) {
  std::string text;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string line = lines[i];
    bool open = ends_with(line, kEnd);
    if (open) {
      if (i + 1 != lines.size()) throw Fault("only a file's last line may end in the end mark");
      line.resize(line.size() - kEnd.size());
    }
    if (!line.empty() && line.back() == ' ')
      throw Fault("a blank ends this line: write it as a blank mark");
    text += bytes_of(line);
    if (!open) text += '\n';
  }
  return text;
}

// One line of the screen: what the program shows and what is typed.
void add_screen_line(std::string line, bool last, Dialogue& dialogue) {
  bool open = ends_with(line, kEnd);
  if (open) {
    if (!last) throw Fault("only the screen's last line may end in the end mark");
    line.resize(line.size() - kEnd.size());
  }
  bool typed_last = false;
  std::size_t at = 0;
  while (at < line.size()) {
    std::size_t start = line.find(kTypedOpen, at);
    std::string shown_part =
        line.substr(at, start == std::string::npos ? std::string::npos : start - at);
    if (shown_part.find(kTypedClose) != std::string::npos)
      throw Fault("a closing mark with no opening one");
    if (start == std::string::npos && !shown_part.empty() && shown_part.back() == ' ')
      throw Fault("a blank ends this line: write it as a blank mark");
    dialogue.output += bytes_of(shown_part);
    typed_last = false;
    if (start == std::string::npos) break;
    start += kTypedOpen.size();
    std::size_t end = line.find(kTypedClose, start);
    if (end == std::string::npos) throw Fault("what is typed has no closing mark");
    dialogue.input += bytes_of(line.substr(start, end - start));
    at = end + kTypedClose.size();
    typed_last = at == line.size();
  }
  if (typed_last)
    dialogue.input += '\n';
  else if (!open)
    dialogue.output += '\n';
}

}  // namespace

bool is_record_file(const std::string& gbk_name) {
  return gbk_name == "stud_dat" || gbk_name == "stud_sort";
}

std::string to_gbk(const std::string& utf8) {
  std::string out;
  if (!utf8.empty() && !convert_text(false, utf8, out))
    throw std::runtime_error("text that GBK cannot hold: " + utf8);
  return out;
}

std::string shown(const std::string& gbk) {
  std::string out;
  std::size_t i = 0;
  while (i < gbk.size()) {
    unsigned char c = static_cast<unsigned char>(gbk[i]);
    std::size_t length = c < 0x80 ? 1 : 2;
    if (length == 2 && i + 1 < gbk.size() &&
        convert_text(true, std::string_view(gbk).substr(i, 2), out)) {
      i += 2;
      continue;
    }
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", c);
      out += hex;
    }
    ++i;
  }
  return out;
}

Dialogue parse_dialogue(const std::string& utf8_text, const fs::path& path) {
  Dialogue dialogue;
  dialogue.path = path;
  std::vector<std::string> lines;
  std::istringstream stream(utf8_text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  std::size_t number = 0;
  try {
    // The comments, the screen, then the file sections.
    while (number < lines.size() &&
           (lines[number].rfind("#", 0) == 0 || lines[number] == "! matrix")) {
      if (lines[number] == "! matrix")
        dialogue.matrix = true;
      else if (dialogue.title.empty())
        dialogue.title =
            lines[number].substr(lines[number].find_first_not_of("# ") == std::string::npos
                                     ? lines[number].size()
                                     : lines[number].find_first_not_of("# "));
      ++number;
    }
    std::string name;
    bool after = false;
    std::size_t screen_end = number;
    while (screen_end < lines.size() && !file_heading(lines[screen_end], name, after))
      ++screen_end;
    for (; number < screen_end; ++number)
      add_screen_line(lines[number], number + 1 == screen_end, dialogue);
    while (number < lines.size()) {
      file_heading(lines[number], name, after);
      std::size_t first = ++number;
      std::string next_name;
      bool next_after = false;
      while (number < lines.size() && !file_heading(lines[number], next_name, next_after))
        ++number;
      std::vector<std::string> body(lines.begin() + first, lines.begin() + number);
      FileImage image;
      image.name = name;
      image.records = is_record_file(name);
      std::size_t line_number = first;
      if (image.records) {
        for (const std::string& line : body) {
          ++line_number;
          if (!line.empty()) image.record_list.push_back(parse_record(line));
        }
      } else {
        image.text = text_of(body);
      }
      (after ? dialogue.after : dialogue.before).push_back(image);
    }
  } catch (const std::exception& fault) {
    throw std::runtime_error(path.string() + ":" + std::to_string(number + 1) + ": " +
                             fault.what());
  }
  return dialogue;
}

std::vector<Dialogue> load_dialogues(const fs::path& folder) {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(folder))
    if (entry.is_regular_file() && entry.path().extension() == ".txt")
      files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  std::vector<Dialogue> dialogues;
  for (const fs::path& file : files) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    dialogues.push_back(parse_dialogue(text.str(), file));
  }
  return dialogues;
}

std::string converted(bool to_utf8, const std::string& text) {
  std::string out;
  return convert_text(to_utf8, text, out) ? out : text;
}

std::map<std::string, std::string> starting_files(const Dialogue& dialogue) {
  std::map<std::string, std::string> files;
  for (const FileImage& image : dialogue.before)
    files[image.name] = image.records ? record_bytes(image.record_list) : image.text;
  return files;
}

std::string record_bytes(const std::vector<Record>& records) {
  std::string bytes;
  for (const Record& record : records) {
    char image[56] = {};
    std::memcpy(image, record.num.data(), std::min<std::size_t>(record.num.size(), 19));
    std::memcpy(image + 20, record.name.data(), std::min<std::size_t>(record.name.size(), 19));
    std::memcpy(image + 40, record.score, 12);
    std::memcpy(image + 52, &record.total, 4);
    bytes.append(image, sizeof image);
  }
  return bytes;
}

}  // namespace check
