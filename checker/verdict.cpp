#include "checker/verdict.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <vector>

#include "checker/matrix.h"

namespace check {
namespace {

std::string u8(const char8_t* text) {
  return reinterpret_cast<const char*>(text);
}

// A Windows program's text as a Linux program writes it: text mode ends its
// lines in CR LF, and no exercise writes a carriage return of its own.
std::string without_carriage_returns(std::string text) {
  std::erase(text, '\r');
  return text;
}

std::vector<std::string> lines_of(const std::string& gbk) {
  std::vector<std::string> lines;
  std::string text = notation(gbk);
  std::size_t at = 0;
  for (std::size_t end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
    lines.push_back(text.substr(at, end - at));
  if (at < text.size()) lines.push_back(text.substr(at));
  return lines;
}

// Whether the text is UTF-8 that holds more than ASCII.
bool is_utf8_beyond_ascii(const std::string& text) {
  bool beyond = false;
  for (std::size_t i = 0; i < text.size();) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    std::size_t length = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    beyond |= length > 1;
    i += length;
  }
  return beyond;
}

// One character of GBK text at `at`, shown with a name where it is invisible.
std::string character_at(const std::string& gbk, std::size_t at) {
  if (at >= gbk.size()) return "the end";
  unsigned char c = static_cast<unsigned char>(gbk[at]);
  if (c == '\n') return "a line end";
  if (c == '\r') return "a carriage return";
  if (c == ' ') return "a blank";
  if (c == '\t') return "a tab";
  std::size_t length = c >= 0x81 && at + 1 < gbk.size() ? 2 : 1;
  return "'" + shown(gbk.substr(at, length)) + "'";
}

// The start of the character that holds byte `at`.
std::size_t character_start(const std::string& gbk, std::size_t at) {
  std::size_t i = 0, start = 0;
  while (i <= at && i < gbk.size()) {
    start = i;
    i += static_cast<unsigned char>(gbk[i]) >= 0x81 ? 2 : 1;
  }
  return start;
}

// What differs first between two texts, in words, and where.
std::string first_difference(const std::string& expected, const std::string& actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at])
    ++at;
  if (at < expected.size() && at < actual.size()) at = character_start(expected, at);
  std::size_t line = 1 + std::count(expected.begin(), expected.begin() + at, '\n');
  std::string where = "line " + std::to_string(line) + ": ";
  if (at >= actual.size())
    return where + "the output stops where the exercise goes on with " + character_at(expected, at);
  if (at >= expected.size())
    return where + "the exercise stops here, the program goes on with " + character_at(actual, at);
  std::string want = character_at(expected, at), got = character_at(actual, at);
  // A full-width character of GBK (A3 A1 to A3 FE) stands for ASCII 21 to 7E.
  unsigned char e0 = static_cast<unsigned char>(expected[at]);
  if (e0 == 0xA3 && at + 1 < expected.size() &&
      static_cast<unsigned char>(expected[at + 1]) - 0x80 == static_cast<unsigned char>(actual[at]))
    return where + "a half-width " + got + " where the exercise has the full-width " + want;
  if (static_cast<unsigned char>(actual[at]) == 0xA3 && at + 1 < actual.size() &&
      static_cast<unsigned char>(actual[at + 1]) - 0x80 == e0)
    return where + "a full-width " + got + " where the exercise has the half-width " + want;
  if (expected[at] == '\n' && actual[at] == ' ') return where + "a blank at the end of the line";
  if (expected[at] == ' ' && actual[at] == '\n')
    return where + "a blank missing at the end of the line";
  if (expected[at] == '\n') return where + "a line end missing before " + got;
  if (actual[at] == '\n') return where + "an extra line end before " + want;
  return where + got + " where the exercise has " + want;
}

// The lines around the first difference, as a unified diff.
std::string hunk(const std::string& expected, const std::string& actual) {
  std::vector<std::string> want = lines_of(expected), got = lines_of(actual);
  std::size_t first = 0;
  while (first < want.size() && first < got.size() && want[first] == got[first])
    ++first;
  std::string text;
  for (std::size_t i = first >= 2 ? first - 2 : 0; i < first; ++i)
    text += "    " + want[i] + "\n";
  auto rest = [&](const std::vector<std::string>& lines, const char* sign) {
    std::size_t shown = 0;
    for (std::size_t i = first; i < lines.size() && shown < 4; ++i, ++shown)
      text += std::string("  ") + sign + " " + lines[i] + "\n";
    if (lines.size() > first + 4) text += std::string("  ") + sign + " ...\n";
  };
  rest(want, "-");
  rest(got, "+");
  return text;
}

std::string compare_text(const std::string& what, const std::string& expected,
                         const std::string& actual, std::string& reason) {
  if (expected == actual) return "";
  reason = what + ", " + first_difference(expected, actual);
  return "  " + what + " (- the exercise, + the program):\n" + hunk(expected, actual);
}

std::string text_of(const std::string& field) {
  return field.substr(0, field.find('\0'));
}

std::string float_text(float value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
  return text;
}

// A record file field by field: text up to its terminator, numbers bit for bit.
std::string compare_records(const FileImage& image, const std::string& actual,
                            std::string& reason) {
  const std::string name = shown(image.name);
  std::size_t size = 56 * image.record_list.size();
  if (actual.size() != size) {
    reason = name + " holds " + std::to_string(actual.size()) + " bytes, not " +
             std::to_string(size) + " (three records of 56 bytes)";
    return "  " + reason + "\n";
  }
  static const char* const kFields[] = {"score 1", "score 2", "score 3", "total"};
  for (std::size_t r = 0; r < image.record_list.size(); ++r) {
    const Record& want = image.record_list[r];
    const char* bytes = actual.data() + 56 * r;
    std::string where = name + ", record " + std::to_string(r + 1) + ", ";
    std::string num = text_of(std::string(bytes, 20)),
                person = text_of(std::string(bytes + 20, 20));
    if (num != want.num)
      reason = where + "number '" + shown(num) + "', expected '" + shown(want.num) + "'";
    else if (person != want.name)
      reason = where + "name '" + shown(person) + "', expected '" + shown(want.name) + "'";
    for (int f = 0; f < 4 && reason.empty(); ++f) {
      float got;
      std::memcpy(&got, bytes + 40 + 4 * f, 4);
      float wanted = f < 3 ? want.score[f] : want.total;
      if (std::memcmp(&got, &wanted, 4) != 0)
        reason = where + kFields[f] + " " + float_text(got) + ", expected " + float_text(wanted);
    }
    if (!reason.empty()) return "  " + reason + "\n";
  }
  return "";
}

std::string compare_file(const FileImage& image, const std::map<std::string, std::string>& files,
                         bool text_mode, std::string& reason) {
  auto found = files.find(image.name);
  if (found == files.end()) {
    reason = "left no file " + shown(image.name);
    return "  " + reason + "\n";
  }
  if (image.records) return compare_records(image, found->second, reason);
  if (!text_mode)
    return compare_text("file " + shown(image.name), image.text, found->second, reason);
  return compare_text("file " + shown(image.name), without_carriage_returns(image.text),
                      without_carriage_returns(found->second), reason);
}

std::string typed(const std::string& input) {
  std::string text;
  for (const std::string& line : lines_of(input))
    text += "    " + u8(u8"«") + line + u8(u8"»") + "\n";
  return text.empty() ? "    (nothing)\n" : text;
}

}  // namespace

std::string notation(const std::string& gbk) {
  std::string text;
  std::size_t line_start = 0;
  for (std::size_t i = 0; i <= gbk.size(); ++i) {
    if (i < gbk.size() && gbk[i] != '\n') continue;
    std::string line = gbk.substr(line_start, i - line_start);
    std::size_t kept = line.find_last_not_of(' ') + 1;  // npos + 1 is 0
    std::string shown_line = shown(line.substr(0, kept));
    for (std::size_t k = kept; k < line.size(); ++k)
      shown_line += u8(u8"␣");
    std::string out;
    for (char c : shown_line) {
      if (c == '\t')
        out += u8(u8"⇥");
      else if (c == '\r')
        out += u8(u8"␍");
      else
        out += c;
    }
    text += out;
    if (i < gbk.size())
      text += '\n';
    else if (!line.empty())
      text += u8(u8"∎");
    line_start = i + 1;
  }
  return text;
}

Verdict judge(const Dialogue& dialogue, Run run, bool text_mode) {
  Verdict verdict;
  if (!run.not_started.empty()) {
    verdict.reason = "could not be started: " + run.not_started;
    return verdict;
  }
  if (text_mode) run.out = without_carriage_returns(run.out);
  std::string expected = dialogue.output;
  if (dialogue.matrix) {
    std::optional<std::string> screen = expected_matrix_screen(run.out);
    if (!screen) {
      verdict.reason =
          "its first lines are no matrix of five rows of five numbers, each in four columns";
      verdict.report = "  the program showed:\n" + hunk("", run.out);
      return verdict;
    }
    expected = *screen;
  }
  std::string details;
  if (run.out != expected && is_utf8_beyond_ascii(run.out) && !is_utf8_beyond_ascii(expected)) {
    verdict.reason = "writes UTF-8 where the exercise writes GBK";
    try {
      run.out = to_gbk(run.out);
      if (run.out == expected) details = "  Apart from its encoding the screen is right.\n";
    } catch (...) {
    }
  }
  std::string screen_reason;
  details += compare_text("screen", expected, run.out, screen_reason);
  if (run.timed_out)
    verdict.reason = "hangs: still running at the time limit";
  else if (run.waited)
    verdict.reason = "waits for a key (or more input) after the dialogue's last answer";
  else if (!run.crash.empty())
    verdict.reason = "crashed: " + run.crash;
  else if (run.status != 0 && verdict.reason.empty())
    verdict.reason =
        "ended with status " + std::to_string(run.status) + "; the exercise ends with 0";
  if (verdict.reason.empty()) verdict.reason = screen_reason;
  for (const FileImage& image : dialogue.after) {
    std::string file_reason;
    details += compare_file(image, run.files, text_mode, file_reason);
    if (verdict.reason.empty()) verdict.reason = file_reason;
  }
  for (const FileImage& image : dialogue.before) {
    bool named_after =
        std::any_of(dialogue.after.begin(), dialogue.after.end(),
                    [&](const FileImage& later) { return later.name == image.name; });
    if (named_after) continue;
    FileImage same = image;
    if (image.records) same.text = record_bytes(image.record_list), same.records = false;
    std::string file_reason;
    std::string changed = compare_file(same, run.files, text_mode && !image.records, file_reason);
    if (!changed.empty()) {
      details += "  " + shown(image.name) + " must stay as it was:\n" + changed;
      if (verdict.reason.empty())
        verdict.reason = "changed " + shown(image.name) + ": " + file_reason;
    }
  }
  verdict.passed = verdict.reason.empty();
  if (!verdict.passed) verdict.report = "  typed:\n" + typed(dialogue.input) + details;
  return verdict;
}

}  // namespace check
