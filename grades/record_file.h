// Writing the raw record files stud_dat and stud_sort.
#pragma once

#include "grades/student.h"

namespace grades {

// Writes the three records, in the given order, as the whole new content of
// the file: an interrupted or failed write leaves the old file as it was.
// When the records could not be written, says so ("写不进！") and returns false.
bool write_records(const char* name, const student* const* order);

}  // namespace grades
