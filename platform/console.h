// The console as the programs see it: GBK text in, GBK text out.
//
// The programs print and read GBK bytes. Where standard output is a terminal
// or console that shows another encoding, what they print is converted on
// its way out; where standard input is one, what is typed is converted to GBK
// before the program reads it. Pipes, files and a terminal whose locale
// names a GBK character set see the bytes as they stand.
// Conversion happens after formatting, so field widths still count GBK bytes.
#pragma once

#include <string>

namespace platform {

// Prepares standard input and output for a console program. Every program's
// main calls it first, before printing or reading anything.
void start_console();

// Puts everything printed so far on the screen, before the program waits
// for the user.
void flush_output();

// Whether what is typed on standard input is converted before the program
// reads it; read_typed_input then takes the place of reading the bytes.
bool typed_input_converted();

// Waits for more typed input and appends it, converted to GBK, to `buffer`.
// False once input has ended; what was typed before the end is appended
// all the same.
bool read_typed_input(std::string& buffer);

}  // namespace platform
