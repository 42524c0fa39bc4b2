#include <windows.h>

#include "platform/memory.h"

namespace platform {

// Large pages need a privilege a student's account does not have: the
// block is committed in ordinary pages.
void* allocate_block(std::size_t size) {
  return ::VirtualAlloc(nullptr, size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
}

}  // namespace platform
