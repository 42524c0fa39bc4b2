#include "checker/matrix.h"

#include <cstdio>
#include <sstream>

#include "checker/dialogue.h"

namespace check {
namespace {

using Matrix = int[5][5];

// A row as "%-4.d" prints it: four columns a number, 0 as four blanks.
bool read_row(const std::string& line, int* row) {
  if (line.size() != 20) return false;
  for (int column = 0; column < 5; ++column) {
    std::string field = line.substr(4 * column, 4);
    std::size_t first = field.find_first_not_of(' ');
    if (first == std::string::npos) {
      row[column] = 0;
      continue;
    }
    if (first != 0) return false;
    std::size_t used = 0;
    try {
      row[column] = std::stoi(field, &used);
    } catch (...) {
      return false;
    }
    if (field.find_first_not_of(' ', used) != std::string::npos) return false;
  }
  return true;
}

std::string print(const Matrix& m) {
  std::string text;
  for (const auto& row : m) {
    for (int v : row) {
      char cell[16];
      std::snprintf(cell, sizeof cell, "%-4.d", v);
      text += cell;
    }
    text += '\n';
  }
  return text;
}

// The four smallest to the corners, the largest to the centre, each swapped
// with what stands there; a later source moved by a swap is followed.
void change(Matrix& m) {
  int small[4] = {1000, 1000, 1000, 1000};
  int* small_at[4] = {nullptr, nullptr, nullptr, nullptr};
  int large = 0;
  int* large_at = nullptr;
  for (auto& row : m) {
    for (int& cell : row) {
      if (cell > large) {
        large = cell;
        large_at = &cell;
      }
      for (int k = 0; k < 4; ++k) {
        if (cell < small[k]) {
          for (int j = 3; j > k; --j) {
            small[j] = small[j - 1];
            small_at[j] = small_at[j - 1];
          }
          small[k] = cell;
          small_at[k] = &cell;
          break;
        }
      }
    }
  }
  int* source[5] = {small_at[0], small_at[1], small_at[2], small_at[3], large_at};
  int* destination[5] = {&m[0][0], &m[0][4], &m[4][0], &m[4][4], &m[2][2]};
  for (int i = 0; i < 5; ++i) {
    if (source[i] == nullptr) continue;  // no cell above 0: nothing is the largest
    std::swap(*source[i], *destination[i]);
    for (int j = i + 1; j < 5; ++j) {
      if (source[j] == destination[i]) {
        source[j] = source[i];
        break;
      }
    }
  }
}

}  // namespace

std::optional<std::string> expected_matrix_screen(const std::string& screen) {
  Matrix m;
  std::istringstream lines(screen);
  std::string line;
  for (auto& row : m)
    if (!std::getline(lines, line) || !read_row(line, row)) return std::nullopt;
  std::string expected = print(m);
  change(m);
  return expected + to_gbk(reinterpret_cast<const char*>(u8"转换后的矩阵：")) + "\n" + print(m);
}

}  // namespace check
