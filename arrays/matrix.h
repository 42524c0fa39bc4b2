// The 5x5 matrix of 矩阵: its rearrangement and its printout.
#pragma once

// Moves the four smallest values to the corners (top-left, top-right,
// bottom-left, bottom-right, smallest first) and the largest to the centre.
void change(int (*m)[5]);

// Writes the five rows to standard output, each cell left-justified in four
// columns; a 0 is written as four blanks.
void print(int (*m)[5]);
