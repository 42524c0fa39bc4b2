#include <sys/mman.h>

#include <cstdint>

#include "platform/memory.h"

namespace platform {
namespace {

constexpr std::size_t kHugePage = 2 << 20;

void* map(std::size_t size) {
  void* block = ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  return block == MAP_FAILED ? nullptr : block;
}

}  // namespace

void* allocate_block(std::size_t size) {
  if (size < kHugePage) return map(size);
  // Huge pages need an aligned block: map more, then give back the ends.
  auto* mapped = static_cast<char*>(map(size + kHugePage));
  if (mapped == nullptr) return nullptr;
  auto address = reinterpret_cast<std::uintptr_t>(mapped);
  char* block = mapped + (kHugePage - address % kHugePage) % kHugePage;
  if (block > mapped) ::munmap(mapped, static_cast<std::size_t>(block - mapped));
  std::size_t tail = static_cast<std::size_t>(mapped + size + kHugePage - (block + size));
  if (tail > 0) ::munmap(block + size, tail);
#ifdef MADV_HUGEPAGE
  ::madvise(block, size, MADV_HUGEPAGE);  // a hint: without huge pages the block works all the same
#endif
  return block;
}

}  // namespace platform
