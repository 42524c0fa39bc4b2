// The console as the programs see it: GBK text in, GBK text out.
#pragma once

namespace platform {

// Prepares standard input and output for a console program. Every program's
// main calls it first, before printing or reading anything.
void start_console();

}  // namespace platform
