#include "tests/support/screen.h"

#include <cstdlib>
#include <vector>

namespace testing_support {
namespace {

constexpr char kEscape = 0x1B;
constexpr char kBell = 0x07;

// The screen: lines of cells, one character each, and the cursor.
class Screen {
 public:
  void put(std::string_view character) {
    std::vector<std::string>& line = lines_[row_];
    if (line.size() < column_ + 1) line.resize(column_ + 1, " ");
    line[column_++] = character;
  }
  void carriage_return() { column_ = 0; }
  void line_feed() {
    if (++row_ == lines_.size()) lines_.emplace_back();
  }
  void erase_to_end_of_line() {
    if (lines_[row_].size() > column_) lines_[row_].resize(column_);
  }
  void forward(std::size_t cells) { column_ += cells; }

  std::string text() const {
    std::string all;
    for (std::size_t row = 0; row < lines_.size(); ++row) {
      if (row > 0) all += '\n';
      for (const auto& cell : lines_[row])
        all += cell;
    }
    return all;
  }

 private:
  std::vector<std::vector<std::string>> lines_{1};
  std::size_t row_ = 0, column_ = 0;
};

// Carries out the control sequence after an escape at `at`; gives back
// where the text goes on.
std::size_t control_sequence(std::string_view bytes, std::size_t at, Screen& screen) {
  if (at + 1 >= bytes.size()) return bytes.size();
  if (bytes[at + 1] == ']') {  // an operating system command, up to a bell or escape-backslash
    std::size_t end = bytes.find_first_of(std::string{kBell, kEscape}, at + 2);
    if (end == std::string_view::npos) return bytes.size();
    return bytes[end] == kBell ? end + 1 : end + 2;
  }
  if (bytes[at + 1] != '[') return at + 2;
  std::size_t end = at + 2;
  while (end < bytes.size() && (bytes[end] < 0x40 || bytes[end] > 0x7E))
    ++end;
  if (end == bytes.size()) return end;
  std::string parameters(bytes.substr(at + 2, end - at - 2));
  if (bytes[end] == 'K' && (parameters.empty() || parameters == "0")) {
    screen.erase_to_end_of_line();
  } else if (bytes[end] == 'C') {
    long cells = parameters.empty() ? 1 : std::strtol(parameters.c_str(), nullptr, 10);
    screen.forward(cells > 0 ? static_cast<std::size_t>(cells) : 1);
  }
  return end + 1;
}

std::size_t character_length(unsigned char lead) {
  return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

}  // namespace

std::string shown_text(std::string_view bytes) {
  Screen screen;
  for (std::size_t at = 0; at < bytes.size();) {
    const char c = bytes[at];
    if (c == kEscape) {
      at = control_sequence(bytes, at, screen);
      continue;
    }
    if (c == '\r') {
      screen.carriage_return();
    } else if (c == '\n') {
      screen.line_feed();
    } else if (static_cast<unsigned char>(c) >= 0x20) {
      std::size_t length = character_length(static_cast<unsigned char>(c));
      screen.put(bytes.substr(at, length));
      at += length;
      continue;
    }
    ++at;  // other control characters show nothing
  }
  return screen.text();
}

}  // namespace testing_support
