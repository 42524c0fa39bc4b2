// An independent account of where the rearrangement of 矩阵 puts each value:
// the four smallest (ties in row-major order) go to the corners in turn and
// the first largest above 0 to the centre; each placed value swaps with
// whatever stands in its destination at that moment.
#pragma once

#include <algorithm>
#include <array>
#include <ostream>
#include <utility>
#include <vector>

namespace arrays_testing {

struct Grid {
  int cells[5][5];
  bool operator==(const Grid&) const = default;
};

inline void PrintTo(const Grid& g, std::ostream* os) {
  for (const auto& row : g.cells) {
    *os << "\n";
    for (int v : row)
      *os << v << ' ';
  }
}

inline Grid rearranged(const Grid& g) {
  std::vector<int> order(25);  // cells by row-major index
  for (int i = 0; i < 25; ++i)
    order[i] = i;
  std::stable_sort(order.begin(), order.end(),
                   [&](int a, int b) { return g.cells[a / 5][a % 5] < g.cells[b / 5][b % 5]; });
  std::vector<int> chosen(order.begin(), order.begin() + 4);
  int largest = -1;
  for (int i = 0; i < 25; ++i) {
    int v = g.cells[i / 5][i % 5];
    if (v > 0 && (largest < 0 || v > g.cells[largest / 5][largest % 5])) largest = i;
  }
  chosen.push_back(largest);
  const int destination[5] = {0, 4, 20, 24, 12};

  // Follow each original cell's value by its index.
  std::array<int, 25> at;  // at[cell] = index of the original cell whose value is there
  for (int i = 0; i < 25; ++i)
    at[i] = i;
  for (int k = 0; k < 5; ++k) {
    if (chosen[k] < 0) continue;
    int from = static_cast<int>(std::find(at.begin(), at.end(), chosen[k]) - at.begin());
    std::swap(at[from], at[destination[k]]);
  }
  Grid out{};
  for (int i = 0; i < 25; ++i)
    out.cells[i / 5][i % 5] = g.cells[at[i] / 5][at[i] % 5];
  return out;
}

}  // namespace arrays_testing
