// What each system's console (console_*.cpp) shares with the rest of
// platform/.
#pragma once

#include <cstddef>

namespace platform {

// Shows everything printed so far, then waits for more input and puts up to
// `size` bytes of it, as GBK, at `into`: how many, 0 once input has ended
// (or cannot be read).
long read_standard_input(char* into, std::size_t size);

// The new-handler of every program: says that memory ran out and ends the
// program with status 0.
[[noreturn]] void end_for_lack_of_memory();

}  // namespace platform
