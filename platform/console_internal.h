// What each system's console (console_*.cpp) adds to the start that every
// program makes (console.cpp).
#pragma once

namespace platform {

// Converts what the console shows and types where the system needs it;
// standard output already has its buffer.
void start_system_console();

}  // namespace platform
