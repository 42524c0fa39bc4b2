// Memory in large blocks straight from the system, for the many small
// records of a large contact book. A block of some megabytes is backed by
// huge pages where the system offers them, so that filling it takes a few
// page faults instead of thousands.
#pragma once

#include <cstddef>

namespace platform {

// A zero-filled block of `size` bytes, or null when there is no memory for
// it. Blocks are never given back: they last until the program ends.
void* allocate_block(std::size_t size);

}  // namespace platform
