// The programs' own operator new: the C library's malloc, and for a block of
// a huge page or more a hint that the system may back it with huge pages,
// as the contact book's record blocks are. Filling the buffer of a 100 MiB
// line then takes some hundred page faults instead of some fifty thousand,
// which on a virtual machine cost more than the copying itself.
//
// Linked into every program (not into the sanitizer build, whose runtime
// keeps its own operator new to check every allocation).
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kHugePage = 2 << 20;

// Only whole pages inside the block are hinted: memory beyond it may belong
// to other blocks of the C library.
void hint_huge_pages(void* block, std::size_t size) {
#ifdef MADV_HUGEPAGE
  static const auto page = static_cast<std::uintptr_t>(::sysconf(_SC_PAGESIZE));
  auto start = (reinterpret_cast<std::uintptr_t>(block) + page - 1) / page * page;
  auto end = (reinterpret_cast<std::uintptr_t>(block) + size) / page * page;
  if (end > start) ::madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE);
#endif
}

}  // namespace

void* operator new(std::size_t size) {
  for (;;) {
    if (size >= kHugePage) {
      // Aligned and rounded up to whole huge pages, so that every page of it can be one.
      std::size_t whole = (size + kHugePage - 1) / kHugePage * kHugePage;
      if (whole >= size) {
        if (void* block = std::aligned_alloc(kHugePage, whole)) {
          hint_huge_pages(block, whole);
          return block;
        }
      }
    } else if (void* block = std::malloc(size == 0 ? 1 : size)) {
      return block;
    }
    std::new_handler handler = std::get_new_handler();
    if (handler == nullptr) throw std::bad_alloc();
    handler();
  }
}
