// change and print of 矩阵, driven with chosen matrices.
#include <algorithm>
#include <array>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "arrays/matrix.h"
#include "matrix_model.h"
#include "tests/support/program_runner.h"

namespace {

using arrays_testing::Grid;
using arrays_testing::rearranged;

Grid changed(Grid g) {
  change(g.cells);
  return g;
}

struct Case {
  const char* what;
  Grid before;
  Grid after;
};

const Case kCases[] = {
    {"values in destination cells are redirected when swaps chain",
     {{{5, 90, 30, 40, 99},
       {50, 1, 60, 70, 80},
       {11, 12, 13, 14, 15},
       {16, 17, 18, 19, 20},
       {21, 22, 23, 24, 25}}},
     {{{1, 90, 30, 40, 5},
       {50, 13, 60, 70, 80},
       {21, 25, 99, 14, 15},
       {16, 17, 18, 19, 20},
       {11, 22, 23, 24, 12}}}},
    {"equal minima go top-left then top-right, the first maximum to the centre",
     {{{50, 51, 52, 53, 54},
       {55, 1, 56, 57, 99},
       {58, 59, 60, 61, 62},
       {63, 1, 64, 99, 65},
       {66, 67, 68, 69, 2}}},
     {{{1, 51, 52, 53, 1},
       {55, 66, 56, 57, 60},
       {58, 59, 99, 61, 62},
       {63, 54, 64, 99, 65},
       {2, 67, 68, 69, 50}}}},
    {"a largest value in a corner gives way to the smallest and ends in the centre",
     {{{99, 10, 11, 12, 13},
       {14, 15, 16, 17, 18},
       {19, 20, 21, 22, 23},
       {24, 25, 26, 27, 28},
       {29, 30, 31, 32, 33}}},
     {{{10, 21, 33, 29, 11},
       {14, 15, 16, 17, 18},
       {19, 20, 99, 22, 23},
       {24, 25, 26, 27, 28},
       {12, 30, 31, 32, 13}}}},
    {"values already in place stay",
     {{{0, 50, 50, 50, 1},
       {50, 50, 50, 50, 50},
       {50, 50, 98, 50, 50},
       {50, 50, 50, 50, 50},
       {2, 50, 50, 50, 3}}},
     {{{0, 50, 50, 50, 1},
       {50, 50, 50, 50, 50},
       {50, 50, 98, 50, 50},
       {50, 50, 50, 50, 50},
       {2, 50, 50, 50, 3}}}},
    // Nearly every cell holds the largest value, so the largest is also one
    // of the four smallest and two references stand on the same cell.
    {"a lone small value in the centre still goes to the top-left corner",
     {{{99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 5, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99}}},
     {{{5, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99}}}},
    {"three small values among maxima still fill the first three corners",
     {{{99, 99, 99, 99, 99},
       {99, 3, 2, 1, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99}}},
     {{{1, 99, 99, 99, 2},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {99, 99, 99, 99, 99},
       {3, 99, 99, 99, 99}}}},
    {"all values equal leave the matrix unchanged",
     {{{7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}}},
     {{{7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}, {7, 7, 7, 7, 7}}}},
    {"an all-zero matrix has no largest and stays unchanged", {}, {}},
};

TEST(Change, PlacesTheFourSmallestInTheCornersAndTheLargestInTheCentre) {
  for (const Case& c : kCases) {
    EXPECT_EQ(changed(c.before), c.after) << c.what;
    EXPECT_EQ(rearranged(c.before), c.after) << c.what << " (model)";
  }
}

// Matrices with many repeated values, where ties and chained swaps abound;
// the last kind is nearly all one largest value.
TEST(Change, AgreesWithTheModelOnMatricesFullOfTies) {
  std::mt19937 random(20240611);
  for (int kind = 0; kind < 4; ++kind) {
    std::uniform_int_distribution<int> value(0, kind == 0 ? 1 : kind == 1 ? 3 : 99);
    std::bernoulli_distribution mostly_largest(kind == 3 ? 0.9 : 0.0);
    for (int round = 0; round < 2000; ++round) {
      Grid g{};
      for (auto& row : g.cells) {
        for (int& cell : row)
          cell = mostly_largest(random) ? 99 : value(random);
      }
      Grid result = changed(g);
      ASSERT_EQ(result, rearranged(g)) << "kind " << kind << ", round " << round;
      std::vector<int> all(&g.cells[0][0], &g.cells[0][0] + 25);
      std::vector<int> kept(&result.cells[0][0], &result.cells[0][0] + 25);
      std::sort(all.begin(), all.end());
      std::sort(kept.begin(), kept.end());
      ASSERT_EQ(all, kept) << "values lost or duplicated";
      const auto& r = result.cells;
      const std::array<int, 4> corners = {r[0][0], r[0][4], r[4][0], r[4][4]};
      ASSERT_TRUE(std::equal(corners.begin(), corners.end(), all.begin()));
      if (all.back() > 0) {
        ASSERT_EQ(r[2][2], all.back());
      }
    }
  }
}

TEST(Print, WritesFourColumnsPerCellAndZeroAsBlanks) {
  Grid g = {{{0, 5, 42, 99, 0},
             {1, 2, 3, 4, 5},
             {10, 20, 30, 40, 50},
             {0, 0, 0, 0, 0},
             {7, 0, 77, 0, 7}}};
  testing::internal::CaptureStdout();
  print(g.cells);
  std::string out = testing::internal::GetCapturedStdout();
  EXPECT_TRUE(testing_support::same_bytes(out,
                                          "    5   42  99      \n"
                                          "1   2   3   4   5   \n"
                                          "10  20  30  40  50  \n"
                                          "                    \n"
                                          "7       77      7   \n"));
}

}  // namespace
