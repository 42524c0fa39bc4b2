// Reading and writing the raw record files stud_dat and stud_sort.
#pragma once

#include "grades/student.h"

namespace grades {

// Fills the three records from a file opened for reading. Bytes a short file
// does not supply are zero, so a missing record reads as an empty one.
// False when the file could not be read.
bool read_records(int descriptor, student* records);

// Writes the three records, in the given order, as the whole new content of
// the file: an interrupted or failed write leaves the old file as it was.
// When the records could not be written, says so ("写不进！") and returns false.
bool write_records(const char* name, const student* const* order);

}  // namespace grades
