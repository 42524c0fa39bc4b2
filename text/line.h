// One whole line of standard input, as the text programs read it: fgets
// into a buffer, read on while the line is longer than the buffer.
#pragma once

#include <cstdio>
#include <string>

// The next line, without its line break (nor a carriage return before it),
// NUL bytes included; a last line without a line break counts. False at the
// end of input with nothing read, or when the input could not be read.
bool get_line(std::FILE* in, std::string& line);
