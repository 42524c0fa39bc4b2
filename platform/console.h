// The console as the programs see it: GBK text in, GBK text out.
//
// The programs print and read GBK bytes. Where standard output is a terminal
// or console that shows another encoding, what they print is converted on
// its way out; where standard input is one, what is typed is converted to GBK
// before the program reads it. Pipes, files and a terminal whose locale
// names a GBK character set see the bytes as they stand. Conversion happens
// after formatting, so field widths still count GBK bytes.
#pragma once

namespace platform {

// Prepares the console for a program; every main calls it first. From then
// on a program that runs out of memory says "内存不足！" and ends with
// status 0, its files as they were.
void start_console();

// What each system's console (console_*.cpp) adds to that start: converting
// what the console shows and types where it must.
void start_system_console();

}  // namespace platform
