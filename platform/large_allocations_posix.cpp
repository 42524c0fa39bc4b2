// The programs' own operator new: the C library's malloc, and for a block of
// a huge page or more one aligned to huge pages, with a hint that the system
// may back it with them: the buffer of a long line, a large contact book's
// record blocks. Joining two lines of 50 MiB then takes some 2,000 page
// faults instead of some 80,000, which on a virtual machine cost more than
// the copying itself.
//
// Linked into every program (not into the sanitizer build, whose runtime
// keeps its own operator new to check every allocation).
#include <sys/mman.h>

#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugePage = 2 << 20;

// A block aligned to a huge page and a whole number of them long: every
// page of it can be a huge one. Without huge pages it serves all the same.
void* huge_page_block(std::size_t size) {
  std::size_t whole = (size + kHugePage - 1) / kHugePage * kHugePage;
  if (whole < size) return nullptr;  // beyond the address space
  void* block = std::aligned_alloc(kHugePage, whole);
#ifdef MADV_HUGEPAGE
  if (block != nullptr) ::madvise(block, whole, MADV_HUGEPAGE);
#endif
  return block;
}

}  // namespace

void* operator new(std::size_t size) {
  for (;;) {
    void* block = size >= kHugePage ? huge_page_block(size) : std::malloc(size == 0 ? 1 : size);
    if (block != nullptr) return block;
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
