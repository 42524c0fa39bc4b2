// One whole typed line, however long.
#pragma once

#include <string>

namespace text {

// Reads the next line of standard input into `line` without its line break
// ("\n", or "\r\n" as a line typed on another system ends). A last line that
// ends without a line break still counts. False when input has ended and no
// line is left.
bool read_typed_line(std::string& line);

}  // namespace text
