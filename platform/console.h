// The console as the programs see it: GBK text in, GBK text out.
//
// The programs print and read GBK bytes. When standard output is a terminal
// and the locale's character set is UTF-8, what they print is converted to
// UTF-8 on its way out; when standard input is such a terminal, what is typed
// is converted to GBK before the program reads it. Pipes, files, a GBK
// terminal and the C locale see the bytes as they stand. Conversion happens
// after formatting, so field widths still count GBK bytes.
#pragma once

namespace platform {

class Transcoder;

// Prepares standard input and output for a console program. Every program's
// main calls it first, before printing or reading anything.
void start_console();

// The converter of what is typed on standard input, or null when typed input
// is read as it stands; decided on the first call, after start_console. The
// stdin reader applies it.
Transcoder* typed_input_converter();

}  // namespace platform
