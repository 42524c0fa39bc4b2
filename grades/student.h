// The student record of the grade pipeline: 录入 writes three of them to
// stud_dat, 排序 copies them in ranking order to stud_sort, 打开 prints them.
// A record file is nothing but three of these 56-byte images back to back.
#pragma once

#include <bit>
#include <cstddef>
#include <limits>

struct student {
  char num[20];    // student number, text ending in a zero byte
  char name[20];   // name, GBK text ending in a zero byte
  float score[3];  // courses 1 to 3
  float total;     // (score 1 + score 2) + score 3, in single precision
};

// The record is the file image itself: no padding, little-endian IEEE floats.
static_assert(sizeof(student) == 56);
static_assert(offsetof(student, num) == 0);
static_assert(offsetof(student, name) == 20);
static_assert(offsetof(student, score) == 40);
static_assert(offsetof(student, total) == 52);
static_assert(std::endian::native == std::endian::little);
static_assert(std::numeric_limits<float>::is_iec559 && sizeof(float) == 4);

// Every record file holds exactly this many records.
constexpr int kStudents = 3;
