// What each system's console (console_*.cpp) shares with the rest of
// platform/.
#pragma once

#include <string>

namespace platform {

// Shows everything printed so far, then waits for more input and appends
// it, as GBK bytes, to `buffer`. False once input has ended or cannot be
// read; what came before the end is appended all the same.
bool read_standard_input(std::string& buffer);

// The new-handler of every program: says that memory ran out and ends the
// program with status 0.
[[noreturn]] void end_for_lack_of_memory();

}  // namespace platform
