// Reading and writing the raw record files stud_dat and stud_sort.
#pragma once

#include <cstdio>

#include "grades/student.h"

namespace grades {

// Opens a record file for reading; nullptr when it cannot be opened or is a folder.
std::FILE* open_for_reading(const char* path);

// Fills the three records from the file. Bytes a short file does not supply
// are zero, so a missing record reads as an empty one.
void read_records(std::FILE* file, student* records);

// Flushes and closes a file being written; when its content may not have
// reached the file whole, says so ("写不进！") and returns false.
bool finish_writing(std::FILE* file, bool written_so_far);

}  // namespace grades
