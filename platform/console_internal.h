// What each system's console (console_*.cpp) shares.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <new>

namespace platform {

// The new-handler of every program: says that memory ran out and ends the
// program with status 0.
[[noreturn]] inline void end_for_lack_of_memory() {
  std::set_new_handler(nullptr);  // a second failure while saying so is not retried
  std::puts("内存不足！");
  std::exit(0);
}

}  // namespace platform
