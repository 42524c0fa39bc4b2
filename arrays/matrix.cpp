#include "matrix.h"

#include <cstdio>
#include <utility>

namespace {

constexpr int kSize = 5;
constexpr int kPicked = 4;  // how many smallest values go to the corners

// One value met during the scan and the cell that holds it; a null cell
// means no value has been taken yet.
struct Entry {
  int value;
  int* cell;
};

// Keeps `smallest` ascending; a value equal to one already kept ranks after it.
void keep_if_smaller(Entry (&smallest)[kPicked], int* cell) {
  for (int k = 0; k < kPicked; ++k) {
    if (*cell < smallest[k].value) {
      for (int i = kPicked - 1; i > k; --i)
        smallest[i] = smallest[i - 1];
      smallest[k] = {*cell, cell};
      return;
    }
  }
}

}  // namespace

void change(int (*m)[5]) {
  Entry smallest[kPicked] = {{1000, nullptr}, {1000, nullptr}, {1000, nullptr}, {1000, nullptr}};
  Entry largest = {0, nullptr};
  for (int r = 0; r < kSize; ++r) {
    for (int c = 0; c < kSize; ++c) {
      int* cell = &m[r][c];
      if (*cell > largest.value) largest = {*cell, cell};
      keep_if_smaller(smallest, cell);
    }
  }

  int* source[kPicked + 1] = {smallest[0].cell, smallest[1].cell, smallest[2].cell,
                              smallest[3].cell, largest.cell};
  int* const destination[kPicked + 1] = {&m[0][0], &m[0][kSize - 1], &m[kSize - 1][0],
                                         &m[kSize - 1][kSize - 1], &m[kSize / 2][kSize / 2]};
  for (int i = 0; i <= kPicked; ++i) {
    if (source[i] == nullptr) continue;  // no cell qualified: leave the destination alone
    std::swap(*source[i], *destination[i]);
    // A later source that stood in the destination follows its value to the
    // cell it was swapped into. The largest can also be one of the smallest
    // (when nearly every cell holds the largest value), so more than one
    // later source may stand there.
    for (int j = i + 1; j <= kPicked; ++j) {
      if (source[j] == destination[i]) source[j] = source[i];
    }
  }
}

void print(int (*m)[5]) {
  for (int r = 0; r < kSize; ++r) {
    for (int c = 0; c < kSize; ++c)
      std::printf("%-4.d", m[r][c]);
    std::printf("\n");
  }
}
